#pragma once
// One download run: fetches a set of feed sites through a pool of connection threads, reads
// each answer with the feed readers (or as a feed list) and posts WM_APP+2 to the window that
// started it. The thread never touches the sites: it works on copies of their addresses and
// fills results of its own, which the main thread merges.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "feeds/w3c_date.h"
#include "framework/thread.h"
#include "model/site.h"
#include "model/site_merge.h"
#include "retrieval/connection_info.h"

namespace tw {

// Posted to the notify window when the run is over: wParam = the number of sites whose main
// request succeeded, lParam = the CDownloadThread. Its owner joins and deletes the thread.
constexpr UINT kMsgDownloadDone = WM_APP + 2;

class CDownloadThread : public CWorkerThread {
 public:
  CDownloadThread();
  ~CDownloadThread() override;

  // Before Start: a site to fetch (its address, Last-Modified text and sub sites are copied).
  void AddSite(const std::string& id, const CFeedSite& main,
               const std::vector<std::shared_ptr<CFeedSite>>& subSites);
  // threads is held to 1..10; timeout is the seconds each request may take (0: no limit).
  void SetParameters(HWND notify, int threads, std::string userAgent, int timeout);
  size_t SiteCount() const { return sites_.size(); }

  // After the thread has ended: when the run began (the download time of new items), the
  // number of sites whose main request succeeded, and one result per site, by site id.
  const CW3CDate& StartTime() const { return startTime_; }
  int Succeeded() const { return succeeded_; }
  std::map<std::string, CSourceResult>& Results() { return results_; }

 protected:
  void Run() override;

 private:
  struct CSource {
    CSiteUri main;
    std::vector<CSiteUri> subSites;
  };

  // Fills result from an answer; for a main source an OPML answer lists the feeds to fetch
  // next in subSites. False when the answer holds no document of a known kind.
  bool ReadAnswer(const CConnectionInfo& answer, bool mainSource, CSourceResult& result,
                  const CSource& source, std::vector<CSiteUri>& subSites);
  // The same for a request's answer, which may be missing or failed; never throws.
  bool HandleAnswer(const CConnectionInfoPtr& answer, bool mainSource, CSourceResult& result,
                    const CSource& source, std::vector<CSiteUri>& subSites);

  std::map<std::string, CSource> sites_;
  HWND notify_ = nullptr;
  int threads_ = 1;
  std::string userAgent_;
  int timeout_ = 0;

  CW3CDate startTime_;
  int succeeded_ = 0;
  std::map<std::string, CSourceResult> results_;
};

}  // namespace tw
