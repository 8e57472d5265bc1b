#pragma once
// Namespace URIs of the feed formats and their modules.

namespace tw {

inline constexpr wchar_t kNsRss10[] = L"http://purl.org/rss/1.0/";
inline constexpr wchar_t kNsRdf[] = L"http://www.w3.org/1999/02/22-rdf-syntax-ns#";
inline constexpr wchar_t kNsDublinCore[] = L"http://purl.org/dc/elements/1.1/";
inline constexpr wchar_t kNsContent[] = L"http://purl.org/rss/1.0/modules/content/";
inline constexpr wchar_t kNsAggregation[] = L"http://purl.org/rss/modules/aggregation/";
inline constexpr wchar_t kNsAggregation10[] = L"http://purl.org/rss/1.0/modules/aggregation/";
inline constexpr wchar_t kNsAtom03[] = L"http://purl.org/atom/ns#";
inline constexpr wchar_t kNsAtom10[] = L"http://www.w3.org/2005/Atom";

}  // namespace tw
