#include "framework/logger.h"

#include <windows.h>

#include <cstdio>
#include <ctime>
#include <map>

#include "framework/text.h"

namespace tw {

void CLogger::CDebugOutputLog::Write(const std::string& text) {
  OutputDebugStringW(ToWide(text).c_str());
  if (next_) next_->Write(text);
}

void CLogger::CDebugOutputLog::Flush() {
  if (next_) next_->Flush();
}

CLogger::CFileOutputLog::CFileOutputLog(const std::string& fileName,
                                        std::shared_ptr<COutputLog> next)
    : COutputLog(std::move(next)), file_(ToWide(fileName).c_str(), std::ios::app | std::ios::binary) {}

void CLogger::CFileOutputLog::Write(const std::string& text) {
  file_ << text;
  if (next_) next_->Write(text);
}

void CLogger::CFileOutputLog::Flush() {
  file_.flush();
  if (next_) next_->Flush();
}

void CLogger::Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  LogV(format, args);
  va_end(args);
}

void CLogger::LogV(const char* format, va_list args) {
  if (!output_) return;
  char message[2048];
  std::vsnprintf(message, sizeof message, format, args);
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d ", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  output_->Write(stamp);
  output_->Write(message);
  output_->Flush();
}

CLogger& GetLogger(int level) {
  static std::map<int, CLogger> loggers;
  return loggers[level];
}

void EnableDebugLog() {
  auto debug = std::make_shared<CLogger::CDebugOutputLog>();
  auto file = std::make_shared<CLogger::CFileOutputLog>("log.txt", debug);
  for (int level : {2, 1, 0}) GetLogger(level).SetOutput(file);
}

}  // namespace tw
