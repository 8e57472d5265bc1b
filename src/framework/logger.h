#pragma once
// A minimal diagnostic log, off unless the program runs with the debug switch. Each numbered
// level has a logger that writes a time-stamped line through a chain of outputs.
#include <cstdarg>
#include <fstream>
#include <memory>
#include <string>

namespace tw {

class COutputLog {
 public:
  explicit COutputLog(std::shared_ptr<COutputLog> next = nullptr) : next_(std::move(next)) {}
  virtual ~COutputLog() = default;
  virtual void Write(const std::string& text) = 0;
  virtual void Flush() = 0;

 protected:
  std::shared_ptr<COutputLog> next_;
};

class CLogger {
 public:
  class CDebugOutputLog : public COutputLog {
   public:
    using COutputLog::COutputLog;
    void Write(const std::string& text) override;
    void Flush() override;
  };

  class CFileOutputLog : public COutputLog {
   public:
    // Opens the file for appending (created when missing).
    CFileOutputLog(const std::string& fileName, std::shared_ptr<COutputLog> next);
    void Write(const std::string& text) override;
    void Flush() override;

   private:
    std::ofstream file_;
  };

  void SetOutput(std::shared_ptr<COutputLog> output) { output_ = std::move(output); }
  bool HasOutput() const { return static_cast<bool>(output_); }
  // printf-style; messages longer than 2047 bytes are cut. Writes the time stamp, then the
  // message (which carries its own line end), then flushes.
  void Log(const char* format, ...);
  void LogV(const char* format, va_list args);

 private:
  std::shared_ptr<COutputLog> output_;
};

// The logger of a level, created on first use. Levels: 0 information, 1 failures, 2 unused.
CLogger& GetLogger(int level);

// What the debug switch sets up: debugger output plus "log.txt" in the working folder, attached
// to levels 2, 1 and 0.
void EnableDebugLog();

}  // namespace tw
