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
  struct Options {
    HWND hostWindow = nullptr;  // the host's own main window, which the page does not draw
    int port = 0;               // 0: any free port
    bool terminal = false;      // the standard input is a terminal whose lines are read too
    std::function<void()> typed;             // hears of each line typed, on the reader's thread
    std::function<bool()> characterMapOpen;  // whether qhost's character map is open
  };
  WebFrontEnd();
  ~WebFrontEnd();
  // Starts the server and, at a terminal, a reader of its lines; both post into the input queue.
  // False, with `error`, when the port is taken.
  bool Start(const Options& options, std::string& error);
  // The address the page is served at, with this run's secret: the one way in.
  std::string Address() const;
  // The input queue's source while serving: the posted events, for the wrapping sources to see.
  std::unique_ptr<qhost::InputSource> Source();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace qhostweb
