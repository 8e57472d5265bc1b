#pragma once
// The preferences file: the system settings with their defaults and limits, the gesture
// settings and the list of views.
#include <memory>
#include <string>
#include <vector>

#include "interaction/gesture_setting.h"
#include "model/data_file.h"
#include "model/view_preference.h"
#include "skins/skin_manager.h"

namespace tw {

class CPreferences {
 public:
  static constexpr unsigned kDefaultRestItem = 10;
  static constexpr unsigned kDefaultUpdateCycle = 60;
  static constexpr unsigned kDefaultNumThread = 3;
  static constexpr int kDefaultTimeout = 20;

  // The limits applied on load and by the system settings page.
  static unsigned ClampUpdateCycle(unsigned minutes) { return minutes < 30 ? 30 : minutes; }
  static unsigned ClampNumThread(unsigned n) { return n == 0 ? 1 : n >= 10 ? 10 : n; }
  static int ClampTimeout(int seconds) { return seconds < 5 ? 5 : seconds; }

  unsigned restItem = kDefaultRestItem;        // vanished items kept per site
  unsigned updateCycle = kDefaultUpdateCycle;  // minutes between automatic updates
  unsigned numThread = kDefaultNumThread;      // connection threads per download run
  unsigned currentTip = 0;                     // the next tip to show
  int timeout = kDefaultTimeout;               // seconds a request may take
  CGestureSetting gesture = CGestureSetting::Defaults();
  std::vector<std::unique_ptr<CRankedViewPreference>> views;  // empty: run the quick-init

  // Reads the file, converting older forms. A missing file leaves the defaults (no views);
  // a damaged one is moved aside and reported, then counts as missing. A file with another
  // root is reported and fails the load.
  bool Load(const std::wstring& path, const CSkinManager& skins, const CDataFileReport& report);
  // Writes the file in the newest form; the old file stays whole when that fails.
  bool Save(const std::wstring& path, const CSkinManager& skins) const;

 private:
  void Reset();
  void ReadFrom(const CXmlNode& root, const CSkinManager& skins);
};

}  // namespace tw
