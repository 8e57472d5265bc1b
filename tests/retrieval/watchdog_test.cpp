// The watchdog's countdown and its thread, and the gzip member decoder.
#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <string>
#include <vector>

#include "retrieval/gzip_member.h"
#include "retrieval/timeout_thread.h"

namespace tw {
namespace {

// A real WinINet handle to be closed (a root handle needs no server).
std::shared_ptr<CInternetHandle> NewHandle() {
  return std::make_shared<CInternetHandle>(
      InternetOpenW(L"WatchdogTest", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
}

TEST(Watchdog, ARequestOfNSecondsIsClosedOnTheNthTickAndZeroNever) {
  CTimeoutThread watchdog;  // not started: the ticks are driven here
  auto never = NewHandle(), one = NewHandle(), three = NewHandle(), answered = NewHandle();
  ASSERT_TRUE(*never && *one && *three && *answered);
  watchdog.Register(never, nullptr, 0);
  watchdog.Register(one, nullptr, 1);
  watchdog.Register(three, nullptr, 3);
  watchdog.Register(answered, nullptr, 2);
  watchdog.Register(answered, nullptr, 2);

  watchdog.Tick();
  EXPECT_FALSE(*one);
  EXPECT_TRUE(*three);
  watchdog.Unregister(answered);  // answered in time: both of its items go
  EXPECT_EQ(watchdog.Watched(), 2u);
  watchdog.Tick();
  EXPECT_TRUE(*three);
  watchdog.Tick();
  EXPECT_FALSE(*three);
  EXPECT_TRUE(*answered);
  for (int i = 0; i < 10; ++i) watchdog.Tick();
  EXPECT_TRUE(*never);
  EXPECT_EQ(watchdog.Watched(), 1u);
}

TEST(Watchdog, ThreadTicksEverySecondAndStops) {
  CTimeoutThread watchdog;
  ASSERT_TRUE(watchdog.Start());
  auto handle = NewHandle();
  auto owner = std::make_shared<int>(7);
  watchdog.Register(handle, owner, 2);
  EXPECT_EQ(owner.use_count(), 2) << "the watched item keeps its owner alive";
  DWORD start = GetTickCount();
  while (*handle && GetTickCount() - start < 5000) Sleep(20);
  DWORD elapsed = GetTickCount() - start;
  EXPECT_FALSE(*handle);
  EXPECT_GE(elapsed, 900u);
  EXPECT_LE(elapsed, 2500u);
  EXPECT_EQ(owner.use_count(), 1) << "a closed item is dropped";
  watchdog.Stop();
}

std::string Deflate(const std::string& data, int windowBits) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()) + 32, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

TEST(GzipMember, HeaderFieldsAreSkippedAndBadInputFails) {
  const std::string text(5000, 'x');
  const std::string gzip = Deflate(text, 16 + MAX_WBITS);  // zlib's own gzip wrapper
  const std::string raw = Deflate(text, -MAX_WBITS);
  // A header with a file name and a header CRC before the same deflate data.
  std::string named = std::string("\x1f\x8b\x08\x0a\0\0\0\0\0\xff", 10) + "feed.xml" +
                      std::string("\0\x12\x34", 3) + raw + std::string(8, '\0');
  struct Case {
    const char* name;
    std::string body;
    size_t limit;
    GzipResult expected;
  };
  const Case cases[] = {
      {"plain member", gzip, kMaxBodyBytes, GzipResult::kOk},
      {"name and header CRC", named, kMaxBodyBytes, GzipResult::kOk},
      {"no trailer needed", gzip.substr(0, gzip.size() - 8), kMaxBodyBytes, GzipResult::kOk},
      {"cut short", gzip.substr(0, gzip.size() / 2), kMaxBodyBytes, GzipResult::kBadData},
      {"not gzip", "<rss/>", kMaxBodyBytes, GzipResult::kBadHeader},
      {"header only", gzip.substr(0, 10), kMaxBodyBytes, GzipResult::kBadData},
      {"reserved flag", std::string("\x1f\x8b\x08\x20", 4) + gzip.substr(4), kMaxBodyBytes,
       GzipResult::kBadHeader},
      {"name never ends", std::string("\x1f\x8b\x08\x08\0\0\0\0\0\xff", 10) + "feed", kMaxBodyBytes,
       GzipResult::kBadHeader},
      {"beyond the limit", gzip, 4096, GzipResult::kTooLarge},
  };
  for (const Case& c : cases) {
    std::string out = "stale";
    EXPECT_EQ(DecodeGzipMember(c.body, out, c.limit), c.expected) << c.name;
    EXPECT_EQ(out, c.expected == GzipResult::kOk ? text : "") << c.name;
  }
}

}  // namespace
}  // namespace tw
