#pragma once
// The loading dialog (dialog 134, "ダウンロード中"): fetches the sites it is given at once,
// whatever views show them, through a chain of its own, and closes itself with OK when the
// chain is done. Used for new sites and for sites whose address was just changed.
#include <vector>

#include "framework/dialog.h"
#include "retrieval/task.h"
#include "retrieval/task_queue.h"
#include "retrieval/update_context.h"

namespace tw {

class CLoadingDialog : public CDialog, public CTaskNotifier {
 public:
  // The dialog's resource id in the program's resources.
  static constexpr UINT kResourceId = 134;

  // context must outlive the dialog; its sites collection is not needed (the dialog's sites
  // need not be in it yet).
  explicit CLoadingDialog(const CUpdateContext& context);

  // The sites to fetch; they must outlive the dialog.
  void AddSite(CSite* site) { sites_.push_back(site); }
  const std::vector<CSite*>& Sites() const { return sites_; }

  // Fetches the sites and installs what came: IDOK when the chain ran (also when there was no
  // site, and then nothing is shown), -1 when the dialog cannot be made.
  INT_PTR Show(HWND owner);

  HWND NotifyWindow() const override { return Handle(); }

 protected:
  bool OnInitDialog() override;
  void OnCancel() override {}  // the chain always runs to its end
  INT_PTR OnMessage(UINT message, WPARAM wp, LPARAM lp) override;

 private:
  std::vector<CTaskPtr> BuildChain();
  void RunQueue();

  const CUpdateContext& context_;
  std::vector<CSite*> sites_;
  CTaskQueue queue_;
};

}  // namespace tw
