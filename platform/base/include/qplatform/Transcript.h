// The command-line transcript: everything the host printed and every answer it was given.
// Stand-in only: front ends show it, tests compare it.
#pragma once

#include <functional>
#include <string>

namespace qhost {

class Transcript {
 public:
  using Sink = std::function<void(const std::string& cp1251)>;
  static Transcript& Instance();

  // Host output (prompts, messages), code page 1251.
  void Write(const std::string& text);
  // An answer to a prompt as the transcript records it. `typedAtTerminal`: the person already
  // sees it on the screen, so the sink is not given it again.
  void Echo(const std::string& text, bool typedAtTerminal);

  const std::string& Text() const { return m_text; }
  void Clear() { m_text.clear(); }
  // Where output goes as it is written (the terminal); none by default.
  void SetSink(Sink sink) { m_sink = std::move(sink); }

 private:
  std::string m_text;
  Sink m_sink;
};

}  // namespace qhost
