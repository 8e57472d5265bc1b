#include "ranking/keyword_match_task.h"

#include <gtest/gtest.h>

#include "ranking/keyword_match.h"

namespace tw {
namespace {

// A chain owner that only records that the queue was asked to run.
class CRecordingNotifier : public CTaskNotifier {
 public:
  CRecordingNotifier() {
    window_.onApp = [this](UINT n, WPARAM, LPARAM) {
      if (WM_APP + n == kMsgRunQueue) ++runs;
    };
    window_.Create();
  }
  HWND NotifyWindow() const override { return window_.Handle(); }
  // Pumps messages until the queue was asked to run, up to ms milliseconds.
  bool WaitForRun(DWORD ms) {
    DWORD start = GetTickCount();
    MSG msg;
    while (runs == 0 && GetTickCount() - start < ms) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(1);
    }
    return runs > 0;
  }
  int runs = 0;

 private:
  CMessageWindow window_;
};

CItemPtr MakeItem(const std::string& title) {
  auto item = std::make_shared<CItem>();
  item->title = title;
  item->encodedDescription = "<p>" + title + "</p>";
  return item;
}

TEST(KeywordMatchTask, ParsesWhatTheLumpsItemsLackOnAWorker) {
  CKeywordList keywords;
  keywords.Add({1, "RSS"});
  auto lump = std::make_shared<CItemDataLump>();
  CSourceResult& main = lump->sources["SITE000000000001"];
  main.items = {MakeItem("RSSの話"), MakeItem("RSS")};
  main.items[1]->parsedTitle = ParseText("kept", nullptr);
  CParsedTextPtr kept = main.items[1]->parsedTitle;
  main.subSites.emplace_back();
  main.subSites[0].items = {MakeItem("sub RSS")};

  CRecordingNotifier notifier;
  auto task = KeywordMatchTaskFactory(keywords)(notifier, lump);
  task->Run();
  ASSERT_TRUE(notifier.WaitForRun(5000));
  EXPECT_TRUE(task->Done());

  CLock hold(lump->Lock());
  EXPECT_EQ(main.items[0]->parsedTitle->KeywordTexts(), std::vector<std::string>{"RSS"});
  EXPECT_EQ(main.items[0]->parsedDescription->GetKind(), CParsedText::kMarkup);
  EXPECT_EQ(main.items[1]->parsedTitle, kept);
  ASSERT_TRUE(main.items[1]->parsedDescription);
  ASSERT_TRUE(main.subSites[0].items[0]->parsedTitle);
  EXPECT_EQ(main.subSites[0].items[0]->parsedTitle->KeywordTexts(),
            std::vector<std::string>{"RSS"});
}

}  // namespace
}  // namespace tw
