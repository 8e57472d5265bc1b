#include "app/system.h"

#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <vector>

#include "framework/files.h"
#include "framework/message_box.h"
#include "framework/text.h"
#include "framework/xml.h"
#include "model/site_file.h"
#include "ranking/keyword_match.h"
#include "ranking/keyword_match_task.h"

namespace tw {

namespace {
const char kMsxmlMissing[] =
    "MSXML3以降がインストールされていません。\r\nMSXML3は、Tidewatchを実行するために必要なライブ"
    "ラリです。以下の方法で入手して下さい。\r\n・MicrosoftのサイトからMSXML3をダウンロードして"
    "インストールする。\r\n・Internet Explorer 6以降をインストールする(MSXMLが添付されてます)。";
}  // namespace

CSystem& CSystem::Instance() {
  static CSystem instance;
  return instance;
}

CSystem::CSystem() {
  report = [](const std::string& text, const std::string& caption, unsigned type) {
    return ShowMessage(nullptr, text, caption, type);
  };
}

void CSystem::CreateMembers() {
  if (!sites_) sites_ = std::make_unique<CSiteList>();
  if (!scores_) scores_ = std::make_unique<CScoreStore>();
  if (!preferences_) preferences_ = std::make_unique<CPreferences>();
  if (!keywords_) keywords_ = std::make_unique<CKeywordList>();
  if (!skins_) skins_ = std::make_unique<CSkinManager>();
  if (!custom_) custom_ = std::make_unique<CCustomSetting>();
  if (!updateManager_) {
    CUpdateContext context;
    context.sites = sites_.get();
    context.parameters = [this] {
      return CUpdateParameters{static_cast<int>(preferences_->numThread), preferences_->timeout,
                               static_cast<int>(preferences_->restItem), versionText_};
    };
    context.lumpTasks = {KeywordMatchTaskFactory(*keywords_)};
    // The view windows join here: they hear of the start and end of every update.
    context.notifyViews = [](UINT) {};
    context.afterInstall = [this] { scores_->CleanUp(*sites_); };
    updateManager_ = std::make_unique<CUpdateManager>(std::move(context));
  }
}

bool CSystem::LoadCustomSetting(const std::wstring& folder) {
  if (state_ != kCreated) return false;
  CreateMembers();
  std::wstring dir = folder.empty() ? ModuleFolder() : folder;
  custom_->Load(JoinPath(dir, L"custom.xml"));
  state_ = kCustomised;
  return true;
}

void CSystem::ReportFileError(const std::string& text) {
  report(text, "エラー", MB_OK | MB_ICONERROR);
}

bool CSystem::LoadData(const std::wstring& settingFolder, const std::wstring& skinFolder) {
  if (state_ != kCustomised) return false;
  CreateMembers();
  versionText_ = ReadVersionText();
  if (!CXmlDocument::Available()) {
    report(kMsxmlMissing, "エラー", MB_OK | MB_ICONERROR);
    return false;
  }
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  settingFolder_ = settingFolder;
  sites_->SetPath(JoinPath(settingFolder, L"sites.xml"));
  preferencesPath_ = JoinPath(settingFolder, L"preferences.xml");
  scoresPath_ = JoinPath(settingFolder, L"scores.xml");
  keywordsPath_ = JoinPath(settingFolder, L"keyword.xml");

  auto fileError = [this](const std::string& text) { ReportFileError(text); };
  // Load order: skins, preferences, reading records, keywords, (plug-ins, word learning,
  // channel plug-in registry as they join), sites. The first failure stops the load.
  bool skinsLoaded = skinFolder.empty() ? skins_->Load(fileError) : skins_->LoadFolder(skinFolder, fileError);
  if (!skinsLoaded) return false;
  if (!preferences_->Load(preferencesPath_, *skins_, fileError)) return false;
  updateManager_->SetUpdateCycle(preferences_->updateCycle);
  if (!scores_->Load(scoresPath_, fileError)) return false;
  if (!keywords_->Load(keywordsPath_, fileError)) return false;
  if (!LoadSites(*sites_, sites_->Path(), fileError)) return false;
  // Items read from the file get their parsed title and description; reading records of
  // sites and items that no longer exist are dropped.
  RescanKeywords(*keywords_, *sites_);
  scores_->CleanUp(*sites_);
  state_ = kDataRead;
  return true;
}

void CSystem::SetMainWindow(HWND window, std::function<bool(int)> commandAvailable) {
  mainWindow_ = window;
  commandAvailable_ = std::move(commandAvailable);
}

bool CSystem::Start() {
  if (state_ != kDataRead) return false;
  trayIcon_ = std::make_unique<CTrayIcon>();
  programIcon_ = std::make_unique<CProgramIcon>(*trayIcon_, mainWindow_, commandAvailable_);
  if (!programIcon_->Add(custom_->name)) return false;
  if (!updateManager_->Create()) return false;
  state_ = kRunning;
  return true;
}

void CSystem::Shutdown() {
  if (state_ == kRunning) {
    // Save order: reading records, sites, keywords, preferences, word learning. A failed
    // save leaves the previous file whole; it is not reported at exit.
    scores_->Save(scoresPath_);
    SaveSites(*sites_, sites_->Path());
    keywords_->Save(keywordsPath_);
    preferences_->Save(preferencesPath_, *skins_);
  }
  // The update scheduler goes first: its workers must not outlive what they work on.
  updateManager_.reset();
  programIcon_.reset();
  trayIcon_.reset();
  if (sites_) sites_->Clear();
  skins_.reset();
  keywords_.reset();
  preferences_.reset();
  scores_.reset();
  custom_.reset();
  state_ = kCreated;
}

std::string CSystem::ReadVersionText() {
  std::wstring exe = ModulePath();
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(exe.c_str(), 0, size, block.data())) return {};
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation))
    return {};
  wchar_t prefix[64];
  swprintf(prefix, 64, L"\\StringFileInfo\\%04X%04X\\", translation->language,
           translation->codePage);
  auto value = [&](const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT chars = 0;
    std::wstring key = std::wstring(prefix) + name;
    if (!VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &chars) ||
        !text)
      return std::wstring();
    return std::wstring(text);
  };
  return ToCp932(value(L"ProductName") + L" " + value(L"FileVersion"));
}

}  // namespace tw
