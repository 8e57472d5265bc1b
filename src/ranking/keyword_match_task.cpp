#include "ranking/keyword_match_task.h"

#include "ranking/keyword_match.h"

namespace tw {
namespace {

void MatchSource(const CSourceResult& source, const CKeywordLevelTree* tree) {
  MatchKeywords(source.items, tree);
  for (const CSourceResult& sub : source.subSites) MatchSource(sub, tree);
}

// Owns a share of the lump and of the tree, so both outlive a worker that the task leaves
// behind.
class CKeywordMatchThread : public CTaskThread {
 public:
  CKeywordMatchThread(CItemDataLumpPtr lump, std::shared_ptr<const CKeywordLevelTree> tree)
      : lump_(std::move(lump)), tree_(std::move(tree)) {}
  ~CKeywordMatchThread() override { Join(INFINITE); }  // Work uses the members

 protected:
  void Work() override { MatchLumpKeywords(*lump_, tree_.get()); }

 private:
  CItemDataLumpPtr lump_;
  std::shared_ptr<const CKeywordLevelTree> tree_;
};

}  // namespace

void MatchLumpKeywords(CItemDataLump& lump, const CKeywordLevelTree* tree) {
  CLock hold(lump.Lock());
  for (const auto& [id, source] : lump.sources) MatchSource(source, tree);
}

CKeywordMatchTask::CKeywordMatchTask(CTaskNotifier& notifier, CItemDataLumpPtr lump,
                                     const CKeywordList& keywords)
    : CThreadTask(notifier), lump_(std::move(lump)), keywords_(keywords) {}

void CKeywordMatchTask::Run() {
  std::shared_ptr<const CKeywordLevelTree> tree = keywords_.GetTree();
  if (!StartThread(std::make_unique<CKeywordMatchThread>(lump_, tree),
                   THREAD_PRIORITY_BELOW_NORMAL)) {
    // No worker: the items must not go unparsed, so the step runs here instead.
    MatchLumpKeywords(*lump_, tree.get());
    Complete();
  }
}

void CKeywordMatchTask::OnThreadDone(CTaskThread&) { Complete(); }

CLumpTaskFactory KeywordMatchTaskFactory(const CKeywordList& keywords) {
  return [&keywords](CTaskNotifier& notifier, const CItemDataLumpPtr& lump) -> CTaskPtr {
    return std::make_shared<CKeywordMatchTask>(notifier, lump, keywords);
  };
}

}  // namespace tw
