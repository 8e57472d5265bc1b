// A download run over several sites against the local feed server: what each kind of answer
// leaves in the site's result, feed lists with their sub sites, and the count of sites whose
// main request succeeded.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "retrieval/download_thread.h"
#include "retrieval_test_support.h"

namespace tw {
namespace {

using test::Server;

std::shared_ptr<CFeedSite> Feed(const std::string& path, const std::string& lastModified = "") {
  auto feed = std::make_shared<CFeedSite>();
  feed->uri->uri = Server().Url(path);
  feed->uri->lastModified = lastModified;
  return feed;
}

class DownloadTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(Server().Port(), 0) << "the feed server did not start"; }

  void Add(const std::string& id, const std::shared_ptr<CFeedSite>& feed,
           std::vector<std::shared_ptr<CFeedSite>> subs = {}) {
    run_.AddSite(id, *feed, subs);
  }
  void RunToEnd() {
    run_.SetParameters(nullptr, 3, "Tidewatch 1.10", 10);
    ASSERT_TRUE(run_.Start());
    ASSERT_TRUE(run_.Join(60000));
  }
  const CSourceResult& Result(const std::string& id) { return run_.Results().at(id); }

  CDownloadThread run_;
};

TEST_F(DownloadTest, EachAnswerLeavesItsKindOfResult) {
  Add("fresh", Feed("/gen/f?items=4&lm=1577836800"));
  Add("same", Feed("/gen/s?lm=1577836800", test::kFixedLastModified));
  Add("moved", Feed("/r/301/gen/m"));
  Add("missing", Feed("/status/404"));
  Add("notxml", Feed("/text"));
  Add("gzip", Feed("/gen/z?enc=gzip"));
  CW3CDate before = CW3CDate::Now();
  RunToEnd();

  EXPECT_GE(run_.StartTime().Time(), before.Time());
  EXPECT_EQ(run_.Succeeded(), 4) << "fresh, same, moved and gzip";
  const CSourceResult& fresh = Result("fresh");
  EXPECT_TRUE(fresh.fresh);
  EXPECT_EQ(fresh.uri, Server().Url("/gen/f?items=4&lm=1577836800"));
  EXPECT_EQ(fresh.title, "Feed f");
  ASSERT_EQ(fresh.items.size(), 4u);
  EXPECT_EQ(fresh.items[0]->title, "f item 0");
  EXPECT_EQ(fresh.items[3]->link, "http://example.invalid/f/3");
  EXPECT_EQ(fresh.items[1]->date.Time(), 1577836800 + 3600);
  EXPECT_EQ(fresh.lastModified, test::kFixedLastModified);

  EXPECT_FALSE(Result("same").fresh) << "304: the site keeps what it had";
  EXPECT_TRUE(Result("same").items.empty());

  const CSourceResult& moved = Result("moved");
  EXPECT_TRUE(moved.fresh);
  EXPECT_TRUE(moved.moved);
  EXPECT_EQ(moved.location, Server().Url("/gen/m"));
  EXPECT_EQ(moved.uri, Server().Url("/r/301/gen/m")) << "the result names the URI it was made from";

  for (const char* id : {"missing", "notxml"}) {
    EXPECT_FALSE(Result(id).fresh) << id;
    EXPECT_TRUE(Result(id).items.empty()) << id;
  }
  EXPECT_EQ(Result("gzip").items.size(), 3u);
}

TEST_F(DownloadTest, FeedListFetchesItsOutlinesAndKeepsTheirLastModified) {
  // The previous sub site of feed "b" knows its Last-Modified: it is asked conditionally.
  auto previous = Feed("/gen/b?lm=1577836800", test::kFixedLastModified);
  Add("list", Feed("/opml/a,b,a"), {previous});
  int hitsA = Server().Hits("/gen/a");
  RunToEnd();

  EXPECT_EQ(run_.Succeeded(), 1);
  const CSourceResult& list = Result("list");
  EXPECT_TRUE(list.fresh);
  EXPECT_EQ(list.title, "List a,b,a");
  ASSERT_EQ(list.subSites.size(), 2u) << "an address listed twice is one sub site";
  EXPECT_EQ(list.subSites[0].uri, Server().Url("/gen/a?lm=1577836800"));
  EXPECT_TRUE(list.subSites[0].fresh);
  EXPECT_EQ(list.subSites[0].items.size(), 3u);
  EXPECT_EQ(list.subSites[0].lastModified, test::kFixedLastModified);
  EXPECT_EQ(list.subSites[1].uri, previous->Uri());
  EXPECT_FALSE(list.subSites[1].fresh) << "answered 304 to its If-Modified-Since";
  EXPECT_EQ(list.subSites[1].lastModified, test::kFixedLastModified);
  EXPECT_EQ(Server().Hits("/gen/a"), hitsA + 1);
}

TEST_F(DownloadTest, FailedMainRequestSkipsTheSubSites) {
  int hits = Server().Hits("/gen/never");
  Add("gone", Feed("/status/410"), {Feed("/gen/never")});
  RunToEnd();
  EXPECT_EQ(run_.Succeeded(), 0);
  EXPECT_FALSE(Result("gone").fresh);
  EXPECT_TRUE(Result("gone").subSites.empty());
  EXPECT_EQ(Server().Hits("/gen/never"), hits);
}

}  // namespace
}  // namespace tw
