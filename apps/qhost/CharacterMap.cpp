// qhost's own character map.
#include "CharacterMap.h"

#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "qplatform/WindowSystem.h"
#include "windows.h"

namespace qhostui {

namespace {

// The id of the waiting dialog's first rich edit control; 0 when it has none.
int RichEditOfActiveDialog() {
  for (HWND child = GetWindow(GetActiveWindow(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = "";
    GetClassName(child, name, sizeof name);
    if (strncasecmp(name, "richedit", 8) == 0) return GetDlgCtrlID(child);
  }
  return 0;
}

// The map that the last source to hear of "Charmap.exe" opened.
bool g_open = false;

}  // namespace

bool CharacterMapOpen() { return g_open; }

std::string CharacterTable() {
  std::string table = "\nCharacter map (code page 1251): charmap <code>\n";
  for (int row = 0x20; row < 0x100; row += 16) {
    char code[8];
    std::snprintf(code, sizeof code, "%02x ", row);
    table += code;
    for (int c = row; c < row + 16; ++c) {
      table += ' ';
      table += c == 0x7F || c == 0x98 ? ' ' : static_cast<char>(c);  // no glyph at these codes
    }
    table += '\n';
  }
  return table;
}

CharacterMapSource::CharacterMapSource(std::unique_ptr<qhost::InputSource> inner, void (*show)(const std::string&))
    : m_inner(std::move(inner)), m_show(show) {}

std::optional<qhost::InputEvent> CharacterMapSource::Next(const std::string& waitingFor) {
  const auto& requests = qwin::ShellRequests();
  for (; m_requestsSeen < requests.size(); ++m_requestsSeen) {
    if (requests[m_requestsSeen].commandLine != "Charmap.exe") continue;
    m_open = true;
    if (m_show) m_show(CharacterTable());
  }
  g_open = m_open;
  auto event = m_inner->Next(waitingFor);
  if (!event || !m_open || event->verb != "charmap" || event->args.size() != 1) return event;
  const std::string& chosen = event->args[0];
  char* end = nullptr;
  const long code = std::strtol(chosen.c_str(), &end, 16);
  std::string character = chosen;
  if (chosen.size() > 1 && *end == '\0' && code >= 0x20 && code <= 0xFF) character = std::string(1, static_cast<char>(code));
  if (character.size() != 1) return event;  // not a character of the map: reported as unusable
  m_open = false;
  g_open = false;
  event->verb = "type";
  event->args = {character};
  // The user goes back to the text with the character, as from the system's map: the caret's
  // control takes the focus again first.
  if (const int editor = RichEditOfActiveDialog()) {
    qhost::InputQueue::Instance().PushFront({*event});
    return qhost::InputEvent{"focus", {std::to_string(editor)}, event->origin};
  }
  return event;
}

}  // namespace qhostui
