// Session scripts and the terminal: the front ends that feed the input queue (stand-in only).
// The vocabulary is written down in docs/session-script.md.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qplatform/InputQueue.h"

namespace qhost {

// UTF-8 to code page 1251 and back, at the edge. A character that code page 1251 lacks becomes
// "\U+XXXX"; invalid UTF-8 gives false.
bool Utf8ToCp1251(const std::string& utf8, std::string& cp1251);
std::string Cp1251ToUtf8(const std::string& cp1251);

// One line of a script: a verb and its words. Blank lines and comments (#) give an event with
// an empty verb. False, with `error`, for a malformed line (an open quote, a bad escape, bad UTF-8).
bool ParseScriptLine(const std::string& utf8Line, InputEvent& event, std::string& error);

// The events of a script file, in order; `origin` of each is "file:line".
class ScriptSource : public InputSource {
 public:
  // Null, with `error` naming the line, when the file cannot be read or a line is malformed.
  static std::unique_ptr<ScriptSource> FromFile(const std::string& path, std::string& error);
  static std::unique_ptr<ScriptSource> FromText(const std::string& utf8Text, const std::string& name,
                                                std::string& error);
  std::optional<InputEvent> Next(const std::string& waitingFor) override;
  std::string Name() const override { return m_name; }

 private:
  std::string m_name;
  std::vector<InputEvent> m_events;
  size_t m_next = 0;
};

// Reads one line typed at the terminal, without its line end; nullopt at the end of input.
using TerminalLineReader = std::function<std::optional<std::string>()>;

// The process has one terminal: a front end with a line editor installs it here, and every
// TerminalSource of a real terminal then reads through it (null: plain characters up to '\n').
void SetTerminalLineReader(TerminalLineReader reader);

// Lines typed at a terminal: each line is typed input ("type"); a line that starts with "!" is a
// script line ("!escape", "!pick 10 20"). Ends at end of input. At a real terminal the person
// sees what they typed, so events come from "terminal" and are not echoed again; lines from a
// pipe come from "stdin:N" and are.
class TerminalSource : public InputSource {
 public:
  TerminalSource(std::FILE* in, bool isTerminal) : m_in(in), m_isTerminal(isTerminal) {}
  std::optional<InputEvent> Next(const std::string& waitingFor) override;
  std::string Name() const override { return m_isTerminal ? "terminal" : "stdin"; }

 private:
  std::FILE* m_in;
  bool m_isTerminal;
  int m_line = 0;
};

}  // namespace qhost
