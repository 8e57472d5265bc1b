#include "retrieval/feed_result.h"

#include <set>

#include "framework/text.h"

namespace tw {

void ReadFeedResult(CFeedReader& reader, CSourceResult& result) {
  result.title = reader.ChannelTitle();
  while (auto record = reader.NextItem()) {
    auto item = std::make_shared<CItem>();
    item->title = std::move(record->title);
    item->link = std::move(record->link);
    item->source = std::move(record->source);
    item->description = std::move(record->description);
    item->encodedDescription = std::move(record->encoded);
    item->date = record->date;
    result.items.push_back(std::move(item));
  }
}

std::string ReadFeedList(const CXmlDocument& doc, std::vector<CFeedListEntry>& entries) {
  entries.clear();
  // By local name: OPML has no namespace, but a document may put it in one.
  std::string title = ToCp932(
      doc.SelectSingle(L"/*[local-name()='opml']/*[local-name()='head']/*[local-name()='title']")
          .Text());
  std::set<std::string> seen;
  for (const CXmlNode& outline : doc.SelectNodes(L"//*[local-name()='outline'][@xmlUrl]")) {
    std::wstring uri = outline.Attribute(L"xmlUrl");
    size_t first = uri.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) continue;
    uri = uri.substr(first, uri.find_last_not_of(L" \t\r\n") - first + 1);
    CFeedListEntry entry{ToCp932(outline.Attribute(L"title")), ToCp932(uri)};
    if (entry.title.empty()) entry.title = ToCp932(outline.Attribute(L"text"));
    if (seen.insert(entry.uri).second) entries.push_back(std::move(entry));
  }
  return title;
}

}  // namespace tw
