// The browser front end's server (cpp-httplib): serves the page, long-polls the published state,
// and posts the page's events into the input queue.
#include "WebServer.h"

#include <httplib.h>
#include <openssl/crypto.h>
#include <sys/random.h>

#include <nlohmann/json.hpp>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

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
// How long a request for a newer state waits before it answers with the same one, and how many
// such requests wait at once (a page has one; a second tab or a reload may add one).
const std::chrono::seconds kLongPoll(20);
const int kMaxLongPolls = 4;
// Connections served at once; more wait for one of them to end.
const size_t kMaxConnections = 64;
// How long the server waits for a client to send or take the next bytes, or for the next request
// on an idle connection.
const std::chrono::seconds kReadTimeout(2);
const std::chrono::seconds kWriteTimeout(5);
const char kStateType[] = "application/json; charset=utf-8";

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

bool ParseDecimal(const std::string& text, uint64_t& value) {
  if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::stoull(text);
  return true;
}

std::string CookieValue(const std::string& header, const std::string& name) {
  size_t at = 0;
  while (at < header.size()) {
    size_t end = header.find(';', at);
    if (end == std::string::npos) end = header.size();
    size_t from = header.find_first_not_of(' ', at);
    if (from < end && end - from > name.size() && header.compare(from, name.size() + 1, name + "=") == 0)
      return header.substr(from + name.size() + 1, end - from - name.size() - 1);
    at = end + 1;
  }
  return std::string();
}

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

namespace {

// Each connection a thread of its own, up to kMaxConnections: a client that holds its connection
// (a long poll, a request trickling in, an idle socket) keeps only its own thread, and the next
// request does not wait behind it. Threads stay for the next connections until the server stops.
class ConnectionThreads : public httplib::TaskQueue {
 public:
  void enqueue(std::function<void()> job) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_jobs.push_back(std::move(job));
    if (m_jobs.size() > m_idle && m_threads.size() < kMaxConnections) m_threads.emplace_back([this] { Work(); });
    m_wake.notify_one();
  }
  void shutdown() override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& t : m_threads) t.join();
  }

 private:
  void Work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      ++m_idle;
      m_wake.wait(lock, [this] { return !m_jobs.empty() || m_stopping; });
      --m_idle;
      if (m_jobs.empty()) return;
      std::function<void()> job = std::move(m_jobs.front());
      m_jobs.pop_front();
      lock.unlock();
      job();
      lock.lock();
    }
  }
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_jobs;
  std::vector<std::thread> m_threads;
  size_t m_idle = 0;
  bool m_stopping = false;
};

// 24 random bytes as hexadecimal, from the kernel's generator.
std::string RandomToken() {
  unsigned char bytes[24];
  size_t got = 0;
  while (got < sizeof bytes) {
    ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("no random bytes for the page's token");
    got += static_cast<size_t>(n);
  }
  static const char kHex[] = "0123456789abcdef";
  std::string token;
  for (unsigned char b : bytes) {
    token += kHex[b >> 4];
    token += kHex[b & 15];
  }
  return token;
}

// Whether `given` is the secret, in a time that does not depend on where they differ.
bool IsSecret(const std::string& given, const std::string& secret) {
  return given.size() == secret.size() && CRYPTO_memcmp(given.data(), secret.data(), secret.size()) == 0;
}

// The value of the cookie `name` among the request's cookies ("" when it has none).
std::string RequestCookie(const httplib::Request& request, const std::string& name) {
  for (size_t i = 0, n = request.get_header_value_count("Cookie"); i < n; ++i) {
    std::string value = CookieValue(request.get_header_value("Cookie", i), name);
    if (!value.empty()) return value;
  }
  return std::string();
}

httplib::Server::HandlerResponse Answer(httplib::Response& response, int status, const std::string& why) {
  response.status = status;
  // What is left of a refused request's body is not read: the connection ends with the answer.
  response.set_header("Connection", "close");
  response.set_content(why + "\n", "text/plain; charset=utf-8");
  return httplib::Server::HandlerResponse::Handled;
}

}  // namespace

struct WebServer::Impl {
  explicit Impl(Publisher& p) : publisher(p), token(RandomToken()) {}
  Publisher& publisher;
  const std::string token;
  httplib::Server server;
  std::thread thread;
  int port = 0;
  std::atomic<bool> running{false};
  std::atomic<int> longPolls{0};

  // The session cookie is named after the port: cookies do not tell ports apart, and two qhosts
  // may serve at once.
  std::string CookieName() const { return "qhost-" + std::to_string(port); }

