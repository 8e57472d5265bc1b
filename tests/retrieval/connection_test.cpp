// The HTTP GET of the connection threads against the local feed server: redirects and the
// moved flag, conditional requests, content encodings, the header block, and the time-out of a
// hung server while other requests go on.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/text.h"
#include "retrieval/connection_pool.h"
#include "retrieval_test_support.h"

namespace tw {
namespace {

using test::Server;

constexpr char kAgent[] = "Tidewatch 1.10";

CConnectionInfoPtr Fetch(const std::string& path, const std::string& lastModified = "",
                         const std::string& agent = kAgent) {
  CConnectionPool pool(1, agent, 10);
  EXPECT_TRUE(pool.Started());
  return pool.Wait(pool.Request(Server().Url(path), lastModified));
}

long ItemCount(const CConnectionInfo& info) {
  return info.document ? info.document->SelectNodes(L"/rss/channel/item").Size() : -1;
}

class ConnectionTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(Server().Port(), 0) << "the feed server did not start"; }
};

TEST_F(ConnectionTest, RedirectsAreFollowedAndOnlyA301SetsMoved) {
  struct Case {
    const char* path;
    bool ok;
    bool moved;
    const char* location;  // path of the new location when moved
  };
  const Case cases[] = {
      {"/r/301/r/301/gen/a", true, true, "/gen/a"},
      {"/r/302/r/303/r/307/gen/a", true, false, ""},
      {"/r/301/r/302/gen/a", true, true, "/r/302/gen/a"},  // the last 301's target
      {"/r/302/r/301/gen/a", true, true, "/gen/a"},
      {"/rr/301/gen/a", true, true, "/gen/a"},                    // a relative Location is resolved
      {"/r/302/r/302/r/302/r/302/r/302/gen/a", true, false, ""},  // five redirects
      {"/loop/0", false, false, ""},  // the sixth answer is a redirect too
      {"/r/301/status/404", false, true, "/status/404"},
  };
  for (const Case& c : cases) {
    CConnectionInfoPtr info = Fetch(c.path);
    ASSERT_TRUE(info) << c.path;
    EXPECT_EQ(info->succeeded, c.ok) << c.path;
    EXPECT_EQ(info->moved, c.moved) << c.path;
    if (c.moved) {
      EXPECT_EQ(info->newLocation, Server().Url(c.location)) << c.path;
    }
    if (c.ok) {
      EXPECT_EQ(ItemCount(*info), 3) << c.path;
    }
  }
  EXPECT_EQ(Server().Hits("/loop/5"), 1);
  EXPECT_EQ(Server().Hits("/loop/6"), 0);
}

TEST_F(ConnectionTest, NotModifiedIsSuccessOnlyForAConditionalRequest) {
  const std::string feed = "/gen/cond?lm=1577836800";
  CConnectionInfoPtr plain = Fetch(feed);
  EXPECT_TRUE(plain->succeeded);
  EXPECT_TRUE(plain->contentReceived);
  EXPECT_EQ(plain->lastModified, test::kFixedLastModified);

  CConnectionInfoPtr conditional = Fetch(feed, test::kFixedLastModified);
  EXPECT_TRUE(conditional->succeeded);
  EXPECT_EQ(conditional->status, 304);
  EXPECT_FALSE(conditional->contentReceived);
  EXPECT_FALSE(conditional->document);

  CConnectionInfoPtr older = Fetch(feed, "Tue, 31 Dec 2019 00:00:00 GMT");
  EXPECT_TRUE(older->contentReceived);

  CConnectionInfoPtr unasked = Fetch("/status/304");  // 304 without If-Modified-Since
  EXPECT_FALSE(unasked->succeeded);
  for (const char* path : {"/status/404", "/status/500", "/status/204"}) {
    EXPECT_FALSE(Fetch(path)->succeeded) << path;
  }
}

