#include "feed_generator.h"

#include <string>

#include "framework/text.h"

namespace tw::bench {
namespace {

std::wstring Number(int i) { return std::to_wstring(i); }

std::wstring Title(int i) {
  // Every tenth title carries U+301C, which code page 932 lacks: the repaired conversion.
  return L"第" + Number(i) +
         (i % 10 == 0 ? L"回 新製品〜発表" : L"回 新製品「タイドウォッチ」発表") +
         L" 東京・大阪で展示会";
}

std::wstring Link(int i) { return L"http://news.example.jp/2004/07/" + Number(i) + L".html"; }

std::wstring Html(int i, int repeat) {
  std::wstring html;
  for (int r = 0; r < repeat; ++r) {
    html += L"<p>本日、株式会社サンプル（東京都千代田区）は、卓上型ニュースリーダーの新版 " +
            Number(i) +
            L" を発表した。新版ではフィードの読み込みが速くなり、"
            L"<b>Atom 1.0</b> にも対応した &amp; 日本語の表示も改善された。</p>"
            L"<p>詳細は<a href=\"" +
            Link(i) + L"\">こちら</a>をご覧ください。</p>";
  }
  return html;
}

// Text with the five XML-special characters escaped, as a feed writer puts HTML into an
// element without CDATA.
std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 4);
  for (wchar_t c : text) {
    switch (c) {
      case L'<':
        out += L"&lt;";
        break;
      case L'>':
        out += L"&gt;";
        break;
      case L'&':
        out += L"&amp;";
        break;
      case L'"':
        out += L"&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::wstring Day(int i) { return Number(10 + i % 18); }

std::wstring RssItem(int i, int repeat, bool withDate) {
  std::wstring item = L"<item>\n<title>" + Title(i) + L"</title>\n<link>" + Link(i) +
                      L"</link>\n<description>" + Escaped(Html(i, repeat)) + L"</description>\n";
  if (withDate) {
    item += L"<pubDate>Mon, " + Day(i) + L" Jul 2004 21:30:15 +0900</pubDate>\n<guid>" + Link(i) +
            L"</guid>\n<category>技術</category>\n";
  }
  return item + L"</item>\n";
}

std::wstring Rss(const wchar_t* version, int items, int repeat) {
  bool rss20 = std::wstring(version) == L"2.0";
  std::wstring doc =
      std::wstring(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") +
      (std::wstring(version) == L"0.91"
           ? L"<!DOCTYPE rss PUBLIC \"-//Netscape Communications//DTD RSS 0.91//EN\" "
             L"\"http://my.netscape.com/publish/formats/rss-0.91.dtd\">\n"
           : L"") +
      L"<rss version=\"" + version +
      L"\">\n<channel>\n<title>技術ニュース</title>\n"
      L"<link>http://news.example.jp/</link>\n<description>毎日の技術ニュース</description>\n";
  for (int i = 0; i < items; ++i) doc += RssItem(i, repeat, rss20);
  return doc + L"</channel>\n</rss>\n";
}

std::wstring Rss10(int items, int repeat) {
  std::wstring doc =
      L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      L"<rdf:RDF xmlns=\"http://purl.org/rss/1.0/\" "
      L"xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
      L"xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
      L"xmlns:content=\"http://purl.org/rss/1.0/modules/content/\" xml:lang=\"ja\">\n"
      L"<channel rdf:about=\"http://news.example.jp/\">\n<title>技術ニュース</title>\n"
      L"<link>http://news.example.jp/</link>\n<description>毎日の技術ニュース</description>\n"
      L"<items>\n<rdf:Seq>\n";
  for (int i = 0; i < items; ++i) doc += L"<rdf:li rdf:resource=\"" + Link(i) + L"\"/>\n";
  doc += L"</rdf:Seq>\n</items>\n</channel>\n";
  for (int i = 0; i < items; ++i) {
    doc += L"<item rdf:about=\"" + Link(i) + L"\">\n<title>" + Title(i) + L"</title>\n<link>" +
           Link(i) + L"</link>\n<description>新製品の発表について " + Number(i) +
           L"</description>\n<content:encoded><![CDATA[" + Html(i, repeat) +
           L"]]></content:encoded>\n<dc:subject>技術</dc:subject>\n<dc:date>2004-07-" + Day(i) +
           L"T21:30:15+09:00</dc:date>\n</item>\n";
  }
  return doc + L"</rdf:RDF>\n";
}

std::wstring Atom03(int items, int repeat) {
  std::wstring doc =
      L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      L"<feed version=\"0.3\" xmlns=\"http://purl.org/atom/ns#\" xml:lang=\"ja\">\n"
      L"<title>技術ニュース</title>\n"
      L"<link rel=\"alternate\" type=\"text/html\" href=\"http://news.example.jp/\"/>\n"
      L"<modified>2004-07-27T00:00:00Z</modified>\n";
  for (int i = 0; i < items; ++i) {
    doc += L"<entry>\n<title>" + Title(i) +
           L"</title>\n<link rel=\"service.edit\" type=\"application/x.atom+xml\" "
           L"href=\"http://news.example.jp/edit/" +
           Number(i) + L"\"/>\n<link rel=\"alternate\" type=\"text/html\" href=\"" + Link(i) +
           L"\"/>\n<id>tag:news.example.jp,2004:" + Number(i) + L"</id>\n<issued>2004-07-" +
           Day(i) + L"T21:30:15+09:00</issued>\n<modified>2004-07-" + Day(i) +
           L"T12:30:15Z</modified>\n<summary>新製品の発表について " + Number(i) +
           L"</summary>\n<content type=\"text/html\" mode=\"escaped\">" + Escaped(Html(i, repeat)) +
           L"</content>\n</entry>\n";
  }
  return doc + L"</feed>\n";
}

std::wstring Atom10(int items, int repeat) {
  std::wstring doc =
      L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      L"<feed xmlns=\"http://www.w3.org/2005/Atom\" xml:lang=\"ja\">\n"
      L"<title>技術ニュース</title>\n<link href=\"http://news.example.jp/\"/>\n"
      L"<updated>2004-07-27T00:00:00Z</updated>\n<id>tag:news.example.jp,2004:feed</id>\n";
  for (int i = 0; i < items; ++i) {
    doc += L"<entry>\n<title>" + Title(i) + L"</title>\n<link rel=\"alternate\" href=\"" + Link(i) +
           L"\"/>\n<id>tag:news.example.jp,2004:" + Number(i) + L"</id>\n<published>2004-07-" +
           Day(i) +
           L"T21:30:15+09:00</published>\n"
           L"<updated>2004-07-" +
           Day(i) +
           L"T12:30:15Z</updated>\n"
           L"<author><name>編集部</name></author>\n<summary>新製品の発表について " +
           Number(i) + L"</summary>\n<content type=\"html\">" + Escaped(Html(i, repeat)) +
           L"</content>\n</entry>\n";
  }
  return doc + L"</feed>\n";
}

}  // namespace

std::string GenerateFeed(FeedFormat format, int items, int descriptionRepeat) {
  switch (format) {
    case FeedFormat::kRss091:
      return ToUtf8(Rss(L"0.91", items, descriptionRepeat));
    case FeedFormat::kRss092:
      return ToUtf8(Rss(L"0.92", items, descriptionRepeat));
    case FeedFormat::kRss20:
      return ToUtf8(Rss(L"2.0", items, descriptionRepeat));
    case FeedFormat::kRss10:
      return ToUtf8(Rss10(items, descriptionRepeat));
    case FeedFormat::kAtom03:
      return ToUtf8(Atom03(items, descriptionRepeat));
    case FeedFormat::kAtom10:
      return ToUtf8(Atom10(items, descriptionRepeat));
    default:
      return {};
  }
}

}  // namespace tw::bench
