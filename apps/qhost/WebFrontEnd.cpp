// The browser front end as qhost runs it.
#include "WebFrontEnd.h"

#include <atomic>
#include <cstdio>
#include <thread>

#include "WebServer.h"
#include "WebState.h"
#include "qplatform/Host.h"
#include "qplatform/Script.h"

namespace qhostweb {
namespace {

// The posted events as the input queue's source, innermost, so that the sources around it see
// them. Asked only when nothing is pending, when the host is at rest: what the page shows is
// published first.
class FeedSource : public qhost::InputSource {
 public:
  explicit FeedSource(Publisher& publisher) : m_publisher(publisher) {}
  std::optional<qhost::InputEvent> Next(const std::string& waitingFor) override {
    std::fflush(stdout);  // the prompt, for the person at the terminal
    m_publisher.Update(waitingFor);
    return qhost::InputQueue::Instance().WaitForPosted();
  }
  std::string Name() const override { return "page"; }

 private:
  Publisher& m_publisher;
};

}  // namespace

struct WebFrontEnd::Impl {
  std::unique_ptr<Publisher> publisher;
  std::unique_ptr<WebServer> server;
  std::atomic<bool> terminalOpen{false};

  void CloseTerminal() {
    if (terminalOpen.exchange(false)) qhost::InputQueue::Instance().CloseFeed();
  }
};

WebFrontEnd::WebFrontEnd() : m_impl(std::make_unique<Impl>()) {}

WebFrontEnd::~WebFrontEnd() { Stop(); }

bool WebFrontEnd::Start(const Options& options, std::string& error) {
  Impl& impl = *m_impl;
  impl.publisher = std::make_unique<Publisher>(options.hostWindow, PaintCurrentDrawing, options.characterMapOpen);
  impl.server = std::make_unique<WebServer>(*impl.publisher);

  if (!impl.server->Start(options.port, error)) return false;

  if (options.terminal) {
    qhost::InputQueue::Instance().OpenFeed();
    impl.terminalOpen = true;
    std::thread([&impl, typed = options.typed] {
      qhost::TerminalSource lines(stdin, true);
      while (auto event = lines.Next(std::string())) {
        if (typed) typed();
        qhost::InputQueue::Instance().Post(std::move(*event));
      }
      std::fputs("\nqhost: the terminal has closed; the page goes on (Ctrl-C ends qhost).\n", stderr);
      impl.CloseTerminal();
    }).detach();
  }
  return true;
}

std::string WebFrontEnd::Address() const {
  if (!m_impl->server) return std::string();
  return "http://127.0.0.1:" + std::to_string(m_impl->server->Port()) + "/?t=" + m_impl->server->Token();
}

std::unique_ptr<qhost::InputSource> WebFrontEnd::Source() { return std::make_unique<FeedSource>(*m_impl->publisher); }

void WebFrontEnd::Stop() {
  if (m_impl->server) m_impl->server->Stop();
  m_impl->CloseTerminal();
}

}  // namespace qhostweb
