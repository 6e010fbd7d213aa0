// The browser front end's server (cpp-httplib): serves the page, long-polls the published state,
// and posts the page's events into the input queue.
#include "WebServer.h"

#include <httplib.h>

#include <nlohmann/json.hpp>
#include <atomic>
#include <thread>

#include "qplatform/Script.h"
#include "qplatform/Verbs.h"

namespace qhostweb {

std::pair<const char*, size_t> EmbeddedFile(const std::string& name);

namespace {

using nlohmann::json;

// A page may send any verb of the session vocabulary but help, which answers a reader of the
// transcript (the page shows the controls itself); anything else is refused at the door.
bool PageMaySend(const std::string& verb) {
  const qhost::Verb* known = qhost::FindVerb(verb);
  return known && verb != "help";
}
const size_t kMaxArgs = 16;
const size_t kMaxBody = 64 * 1024;
// How long a request for a newer state waits before it answers with the same one.
const std::chrono::seconds kLongPoll(20);

bool Refuse(std::string& error, const std::string& why) {
  error = why;
  return false;
}

const char* ContentType(const std::string& name) {
  if (name.size() > 3 && name.compare(name.size() - 3, 3, ".js") == 0) return "text/javascript; charset=utf-8";
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".css") == 0) return "text/css; charset=utf-8";
  return "text/html; charset=utf-8";
}

}  // namespace

bool ParseEventRequest(const std::string& body, qhost::InputEvent& event, std::string& error) {
  if (body.size() > kMaxBody) return Refuse(error, "the request is too long");
  json request = json::parse(body, nullptr, false);
  if (request.is_discarded() || !request.is_object()) return Refuse(error, "the request is not a JSON object");
  event = qhost::InputEvent{};
  if (request.contains("line")) {
    if (!request["line"].is_string()) return Refuse(error, "\"line\" is not a text");
    std::string line = request["line"].get<std::string>();
    if (line.find_first_of("\r\n") != std::string::npos) return Refuse(error, "a line has no line breaks");
    if (!line.empty() && line[0] == '!') {
      if (!qhost::ParseScriptLine(line.substr(1), event, error)) return false;
      if (event.verb.empty()) return Refuse(error, "the line holds no event");
    } else {
      std::string text;
      if (!qhost::Utf8ToCp1251(line, text)) return Refuse(error, "the text is not UTF-8");
      event.verb = "type";
      event.args = {text};
    }
  } else {
    if (!request.contains("verb") || !request["verb"].is_string()) return Refuse(error, "\"verb\" is missing");
    event.verb = request["verb"].get<std::string>();
    if (request.contains("args")) {
      const json& args = request["args"];
      if (!args.is_array() || args.size() > kMaxArgs) return Refuse(error, "\"args\" is not a short list of texts");
      for (const json& arg : args) {
        if (!arg.is_string()) return Refuse(error, "\"args\" is not a short list of texts");
        std::string word;
        if (!qhost::Utf8ToCp1251(arg.get<std::string>(), word)) return Refuse(error, "the text is not UTF-8");
        event.args.push_back(std::move(word));
      }
    }
  }
  if (!PageMaySend(event.verb)) return Refuse(error, "\"" + event.verb + "\" is not an event a page can send");
  event.origin = "page";
  return true;
}

struct WebServer::Impl {
  explicit Impl(Publisher& p) : publisher(p) {}
  Publisher& publisher;
  httplib::Server server;
  std::thread thread;
  int port = 0;
  std::atomic<bool> running{false};
};

WebServer::WebServer(Publisher& publisher) : m_impl(std::make_unique<Impl>(publisher)) {
  httplib::Server& server = m_impl->server;
  Impl* impl = m_impl.get();
  server.set_payload_max_length(kMaxBody);
  // Only pages of this address may talk to it: another site's page in the same browser, or one
  // that renamed itself to a loopback address, names a different host.
  server.set_pre_routing_handler([impl](const httplib::Request& request, httplib::Response& response) {
    std::string host = request.get_header_value("Host");
    std::string port = ":" + std::to_string(impl->port);
    if (host == "127.0.0.1" + port || host == "localhost" + port) return httplib::Server::HandlerResponse::Unhandled;
    response.status = 403;
    response.set_content("qhost serves only http://127.0.0.1" + port + "/\n", "text/plain");
    return httplib::Server::HandlerResponse::Handled;
  });
  server.Get(R"(/(|index\.html|app\.js|style\.css))", [](const httplib::Request& request, httplib::Response& response) {
    std::string name = request.matches[1].str();
    if (name.empty()) name = "index.html";
    auto [data, size] = EmbeddedFile(name);
    if (!data) {
      response.status = 404;
      return;
    }
    response.set_header("Cache-Control", "no-store");
    response.set_content(std::string(data, size), ContentType(name));
  });
  server.Get("/state", [impl](const httplib::Request& request, httplib::Response& response) {
    uint64_t since = 0;
    if (request.has_param("since")) {
      std::string text = request.get_param_value("since");
      if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos) {
        response.status = 400;
        response.set_content("\"since\" is a version number\n", "text/plain");
        return;
      }
      since = std::stoull(text);
    }
    // Before the host first comes to rest there is nothing to show yet: the request waits for it.
    auto state = impl->publisher.Newer(since, kLongPoll);
    if (state->version == 0) {
      response.status = 503;
      response.set_header("Retry-After", "1");
      return;
    }
    response.set_header("Cache-Control", "no-store");
    response.set_content(state->json, "application/json");
  });
  server.Get(R"(/bitmap/([A-Za-z0-9_]{1,64})\.bmp)", [impl](const httplib::Request& request, httplib::Response& response) {
    auto state = impl->publisher.Latest();
    auto found = state->bitmaps.find(request.matches[1].str());
    if (found == state->bitmaps.end()) {
      response.status = 404;
      return;
    }
    response.set_content(found->second, "image/bmp");
  });
  server.Post("/event", [](const httplib::Request& request, httplib::Response& response) {
    // A JSON body cannot come from a plain form of another site without the browser asking first.
    if (request.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
      response.status = 415;
      response.set_content("events are JSON\n", "text/plain");
      return;
    }
    qhost::InputEvent event;
    std::string error;
    if (!ParseEventRequest(request.body, event, error)) {
      response.status = 400;
      response.set_content(error + "\n", "text/plain");
      return;
    }
    qhost::InputQueue::Instance().Post(std::move(event));
    response.status = 202;
  });
}

WebServer::~WebServer() {
  Stop();
  if (m_impl->thread.joinable()) m_impl->thread.join();
}

bool WebServer::Start(int port, std::string& error) {
  Impl& impl = *m_impl;
  impl.port = port == 0 ? impl.server.bind_to_any_port("127.0.0.1") : (impl.server.bind_to_port("127.0.0.1", port) ? port : -1);
  if (impl.port <= 0) {
    error = "cannot listen on 127.0.0.1:" + std::to_string(port);
    return false;
  }
  qhost::InputQueue::Instance().OpenFeed();
  impl.running = true;
  impl.thread = std::thread([&impl] { impl.server.listen_after_bind(); });
  return true;
}

int WebServer::Port() const { return m_impl->port; }

void WebServer::Stop() {
  Impl& impl = *m_impl;
  if (!impl.running.exchange(false)) return;
  impl.publisher.Close();
  impl.server.stop();
  qhost::InputQueue::Instance().CloseFeed();
}

}  // namespace qhostweb
