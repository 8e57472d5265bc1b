// Feeds are hostile input: remote DTDs and external entities are never fetched, malformed
// documents fail cleanly.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <string>
#include <thread>

#include "common/test_support.h"
#include "feeds/feed_detector.h"
#include "framework/text.h"

namespace tw {
namespace {

// A TCP listener on 127.0.0.1 that counts the connections it accepts and answers none.
class CConnectionCounter {
 public:
  CConnectionCounter() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Accept(); });
  }
  ~CConnectionCounter() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (started_) WSACleanup();
  }
  int Port() const { return port_; }
  int Count() const { return count_; }

  // Connects once as a client, to show that the counter sees connections.
  bool ConnectOnce() const {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port_));
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    closesocket(s);
    return ok;
  }

  // Waits up to ms for the count to reach n.
  bool WaitFor(int n, DWORD ms) const {
    for (DWORD waited = 0; count_ < n && waited < ms; waited += 20) Sleep(20);
    return count_ >= n;
  }

 private:
  void Accept() {
    while (!stop_) {
      fd_set set;
      FD_ZERO(&set);
      FD_SET(listener_, &set);
      timeval wait{0, 20000};
      if (select(0, &set, nullptr, nullptr, &wait) == 1) {
        SOCKET s = accept(listener_, nullptr, nullptr);
        if (s != INVALID_SOCKET) {
          ++count_;
          closesocket(s);
        }
      }
    }
  }

  bool started_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<int> count_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

std::string Rss091WithDoctype(const std::string& dtdUrl) {
  return "<?xml version=\"1.0\"?>\n"
         "<!DOCTYPE rss PUBLIC \"-//Netscape Communications//DTD RSS 0.91//EN\" \"" +
         dtdUrl +
         "\">\n<rss version=\"0.91\"><channel><title>t</title>"
         "<item><title>one</title></item></channel></rss>";
}

std::string FirstTitle(const CXmlDocument& doc) {
  auto reader = CreateFeedReader(DetectFeedFormat(doc), doc);
  if (!reader) return "(no reader)";
  auto item = reader->NextItem();
  return item ? item->title : "(no item)";
}

TEST(HostileFeeds, RemoteDtdIsNeverRequested) {
  CConnectionCounter server;
  ASSERT_NE(server.Port(), 0);
  std::string xml =
      Rss091WithDoctype("http://127.0.0.1:" + std::to_string(server.Port()) + "/x.dtd");
  CXmlDocument doc;
  ASSERT_TRUE(doc.LoadBytes(xml.data(), xml.size())) << ToUtf8(doc.ParseError());
  EXPECT_EQ(FirstTitle(doc), "one");
  EXPECT_FALSE(server.WaitFor(1, 500)) << "the DTD was requested";
  // The counter does see a connection when one is made.
  ASSERT_TRUE(server.ConnectOnce());
  EXPECT_TRUE(server.WaitFor(1, 2000));
}

// A DTD on a host that never answers must not hold the load up: a connection attempt would
// wait for the TCP time-out (20 s and more).
TEST(HostileFeeds, DtdOnUnreachableHostLoadsPromptly) {
  for (const char* url : {"http://10.255.255.1/rss-0.91.dtd", "http://feeds.invalid/x.dtd"}) {
    std::string xml = Rss091WithDoctype(url);
    CXmlDocument doc;
    ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(doc.LoadBytes(xml.data(), xml.size())) << url;
    EXPECT_LT(GetTickCount64() - start, 5000u) << url;
    EXPECT_EQ(FirstTitle(doc), "one");
  }
}

TEST(HostileFeeds, ExternalEntityIsNotExpanded) {
  test::CTempFolder dir;
  test::WriteFileBytes(dir.File(L"secret.txt"), "SECRET-CONTENT");
  std::string path = ToUtf8(dir.File(L"secret.txt"));
  std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE rss [<!ENTITY s SYSTEM \"file:///" + path +
                    "\">]>\n<rss version=\"2.0\"><channel><title>t</title>"
                    "<item><title>x&s;y</title></item></channel></rss>";
  CXmlDocument doc;
  if (doc.LoadBytes(xml.data(), xml.size())) {
    EXPECT_EQ(FirstTitle(doc).find("SECRET"), std::string::npos);
  } else {
    EXPECT_FALSE(doc.ParseError().empty());  // refusing the document is as good
  }
}

TEST(HostileFeeds, MalformedDocumentsFailCleanly) {
  const std::string cases[] = {
      "",
      "not xml at all",
      "<rss version=\"2.0\"><channel><title>cut off",
      "<rss version=\"2.0\"><channel></rss>",
      std::string("\xff\xfe\x00<\x00r", 6),
  };
  for (const std::string& xml : cases) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadBytes(xml.data(), xml.size())) << xml;
    EXPECT_FALSE(doc.ParseError().empty()) << xml;
    EXPECT_EQ(DetectFeedFormat(doc), FeedFormat::kNone) << xml;
  }
}

}  // namespace
}  // namespace tw
