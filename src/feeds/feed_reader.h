#pragma once
// The feed readers: forward iterators over a loaded feed document that give the channel
// title and then one item record per call. A reader never fails on a missing element (the
// field stays empty); MSXML failures outside a field's text surface as CComException.
#include <memory>
#include <optional>
#include <string>

#include "feeds/feed_item.h"
#include "framework/xml.h"

namespace tw {

class CFeedReader {
 public:
  virtual ~CFeedReader() = default;
  CFeedReader(const CFeedReader&) = delete;
  CFeedReader& operator=(const CFeedReader&) = delete;

  // The channel title, repaired, not trimmed.
  std::string ChannelTitle();
  // The next item in document order, or nothing when the items are exhausted.
  std::optional<CFeedItem> NextItem();

 protected:
  // The reader shares doc's DOM (a CXmlDocument copy is another handle to the same DOM).
  explicit CFeedReader(const CXmlDocument& doc) : doc_(doc) {}

  // Prefixes bound before the first selection; empty to keep the detector's.
  virtual std::wstring Namespaces() const { return {}; }
  virtual std::wstring ChannelTitlePath() const = 0;
  virtual std::wstring ItemListPath() const = 0;
  // Called once, right after the item list was selected.
  virtual void OnSelected() {}
  // The node of the next item, or an empty node when there is none; the default walks the
  // item list.
  virtual CXmlNode NextItemNode();
  virtual void ReadItem(const CXmlNode& node, CFeedItem& item) const = 0;

  // A title as every reader gives it: repaired and trimmed.
  static std::string ItemTitle(const std::wstring& text);

  const CXmlDocument& Document() const { return doc_; }
  const CXmlNodeList& ItemList() const { return items_; }

 private:
  // Selects the item list on the first call of either public operation.
  void Select();

  CXmlDocument doc_;
  CXmlNodeList items_;
  bool selected_ = false;
};

}  // namespace tw
