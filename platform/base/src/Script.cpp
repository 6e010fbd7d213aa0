// Session scripts and the terminal source; UTF-8 to code page 1251 at the edge.
#include "qplatform/Script.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "qplatform/Cp1251.h"

namespace qhost {
namespace {

// Decodes one UTF-8 character at `i`; false for an invalid sequence.
bool NextCodePoint(const std::string& s, size_t& i, uint32_t& cp) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  int n = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
  if (n < 0) return false;
  cp = n == 0 ? b : b & (0x3F >> n);
  for (int k = 1; k <= n; ++k) {
    if (i + static_cast<size_t>(k) >= s.size()) return false;
    unsigned char c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((c & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (c & 0x3F);
  }
  i += static_cast<size_t>(n) + 1;
  return true;
}

int ByteOf(uint32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  const auto& from = detail::Cp1251().fromUnicode;
  auto it = from.find(cp);
  return it == from.end() ? -1 : it->second;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool Utf8ToCp1251(const std::string& utf8, std::string& cp1251) {
  cp1251.clear();
  for (size_t i = 0; i < utf8.size();) {
    uint32_t cp = 0;
    if (!NextCodePoint(utf8, i, cp)) return false;
    int b = ByteOf(cp);
    if (b >= 0) {
      cp1251 += static_cast<char>(b);
    } else {
      detail::AppendUnicodeEscape(cp1251, cp);
    }
  }
  return true;
}

std::string Cp1251ToUtf8(const std::string& cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (unsigned char b : cp1251) {
    uint32_t cp = detail::Cp1251().toUnicode[b];
    detail::AppendUtf8(out, cp == detail::Cp1251Table::kNone ? 0xFFFD : cp);
  }
  return out;
}

bool ParseScriptLine(const std::string& line, InputEvent& event, std::string& error) {
  event = InputEvent{};
  std::vector<std::string> words, received;
  size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) ++i;
    if (i >= line.size() || (words.empty() && line[i] == '#')) break;
    std::string word, raw;
    if (line[i] == '"') {
      // A quoted word: UTF-8 text with \" \\ \n \r \t \e and \xHH (one byte of code page 1251).
      std::string pending;
      auto flush = [&] {
        std::string converted;
        if (!Utf8ToCp1251(pending, converted)) return false;
        word += converted;
        raw += pending;
        pending.clear();
        return true;
      };
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          pending += c;
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
          case '"': pending += '"'; break;
          case '\\': pending += '\\'; break;
          case 'n': pending += '\n'; break;
          case 'r': pending += '\r'; break;
          case 't': pending += '\t'; break;
          case 'e': pending += '\x1b'; break;
          case 'x': {
            int h1 = i < line.size() ? HexDigit(line[i]) : -1;
            int h2 = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
            if (h1 < 0 || h2 < 0) {
              error = "\\x needs two hexadecimal digits";
              return false;
            }
            if (!flush()) {
              error = "the text is not UTF-8";
              return false;
            }
            word += static_cast<char>(h1 * 16 + h2);
            raw += static_cast<char>(h1 * 16 + h2);
            i += 2;
            break;
          }
          default:
            error = std::string("unknown escape \\") + e + " in a quoted word";
            return false;
        }
      }
      if (!closed) {
        error = "a quoted word is not closed";
        return false;
      }
      if (!flush()) {
        error = "the text is not UTF-8";
        return false;
      }
    } else {
      size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '\n') ++i;
      raw = line.substr(start, i - start);
      if (!Utf8ToCp1251(raw, word)) {
        error = "the text is not UTF-8";
        return false;
      }
    }
    words.push_back(std::move(word));
    received.push_back(std::move(raw));
  }
  if (words.empty()) return true;
  event.verb = words.front();
  for (char& c : event.verb) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  event.args.assign(words.begin() + 1, words.end());
  event.received.assign(received.begin() + 1, received.end());
  return true;
}

std::unique_ptr<ScriptSource> ScriptSource::FromText(const std::string& text, const std::string& name,
                                                     std::string& error) {
  auto source = std::unique_ptr<ScriptSource>(new ScriptSource());
  source->m_name = name;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    InputEvent event;
    std::string why;
    if (!ParseScriptLine(line, event, why)) {
      error = name + ":" + std::to_string(number) + ": " + why;
      return nullptr;
    }
    if (event.verb.empty()) continue;
    event.origin = name + ":" + std::to_string(number);
    source->m_events.push_back(std::move(event));
  }
  return source;
}

std::unique_ptr<ScriptSource> ScriptSource::FromFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  struct stat st {};
  if (!in || (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
    error = path + ": cannot read the script: " + std::strerror(in ? EISDIR : errno);
    return nullptr;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  return FromText(ss.str(), path, error);
}

std::optional<InputEvent> ScriptSource::Next(const std::string&) {
  if (m_next >= m_events.size()) return std::nullopt;
  return m_events[m_next++];
}

namespace {

TerminalLineReader& LineReader() {
  static TerminalLineReader reader;
  return reader;
}

std::optional<std::string> ReadPlainLine(std::FILE* in) {
  std::string line;
  int c;
  while ((c = std::fgetc(in)) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) return std::nullopt;
  return line;
}

}  // namespace

void SetTerminalLineReader(TerminalLineReader reader) { LineReader() = std::move(reader); }

std::optional<InputEvent> TerminalSource::Next(const std::string&) {
  std::optional<std::string> read = m_isTerminal && LineReader() ? LineReader()() : ReadPlainLine(m_in);
  if (!read) return std::nullopt;
  std::string line = std::move(*read);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  ++m_line;
  InputEvent event;
  std::string error;
  if (!line.empty() && line[0] == '!') {
    if (!ParseScriptLine(line.substr(1), event, error) || event.verb.empty()) {
      // A malformed escape line is given to the host as typed text, which it reports.
      event = InputEvent{"type", {line}, "", {line}};
    }
  } else {
    std::string text;
    if (!Utf8ToCp1251(line, text)) text = line;
    event = InputEvent{"type", {text}, "", {line}};
  }
  event.origin = m_isTerminal ? std::string("terminal") : "stdin:" + std::to_string(m_line);
  return event;
}

}  // namespace qhost
