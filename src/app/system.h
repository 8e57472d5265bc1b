#pragma once
// The application-wide model: owns the data of the running program and drives it through
// its states: 0 created → customisation read → data files read → running → (shutdown) 0.
// Each step refuses to run out of order, so a partial start never writes a data file.
#include <functional>
#include <memory>
#include <string>

#include "app/custom_setting.h"
#include "app/program_icon.h"
#include "app/tray_icon.h"
#include "model/preferences.h"
#include "model/site_list.h"
#include "ranking/keyword_list.h"
#include "ranking/score_store.h"
#include "retrieval/update_manager.h"
#include "skins/skin_manager.h"

namespace tw {

class CSystem {
 public:
  enum State { kCreated = 0, kCustomised = 1, kDataRead = 2, kRunning = 3 };

  // The process-wide instance, created on first use.
  static CSystem& Instance();

  // Reads "custom.xml" from the executable's folder (or from folder, for tests). State 0 → 1.
  bool LoadCustomSetting(const std::wstring& folder = L"");
  // Loads the skins (from skinFolder, empty: the "skin" folder beside the program) and the
  // data files of the settings folder. State 1 → 2.
  bool LoadData(const std::wstring& settingFolder, const std::wstring& skinFolder = L"");
  // Starts the background machinery. State 2 → 3.
  bool Start();
  // Saves (only when running) and frees everything; state 0.
  void Shutdown();

  State GetState() const { return state_; }
  const std::string& VersionText() const { return versionText_; }
  const std::wstring& SettingFolder() const { return settingFolder_; }

  // The hidden main window (owner of menus and messages) and which of its commands can run;
  // set by the application before Start.
  void SetMainWindow(HWND window, std::function<bool(int)> commandAvailable);

  CSiteList& Sites() { return *sites_; }
  CPreferences& Preferences() { return *preferences_; }
  CScoreStore& Scores() { return *scores_; }
  CKeywordList& Keywords() { return *keywords_; }
  CUpdateManager& UpdateManager() { return *updateManager_; }
  CSkinManager& Skins() { return *skins_; }
  CCustomSetting& Custom() { return *custom_; }

  // Shows a user message (CP932 text and caption, MessageBox type flags); replaced in tests.
  std::function<int(const std::string& text, const std::string& caption, unsigned type)> report;

  // The product name and file version of the running executable, joined by one blank.
  static std::string ReadVersionText();

 private:
  CSystem();
  void CreateMembers();
  // A data file's message, shown as an error with the "エラー" caption.
  void ReportFileError(const std::string& text);
  std::wstring preferencesPath_;
  std::wstring scoresPath_;
  std::wstring keywordsPath_;

  // Members in the order the program's model owns them.
  std::unique_ptr<CSiteList> sites_;
  std::unique_ptr<CScoreStore> scores_;
  std::unique_ptr<CPreferences> preferences_;
  std::unique_ptr<CKeywordList> keywords_;
  std::unique_ptr<CSkinManager> skins_;
  std::unique_ptr<CUpdateManager> updateManager_;
  std::unique_ptr<CCustomSetting> custom_;
  std::unique_ptr<CTrayIcon> trayIcon_;
  std::unique_ptr<CProgramIcon> programIcon_;
  HWND mainWindow_ = nullptr;
  std::function<bool(int)> commandAvailable_;
  State state_ = kCreated;
  std::string versionText_;
  std::wstring settingFolder_;
};

}  // namespace tw