  // Every request passes here before its body is read.
  httplib::Server::HandlerResponse Gate(const httplib::Request& request, httplib::Response& response) const {
    // Only pages of this address may talk to it: another site's page in the same browser, or one
    // that renamed itself to a loopback address, names a different host.
    std::string host = request.get_header_value("Host");
    std::string port = ":" + std::to_string(this->port);
    if (host != "127.0.0.1" + port && host != "localhost" + port)
      return Answer(response, 403, "qhost serves only http://127.0.0.1" + port + "/");
    // The address qhost printed carries the run's secret once; the browser keeps it as a cookie
    // that no script reads and no other site's request carries.
    if (request.method == "GET" && request.path == "/" && request.has_param("t")) {
      if (!IsSecret(request.get_param_value("t"), token))
        return Answer(response, 403, "this is not the address qhost printed");
      response.set_header("Set-Cookie", CookieName() + "=" + token + "; HttpOnly; SameSite=Strict; Path=/");
      response.set_redirect("/", 303);
      return httplib::Server::HandlerResponse::Handled;
    }
    if (!IsSecret(RequestCookie(request, CookieName()), token))
      return Answer(response, 403, "open the page at the address qhost printed (with its ?t=)");
    if (request.method != "GET" && request.method != "HEAD") {
      std::string origin = request.get_header_value("Origin");
      if (request.has_header("Origin") && origin != "http://" + host)
        return Answer(response, 403, "a page of " + origin + " may not send events");
      if (request.method != "POST" || request.path != "/event") return Answer(response, 405, "only events are posted");
    }
    uint64_t length = 0;
    if (request.has_header("Content-Length") && !ParseDecimal(request.get_header_value("Content-Length"), length))
      return Answer(response, 400, "Content-Length is a number");
    if (length > kMaxBody) return Answer(response, 413, "a request is at most " + std::to_string(kMaxBody / 1024) + " KiB");
    return httplib::Server::HandlerResponse::Unhandled;
  }
};

WebServer::WebServer(Publisher& publisher) : m_impl(std::make_unique<Impl>(publisher)) {
  httplib::Server& server = m_impl->server;
  Impl* impl = m_impl.get();
  server.new_task_queue = [] { return new ConnectionThreads; };
  // A client that stops sending or reading, or leaves its connection idle, loses it in seconds.
  server.set_read_timeout(kReadTimeout);
  server.set_write_timeout(kWriteTimeout);
  server.set_keep_alive_timeout(kReadTimeout.count());
  server.set_payload_max_length(kMaxBody);
  server.set_default_headers({
      // The page runs only its own script, from its own address, in no other page's frame.
      {"Content-Security-Policy",
       "default-src 'self'; script-src 'self'; style-src 'self'; img-src 'self' data:; object-src 'none'; "
       "base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
      {"X-Content-Type-Options", "nosniff"},
      {"X-Frame-Options", "DENY"},
      {"Referrer-Policy", "no-referrer"},
  });
  server.set_pre_routing_handler(
      [impl](const httplib::Request& request, httplib::Response& response) { return impl->Gate(request, response); });
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
      if (!ParseDecimal(text, since)) {
        response.status = 400;
        response.set_content("\"since\" is a version number\n", "text/plain");
        return;
      }
    }
    // Before the host first comes to rest there is nothing to show yet: the request waits for it.
    // Only a few requests wait at once; the others have the latest state at once.
    bool mayWait = impl->longPolls.fetch_add(1) < kMaxLongPolls;
    auto state = mayWait ? impl->publisher.Newer(since, kLongPoll) : impl->publisher.Latest();
    impl->longPolls.fetch_sub(1);
    if (state->version == 0) {
      response.status = 503;
      response.set_header("Retry-After", "1");
      return;
    }
    response.set_header("Cache-Control", "no-store");
    // The library compresses "application/json" (Brotli at its slowest level first), which would
    // cost a large drawing seconds at every rest; this spelling of the type it leaves alone.
    response.set_content(state->json, kStateType);
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
  server.Post("/event", [](const httplib::Request& request, httplib::Response& response,
                           const httplib::ContentReader& read) {
    // A JSON body cannot come from a plain form of another site without the browser asking first.
    if (request.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
      Answer(response, 415, "events are JSON");
      return;
    }
    // Read here, whatever its encoding (a length, chunks, compressed), and refused at the limit.
    std::string body;
    bool tooLong = false;
    read([&body, &tooLong](const char* data, size_t size) {
      tooLong = body.size() + size > kMaxBody;
      if (!tooLong) body.append(data, size);
      return !tooLong;
    });
    if (tooLong) {
      Answer(response, 413, "a request is at most " + std::to_string(kMaxBody / 1024) + " KiB");
      return;
    }
    qhost::InputEvent event;
    std::string error;
    if (!ParseEventRequest(body, event, error)) {
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

const std::string& WebServer::Token() const { return m_impl->token; }

void WebServer::Stop() {
  Impl& impl = *m_impl;
  if (!impl.running.exchange(false)) return;
  impl.publisher.Close();
  impl.server.stop();
  qhost::InputQueue::Instance().CloseFeed();
}

}  // namespace qhostweb