TEST_F(ConnectionTest, GzipIsDecodedAndOtherEncodingsFail) {
  struct Case {
    const char* path;
    bool ok;
  };
  const Case cases[] = {
      {"/gen/e", true},
      {"/gen/e?enc=gzip", true},
      {"/gen/e?enc=gzip-header", true},  // extra field, name, comment and header CRC
      {"/gen/e?enc=deflate", false},
      {"/gen/e?enc=gzip-cut", false},
      {"/gen/e?enc=gzip-bomb", false},  // would inflate beyond 64 MB
      {"/text", false},                 // not XML
  };
  for (const Case& c : cases) {
    CConnectionInfoPtr info = Fetch(c.path);
    EXPECT_EQ(info->succeeded, c.ok) << c.path;
    EXPECT_EQ(info->contentReceived, c.ok) << c.path;
    EXPECT_EQ(ItemCount(*info), c.ok ? 3 : -1) << c.path;
  }
}

// The header lines the server saw, from its /headers feed.
std::vector<std::string> SentHeaders(const std::string& lastModified, const std::string& agent) {
  CConnectionInfoPtr info = Fetch("/headers", lastModified, agent);
  std::vector<std::string> lines;
  if (!info->document) return lines;
  for (const CXmlNode& title : info->document->SelectNodes(L"/rss/channel/item/title")) {
    lines.push_back(ToCp932(title.Text()));
  }
  return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

TEST_F(ConnectionTest, RequestCarriesAgentConditionAndGzipHeaders) {
  std::vector<std::string> lines = SentHeaders("Sat, 01 Feb 2020 10:00:00 GMT", kAgent);
  EXPECT_TRUE(Has(lines, "User-Agent: Tidewatch 1.10"));
  EXPECT_TRUE(Has(lines, "If-Modified-Since: Sat, 01 Feb 2020 10:00:00 GMT"));
  EXPECT_TRUE(Has(lines, "Accept-Encoding: gzip"));

  lines = SentHeaders("", "");
  EXPECT_TRUE(Has(lines, "Accept-Encoding: gzip"));
  for (const auto& line : lines) EXPECT_NE(line.rfind("If-Modified-Since", 0), 0u) << line;
}

TEST_F(ConnectionTest, UrlsThatCannotBeFetchedFail) {
  CConnectionPool pool(1, kAgent, 5);
  for (const char* url : {"ftp://127.0.0.1/feed", "file:///c:/feed.xml", "not a url", ""}) {
    CConnectionInfoPtr info = pool.Wait(pool.Request(url, ""));
    ASSERT_TRUE(info) << url;
    EXPECT_FALSE(info->succeeded) << url;
  }
  EXPECT_FALSE(pool.Wait(12345)) << "an id never made has no answer";
}

TEST_F(ConnectionTest, HungServersAreReleasedAfterTheTimeoutWhileOthersGoOn) {
  using Clock = std::chrono::steady_clock;
  constexpr int kTimeout = 3;
  CConnectionPool pool(3, kAgent, kTimeout);
  auto start = Clock::now();
  // One server that never answers, one that answers and then sends its body a byte at a time.
  long hung = pool.Request(Server().Url("/hang"), "");
  long trickle = pool.Request(Server().Url("/trickle"), "");
  std::vector<long> good;
  for (int i = 0; i < 6; ++i) {
    good.push_back(pool.Request(Server().Url("/gen/g" + std::to_string(i) + "?delay=100"), ""));
  }
  for (long id : good) EXPECT_TRUE(pool.Wait(id)->succeeded);
  double goodSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_LT(goodSeconds, kTimeout - 1) << "the other connections had to wait for the hung ones";
  for (long id : {hung, trickle}) {
    CConnectionInfoPtr info = pool.Wait(id);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%s released after %.2f s (timeout %d s); the good requests took %.2f s\n",
                id == hung ? "silent server" : "trickling server", seconds, kTimeout, goodSeconds);
    EXPECT_FALSE(info->succeeded);
    EXPECT_GE(seconds, kTimeout - 1);
    EXPECT_LT(seconds, kTimeout + 3) << "a hung request was not released";
  }
}

}  // namespace
}  // namespace tw
