#include "retrieval/download_thread.h"

#include <new>

#include "feeds/feed_detector.h"
#include "retrieval/connection_pool.h"
#include "retrieval/feed_result.h"

namespace tw {
namespace {

constexpr int kMaxThreads = 10;

// A followed 301 is recorded whatever the answer's document turns out to be.
void TakeHeaders(const CConnectionInfo& answer, CSourceResult& result) {
  if (answer.moved) {
    result.moved = true;
    result.location = answer.newLocation;
  }
}

}  // namespace

CDownloadThread::CDownloadThread() : CWorkerThread(nullptr, ThreadCom::kMultithreaded) {}

CDownloadThread::~CDownloadThread() { Join(INFINITE); }

void CDownloadThread::AddSite(const std::string& id, const CFeedSite& main,
                              const std::vector<std::shared_ptr<CFeedSite>>& subSites) {
  CSource source;
  source.main = *main.uri;
  for (const auto& sub : subSites) source.subSites.push_back(*sub->uri);
  sites_[id] = std::move(source);
}

void CDownloadThread::SetParameters(HWND notify, int threads, std::string userAgent, int timeout) {
  notify_ = notify;
  threads_ = threads < 1 ? 1 : threads > kMaxThreads ? kMaxThreads : threads;
  userAgent_ = std::move(userAgent);
  timeout_ = timeout;
}

bool CDownloadThread::ReadAnswer(const CConnectionInfo& answer, bool mainSource,
                                 CSourceResult& result, const CSource& source,
                                 std::vector<CSiteUri>& subSites) {
  if (!answer.contentReceived) return true;  // 304: nothing new, the site keeps its items
  FeedFormat format = DetectFeedFormat(*answer.document);
  if (auto reader = CreateFeedReader(format, *answer.document)) {
    ReadFeedResult(*reader, result);
  } else if (mainSource && IsOpml(format)) {
    // A feed list: each outline becomes a sub site, keeping the Last-Modified text of the
    // previous sub site with its address.
    std::vector<CFeedListEntry> entries;
    result.title = ReadFeedList(*answer.document, entries);
    subSites.clear();
    for (const CFeedListEntry& entry : entries) {
      CSiteUri uri{entry.uri, std::string()};
      for (const CSiteUri& previous : source.subSites)
        if (previous.uri == entry.uri) uri.lastModified = previous.lastModified;
      subSites.push_back(std::move(uri));
    }
  } else {
    return false;
  }
  result.fresh = true;
  result.lastModified = answer.lastModified;
  return true;
}

bool CDownloadThread::HandleAnswer(const CConnectionInfoPtr& answer, bool mainSource,
                                   CSourceResult& result, const CSource& source,
                                   std::vector<CSiteUri>& subSites) {
  if (!answer || !answer->succeeded) return false;
  try {
    TakeHeaders(*answer, result);
    return ReadAnswer(*answer, mainSource, result, source, subSites);
  } catch (const CComException&) {
  } catch (const std::bad_alloc&) {
  }
  // A document that cannot be read counts as no document.
  result.fresh = false;
  result.title.clear();
  result.items.clear();
  return false;
}

void CDownloadThread::Run() {
  startTime_ = CW3CDate::Now();
  {
    CConnectionPool pool(threads_, userAgent_, timeout_);
    // Every main request is queued before the first wait, so that up to threads_ run at once.
    std::map<std::string, long> requests;
    for (const auto& [id, source] : sites_) {
      requests[id] = pool.Request(source.main.uri, source.main.lastModified);
    }
    for (const auto& [id, source] : sites_) {
      CSourceResult& result = results_[id];
      result.uri = source.main.uri;
      std::vector<CSiteUri> subSites = source.subSites;
      // A failed request or an unknown document ends the site here: it stays not fresh, and
      // its sub sites are not fetched.
      if (!HandleAnswer(pool.Wait(requests[id]), true, result, source, subSites)) continue;

      std::vector<long> subRequests;
      for (const CSiteUri& sub : subSites) {
        subRequests.push_back(pool.Request(sub.uri, sub.lastModified));
      }
      for (size_t i = 0; i < subSites.size(); ++i) {
        CSourceResult sub;
        sub.uri = subSites[i].uri;
        sub.lastModified = subSites[i].lastModified;
        std::vector<CSiteUri> none;
        HandleAnswer(pool.Wait(subRequests[i]), false, sub, source, none);
        result.subSites.push_back(std::move(sub));
      }
      ++succeeded_;
    }
  }  // the pool stops here: every connection thread and the watchdog are joined
  if (notify_ && IsWindow(notify_)) {
    PostMessageW(notify_, kMsgDownloadDone, static_cast<WPARAM>(succeeded_),
                 reinterpret_cast<LPARAM>(this));
  }
}

}  // namespace tw
