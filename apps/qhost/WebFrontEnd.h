// The browser front end as qhost runs it: the publisher at each rest of the host, the server, and
// the terminal beside them, all feeding the one input queue.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "qplatform/InputQueue.h"

namespace qhostweb {

class WebFrontEnd {
 public:
  WebFrontEnd();
  ~WebFrontEnd();
  // Starts the server on `port` (kDefaultPort unless given; 0 for any free port) and, when the
  // standard input is a terminal, a reader of its lines (`typed` hears of each, on the reader's
  // thread); both post into the input queue. Ctrl-C or SIGTERM stops both, which ends every wait.
  // False, with `error`, when the port is taken.
  bool Start(HWND hostWindow, int port, bool terminal, std::string& error, std::function<void()> typed = nullptr);
  // The address the page is served at.
  std::string Address() const;
  // The input queue's source while serving: the posted events, for the wrapping sources to see.
  std::unique_ptr<qhost::InputSource> Source();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace qhostweb
