#pragma once
// Converter of the oldest site file form (old data/1 "Sites") into data/2, used by the
// data-file conversion loop.
#include "framework/xml.h"

namespace tw {

class CSiteTranslator1 {
 public:
  // Each old site becomes a feed site: ID → Id, the URI from About (else Link/Uri), the
  // names, the sub-list links as sub sites and every item below the site as its items.
  static void Convert(CXmlDocument& from, CXmlDocument& to);
};

}  // namespace tw
