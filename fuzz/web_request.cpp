// Fuzz target: what the page's server makes of a request's parts: an /event body becomes an event
// or a reason, a query string its parameters and a version, a Cookie header the run's cookie.
#include <httplib.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "WebServer.h"
#include "qplatform/InputQueue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  qhost::InputEvent event;
  std::string error;
  if (qhostweb::ParseEventRequest(bytes, event, error)) {
    if (event.verb.empty() || event.origin != "page" || event.args.size() > 16) std::abort();
  } else if (error.empty()) {
    std::abort();  // a refusal always says why
  }
  httplib::Params params;
  httplib::detail::parse_query_text(bytes, params);
  for (const auto& [key, value] : params) {
    uint64_t version = 0;
    if (qhostweb::ParseDecimal(value, version) && value.size() < 4 && version > 999) std::abort();
  }
  std::string cookie = qhostweb::CookieValue(bytes, "qhost-8251");
  if (cookie.find(';') != std::string::npos) std::abort();
  return 0;
}
