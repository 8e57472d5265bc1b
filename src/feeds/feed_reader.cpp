#include "feeds/feed_reader.h"

#include "feeds/feed_text.h"

namespace tw {

void CFeedReader::Select() {
  if (selected_) return;
  selected_ = true;
  std::wstring namespaces = Namespaces();
  if (!namespaces.empty()) doc_.SetSelectionNamespaces(namespaces);
  items_ = doc_.SelectNodes(ItemListPath());
  OnSelected();
}

std::string CFeedReader::ChannelTitle() {
  Select();
  return RepairedText(SelectedText(doc_.AsNode(), ChannelTitlePath()));
}

std::optional<CFeedItem> CFeedReader::NextItem() {
  Select();
  CXmlNode node = NextItemNode();
  if (!node) return std::nullopt;
  CFeedItem item;
  ReadItem(node, item);
  return item;
}

CXmlNode CFeedReader::NextItemNode() { return items_.Next(); }

std::string CFeedReader::ItemTitle(const std::wstring& text) {
  return TrimCp932(RepairedText(text));
}

}  // namespace tw
