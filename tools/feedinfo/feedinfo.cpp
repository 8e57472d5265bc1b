// feedinfo.exe FILE — loads a feed file the way a download is loaded, detects its format,
// reads it and prints UTF-8 JSON lines: first {"format": F, "title": T}, then one line per
// item. Exit code 0 when a reader or OPML porter applies, 2 when the document is no feed,
// 1 when it cannot be read as XML.
// feedinfo.exe URL — fetches the feed through the program's downloader (same headers,
// redirects, gzip and time-out) and first prints {"status": S, "moved": M, "location": L,
// "lastModified": LM, "fresh": F}; exit code 1 also when nothing could be fetched.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "feeds/feed_detector.h"
#include "framework/com.h"
#include "framework/text.h"
#include "framework/xml.h"
#include "retrieval/connection_pool.h"

namespace tw {
namespace {

constexpr int kExitFeed = 0;
constexpr int kExitNotXml = 1;
constexpr int kExitNotFeed = 2;

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

std::string JsonCp932(const std::string& cp932) { return JsonString(Cp932ToUtf8(cp932)); }

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

void PrintError(const std::wstring& message) {
  std::string utf8 = "feedinfo: " + ToUtf8(message) + "\n";
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

std::string ItemLine(const CFeedItem& item) {
  return "{\"title\": " + JsonCp932(item.title) + ", \"link\": " + JsonCp932(item.link) +
         ", \"description\": " + JsonCp932(item.description) +
         ", \"encoded\": " + JsonCp932(item.encoded) + ", \"source\": " + JsonCp932(item.source) +
         ", \"date\": " + JsonCp932(item.date.FormatW3C()) +
         ", \"time\": " + std::to_string(item.date.Time()) + "}";
}

// The user agent and time-out of a download with the default preferences.
constexpr char kUserAgent[] = "Tidewatch 1.10";
constexpr int kTimeoutSeconds = 20;

bool IsUrl(const std::wstring& arg) {
  for (const wchar_t* scheme : {L"http://", L"https://"}) {
    size_t n = wcslen(scheme);
    if (arg.size() > n && _wcsnicmp(arg.c_str(), scheme, n) == 0) return true;
  }
  return false;
}

int PrintDocument(const CXmlDocument& doc);

int RunUrl(const std::wstring& url) {
  CConnectionPool pool(1, kUserAgent, kTimeoutSeconds);
  CConnectionInfoPtr answer = pool.Wait(pool.Request(ToCp932(url), ""));
  if (!answer) {
    PrintError(L"the downloader cannot start");
    return kExitNotXml;
  }
  PrintLine("{\"status\": " + std::to_string(answer->status) +
            ", \"moved\": " + (answer->moved ? "true" : "false") +
            ", \"location\": " + JsonCp932(answer->newLocation) +
            ", \"lastModified\": " + JsonCp932(answer->lastModified) +
            ", \"fresh\": " + (answer->contentReceived ? "true" : "false") + "}");
  if (!answer->succeeded || !answer->document) {
    PrintError(url + L": cannot be fetched as a feed");
    return kExitNotXml;
  }
  return PrintDocument(*answer->document);
}

int Run(const std::wstring& path) {
  if (IsUrl(path)) return RunUrl(path);
  CXmlDocument doc;
  if (!doc.LoadFile(path)) {
    PrintError(path + L": " + doc.ParseError());
    return kExitNotXml;
  }
  return PrintDocument(doc);
}

int PrintDocument(const CXmlDocument& doc) {
  FeedFormat format = DetectFeedFormat(doc);
  const char* name = FeedFormatName(format);
  std::shared_ptr<CFeedReader> reader = CreateFeedReader(format, doc);
  // OPML documents are recognised; reading their outlines is the porters' job.
  std::string title = reader ? JsonCp932(reader->ChannelTitle()) : "null";
  PrintLine(std::string("{\"format\": ") + (name ? JsonString(name) : "null") +
            ", \"title\": " + title + "}");
  if (format == FeedFormat::kNone) return kExitNotFeed;
  if (reader) {
    while (auto item = reader->NextItem()) PrintLine(ItemLine(*item));
  }
  return kExitFeed;
}

}  // namespace
}  // namespace tw

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc != 2) {
    tw::PrintError(L"usage: feedinfo FILE|URL");
    return tw::kExitNotXml;
  }
  // Multithreaded: a fetched document is made on a connection thread and read here.
  tw::CComInit com(COINIT_MULTITHREADED);
  try {
    return tw::Run(argv[1]);
  } catch (const tw::CComException& e) {
    tw::PrintError(L"XML error: " + tw::FromUtf8(e.what()));
    return tw::kExitNotXml;
  }
}
