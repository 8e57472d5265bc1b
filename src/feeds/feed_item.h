#pragma once
// One item as a feed reader found it: plain text fields in code page 932 and the item's own
// date. The site model turns these records into its items.
#include <string>

#include "feeds/w3c_date.h"

namespace tw {

struct CFeedItem {
  std::string title;
  std::string link;
  std::string description;
  std::string encoded;  // rich content (HTML), such as RSS 1.0 content:encoded
  std::string source;
  CW3CDate date;  // none when the feed gave no usable date
};

}  // namespace tw
