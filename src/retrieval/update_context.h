#pragma once
// What the update chains need from the rest of the program, handed in by its owner: the sites,
// the current download settings, the channel plug-ins, the tasks that work on fetched items
// before they are installed, and how to reach the views.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/site_list.h"
#include "retrieval/task.h"

namespace tw {

class CChannelProvider;

// The preferences a download run takes, read when the run starts.
struct CUpdateParameters {
  int numThread = 3;      // connection threads, 1 to 10
  int timeout = 20;       // seconds a request may take
  int restItem = 10;      // vanished items kept per site
  std::string userAgent;  // the program's version text ("Tidewatch 1.10")
};

// Makes a task of a chain that works on the lump before its sources are installed (keyword
// matching, word scores).
using CLumpTaskFactory = std::function<CTaskPtr(CTaskNotifier&, const CItemDataLumpPtr&)>;

struct CUpdateContext {
  CSiteList* sites = nullptr;
  std::function<CUpdateParameters()> parameters;
  // The plug-in host; null while no channel plug-in is bound (channel sites then keep their
  // items). Shared with the channel workers, which may outlive their task.
  std::shared_ptr<CChannelProvider> channels;
  // In chain order, between the channel task and the installation.
  std::vector<CLumpTaskFactory> lumpTasks;
  // Sends message to every view window (WM_APP+4 at the start, WM_APP+3 at the end).
  std::function<void(UINT message)> notifyViews;
  // After a full update was installed: the score store drops records of vanished sites and
  // items.
  std::function<void()> afterInstall;

  CUpdateParameters Parameters() const { return parameters ? parameters() : CUpdateParameters{}; }
};

}  // namespace tw
