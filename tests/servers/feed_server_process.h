#pragma once
// Starts the local feed server (feed_server.py beside this file) for a test program and ends
// it again. Under Wine the server is the Linux python3 (started as a Unix program: Wine gives
// such a child no usable process handle, so the server reports its port through a file and
// ends by itself on /quit or when its parent goes).
#include <string>

namespace tw::test {

class CFeedServer {
 public:
  CFeedServer();
  ~CFeedServer();
  CFeedServer(const CFeedServer&) = delete;
  CFeedServer& operator=(const CFeedServer&) = delete;

  // 0 when the server could not be started.
  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path) const;
  // The body of a plain GET of path (no redirects followed, no cache); empty on failure.
  std::string Get(const std::string& path) const;
  // How many requests the server has had for path (query ignored).
  int Hits(const std::string& path) const;

 private:
  int port_ = 0;
};

}  // namespace tw::test
