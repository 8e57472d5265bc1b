#include "retrieval/loading_dialog.h"

#include "retrieval/chain_tasks.h"
#include "retrieval/channel_task.h"
#include "retrieval/update_task.h"

namespace tw {

CLoadingDialog::CLoadingDialog(const CUpdateContext& context)
    : CDialog(kResourceId), context_(context) {}

INT_PTR CLoadingDialog::Show(HWND owner) {
  if (sites_.empty()) return IDOK;
  INT_PTR result = DoModal(owner);
  queue_.Clear();  // a dialog that could not be made leaves nothing queued behind
  return result;
}

std::vector<CTaskPtr> CLoadingDialog::BuildChain() {
  auto lump = std::make_shared<CItemDataLump>();
  std::vector<CTaskPtr> chain;
  chain.push_back(std::make_shared<CUpdateSiteTask>(*this, lump, context_.Parameters(), sites_));
  chain.push_back(std::make_shared<CUpdateSomeChannelTask>(*this, lump, sites_, context_.channels));
  // Keyword matching and word scores work on the lump before its sources are installed, as in
  // the full update.
  for (const CLumpTaskFactory& make : context_.lumpTasks) {
    if (CTaskPtr task = make(*this, lump)) chain.push_back(std::move(task));
  }
  chain.push_back(std::make_shared<CReflectSiteTask>(*this, lump, sites_));
  return chain;
}

bool CLoadingDialog::OnInitDialog() {
  queue_.Append(BuildChain());
  RunQueue();
  return true;
}

INT_PTR CLoadingDialog::OnMessage(UINT message, WPARAM wp, LPARAM lp) {
  if (message != kMsgRunQueue) return FALSE;
  RunQueue();
  return TRUE;
}

void CLoadingDialog::RunQueue() {
  queue_.Run();
  if (queue_.Empty()) EndDialog(IDOK);
}

}  // namespace tw
