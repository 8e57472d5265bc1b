#pragma once
// The keyword step of an update chain and of the loading dialog's chain: on a worker thread at
// below-normal priority, every fetched item of the chain's lump that lacks a parsed title or
// description gets it, with the keyword tree current when the task starts.
#include <memory>

#include "ranking/keyword_list.h"
#include "retrieval/task.h"
#include "retrieval/update_context.h"

namespace tw {

class CKeywordMatchTask : public CThreadTask {
 public:
  // keywords: the program's list (outlives the chain); its tree is taken when the task runs.
  CKeywordMatchTask(CTaskNotifier& notifier, CItemDataLumpPtr lump, const CKeywordList& keywords);

  void Run() override;

 protected:
  void OnThreadDone(CTaskThread& thread) override;

 private:
  CItemDataLumpPtr lump_;
  const CKeywordList& keywords_;
};

// Parses the items of every source of the lump (sub-site results included), under its lock.
void MatchLumpKeywords(CItemDataLump& lump, const CKeywordLevelTree* tree);

// For CUpdateContext::lumpTasks.
CLumpTaskFactory KeywordMatchTaskFactory(const CKeywordList& keywords);

}  // namespace tw
