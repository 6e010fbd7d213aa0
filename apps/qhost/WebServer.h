// The browser front end's server: the page, the published state and the user's events, on a
// loopback address only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "WebState.h"
#include "qplatform/InputQueue.h"

namespace qhostweb {

// The port the page is served on unless --port says otherwise.
constexpr int kDefaultPort = 8251;

// Turns one posted request body into an event of the session vocabulary: {"verb": "click",
// "args": ["5042"]}, or {"line": "LINE"} / {"line": "!pick 10 20"} as typed at the terminal.
// Texts arrive in UTF-8 and leave in code page 1251. False, with `error`, for anything else.
bool ParseEventRequest(const std::string& body, qhost::InputEvent& event, std::string& error);
// A number of a request (a version asked for, a length): decimal digits only, at most 19.
bool ParseDecimal(const std::string& text, uint64_t& value);
// The value of the cookie `name` in a Cookie header ("a=1; name=value"); "" when it is not there.
std::string CookieValue(const std::string& header, const std::string& name);

class WebServer {
 public:
  explicit WebServer(Publisher& publisher);
  ~WebServer();
  // Listens on 127.0.0.1:`port` (any free port for 0) in a thread of its own, posting events into
  // the input queue as one feed. False, with `error`, when the port cannot be had.
  bool Start(int port, std::string& error);
  int Port() const;
  // This run's secret: the page's address carries it once (/?t=), the browser keeps it as a cookie,
  // and every other request without it is refused.
  const std::string& Token() const;
  // Stops listening, closes the feed and wakes the page's waits. Any thread, any number of times.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace qhostweb
