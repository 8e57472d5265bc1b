#pragma once
// Converters of the two older forms of the preferences file, used by the data-file
// conversion loop: the oldest form (old data/1) becomes data/2, data/2 becomes data/3.
#include "framework/xml.h"

namespace tw {

class CPreferenceTranslator1 {
 public:
  // Views take their name and sites from Base, their window order from WindowOrder (or
  // ZOrder and ViewTaskbar), and get the simple skin with the old placement, fonts and the
  // colours of ViewItem.
  static void Convert(CXmlDocument& from, CXmlDocument& to);
};

class CPreferenceTranslator2 {
 public:
  // Every element moves into the data/3 namespace; views of that age keep overlapping
  // descriptions (EnableOverlap 1).
  static void Convert(CXmlDocument& from, CXmlDocument& to);
};

}  // namespace tw
