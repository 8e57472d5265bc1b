#pragma once
// A property sheet of pages made from dialog templates. Each page hands the sheet's
// notifications to virtual handlers; no exception leaves a page procedure.
#include <windows.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "framework/dialog.h"

namespace tw {

class CPropertyPage : public CDialogBase {
 public:
  // The tab shows titleCp932, or the template's caption when it is empty.
  explicit CPropertyPage(UINT resourceId, std::string titleCp932 = std::string())
      : resourceId_(resourceId), title_(std::move(titleCp932)) {}
  CPropertyPage(const CPropertyPage&) = delete;
  CPropertyPage& operator=(const CPropertyPage&) = delete;
  virtual ~CPropertyPage() = default;

  // Enables (or disables) the sheet's Apply button for this page.
  void SetModified(bool modified);

 protected:
  friend class CPropertySheet;

  // Called once, when the page is first shown; true lets the system set the focus.
  virtual bool OnInitDialog() { return true; }
  virtual bool OnCommand(int id, int code, HWND control) { return false; }
  // The page is about to be shown; false refuses.
  virtual bool OnSetActive() { return true; }
  // The page is about to be left (another tab, OK, Apply); false keeps it, e.g. after
  // showing why its input is invalid.
  virtual bool OnKillActive() { return true; }
  // OK or Apply on a page that has been shown; false (or an exception) keeps the sheet open.
  virtual bool OnApply() { return true; }
  // Cancel.
  virtual void OnReset() {}
  // Every other message, with dialog-procedure meaning.
  virtual INT_PTR OnMessage(UINT message, WPARAM wp, LPARAM lp) { return FALSE; }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT message, WPARAM wp, LPARAM lp);
  INT_PTR Notify(const NMHDR& header);

  UINT resourceId_;
  std::string title_;
  std::wstring wideTitle_;  // kept alive while the sheet runs
};

class CPropertySheet {
 public:
  explicit CPropertySheet(std::string captionCp932, bool applyButton = false)
      : caption_(std::move(captionCp932)), applyButton_(applyButton) {}
  // The page is not owned and must outlive DoModal.
  void AddPage(CPropertyPage& page) { pages_.push_back(&page); }
  // Runs the sheet modally: greater than 0 when closed with OK, 0 when cancelled, -1 when it
  // cannot be made.
  INT_PTR DoModal(HWND owner, int startPage = 0);

 private:
  std::string caption_;
  bool applyButton_;
  std::vector<CPropertyPage*> pages_;
};

}  // namespace tw
