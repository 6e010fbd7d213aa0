// Compact pictures of dialogs and of changed entities, made from the stand-ins' own descriptions.
#include "UiView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "accmd.h"
#include "acuiComboBox.h"
#include "dbsymtb.h"
#include "qplatform/Host.h"
#include "qplatform/WindowSystem.h"
#include "SpellMarks.h"

namespace qhostui {
namespace {

size_t Indent(const std::string& line) { return line.find_first_not_of(' '); }

// The first quoted word of a snapshot line from `from` on, quotes and escapes kept as written.
std::string Quoted(const std::string& line, size_t from = 0) {
  size_t open = line.find('"', from);
  if (open == std::string::npos) return std::string();
  size_t i = open + 1;
  while (i < line.size() && line[i] != '"') i += line[i] == '\\' ? 2 : 1;
  return line.substr(open, i + 1 - open);
}

// The bytes a quoted snapshot word stands for: \" \\ \t and \xHH undone.
std::string Unquote(const std::string& quoted) {
  std::string out;
  for (size_t i = 1; i + 1 < quoted.size(); ++i) {
    char c = quoted[i];
    if (c != '\\' || i + 2 >= quoted.size()) {
      out += c;
    } else if (quoted[i + 1] == 't') {
      out += '\t';
      ++i;
    } else if (quoted[i + 1] == 'x' && i + 4 < quoted.size()) {
      out += static_cast<char>(std::strtoul(quoted.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += quoted[++i];
    }
  }
  return out;
}

// The words of a snapshot line after its text.
std::vector<std::string> Words(const std::string& line) {
  size_t quote = line.rfind('"');
  std::istringstream in(line.substr(quote == std::string::npos ? 0 : quote + 1));
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool HasWord(const std::string& line, const std::string& word) {
  for (const std::string& w : Words(line))
    if (w == word) return true;
  return false;
}

std::string WordValue(const std::string& line, const std::string& key) {
  for (const std::string& w : Words(line))
    if (w.rfind(key + "=", 0) == 0) return w.substr(key.size() + 1);
  return std::string();
}

unsigned long Style(const std::string& line) { return std::strtoul(WordValue(line, "style").c_str(), nullptr, 16); }

// A rich edit colour as the host names it: "ПоСлою" for the RGB that stands for ByLayer, the
// standard colours by name, the others as the colour list shows them; an RGB of no palette
// index stays as written.
std::string ColourName(const std::string& value) {
  if (value.size() != 7 || value[0] != '#') return value;
  unsigned long rgb = std::strtoul(value.c_str() + 1, nullptr, 16);
  COLORREF color = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  CAcUiColorComboBox colours;  // its look-ups need no window
  int index = colours.GetColorIndex(color);
  if (colours.GetColorFromIndex(index) != color) return value;
  if (index == colours.GetLayerColorIndex()) index = 256;
  return static_cast<const char*>(CAcUiColorComboBox::ColorName(index));
}

// A run's format for a reader: the face, the size in points, the colour by name and the effects;
// the character set and pitch say nothing to the reader.
std::string Format(const std::string& attributes) {
  std::string out;
  for (size_t i = 0; i < attributes.size();) {
    size_t end = attributes.find(' ', i);
    if (attributes.compare(i, 5, "face=") == 0) end = i + 5 + Quoted(attributes, i).size();
    if (end == std::string::npos) end = attributes.size();
    std::string w = attributes.substr(i, end - i);
    i = end + 1;
    if (w.empty() || w.rfind("charset=", 0) == 0 || w.rfind("pitch=", 0) == 0) continue;
    if (w.rfind("size=", 0) == 0) {
      char points[32];
      std::snprintf(points, sizeof points, "%gpt", std::strtod(w.c_str() + 5, nullptr) / 20.0);
      w = points;
    } else if (w.rfind("color=", 0) == 0) {
      w = "color=" + ColourName(w.substr(6));
    }
    out += (out.empty() ? "" : " ") + w;
  }
  return out;
}

// Rich edit text for the picture: blanks and letters as they are, control bytes escaped.
std::string Shown(char c) {
  if (c == '\t') return "\\t";
  if (static_cast<unsigned char>(c) >= 0x20) return std::string(1, c);
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
  return hex;
}

struct Control {
  std::string cls, id, name, text, tip;
  std::string line;
  std::vector<std::string> inner;  // the lines below the control's, without their indent
  std::string Label() const {
    if (!name.empty()) return name;
    if (!tip.empty()) return tip;
    if (text.size() > 2) return text;
    return id;
  }
};

// Tooltip texts by control id, from every tooltip window owned by the dialog; the tip that shows.
std::map<std::string, std::string> Tips(std::string* showing) {
  std::istringstream all(qwin::Snapshot());
  std::map<std::string, std::string> tips;
  for (std::string line; std::getline(all, line);) {
    size_t depth = Indent(line);
    if (depth == std::string::npos || line.compare(depth, 5, "tool ") != 0) continue;
    std::istringstream words(line.substr(depth + 5));
    std::string id;
    words >> id;
    std::string tip = Quoted(line, depth);
    if (tip.size() > 2 && tip != "\"(callback)\"") tips[id] = tip;
    if (HasWord(line, "showing")) *showing = id;
  }
  return tips;
}

// The rich edit's characters as displayed, a paragraph mark as '\n'.
std::string RichEditChars(const Control& c) {
  std::string shown;
  for (const std::string& line : c.inner) {
    std::istringstream head(line);
    std::string kind;
    head >> kind;
    if (kind == "run") shown += Unquote(Quoted(line));
    if (kind == "mark") shown += '\n';
  }
  return shown;
}

// The rich edit's paragraphs, a run's format in <...> wherever it changes, the selection between
// « and » (code page 1251 guillemets), an empty selection, the caret, as ¦, and each misspelt
// word between two ¤.
std::string RichEditText(const Control& c) {
  std::string out, lastFormat;
  long selFrom = -1, selTo = -1, at = 0;
  const std::vector<bool> misspelt = MisspeltChars(RichEditChars(c));
  size_t shownAt = 0;  // in RichEditChars, where a paragraph mark is one character
  auto inside = [&](size_t i) { return i < misspelt.size() && misspelt[i]; };
  // A word's closing mark goes before the selection's there and its opening one after them.
  auto closing = [&]() { return std::string(shownAt > 0 && inside(shownAt - 1) && !inside(shownAt) ? "\xa4" : ""); };
  auto opening = [&]() { return std::string(inside(shownAt) && !(shownAt > 0 && inside(shownAt - 1)) ? "\xa4" : ""); };
  auto marks = [&]() {
    std::string m;
    if (at == selFrom && selFrom == selTo) return std::string("\xa6");
    if (at == selFrom) m += "\xab";
    if (at == selTo) m += "\xbb";
    return m;
  };
  for (const std::string& line : c.inner) {
    std::istringstream head(line);
    std::string kind;
    head >> kind;
    if (kind == "selection") {
      std::string range;
      head >> range;
      selFrom = std::strtol(range.c_str(), nullptr, 10);
      selTo = std::strtol(range.c_str() + range.find("..") + 2, nullptr, 10);
      out += "|   selection " + range + "\n";
    } else if (kind == "paragraph") {
      std::string how = line.substr(10);
      out += "|   " + (how == "left" ? std::string() : "(" + how + ") ");
    } else if (kind == "run" || kind == "mark") {
      std::string quoted = kind == "run" ? Quoted(line) : std::string();
      std::string format = Format(line.substr(line.find(' ') + 1 + quoted.size()));
      // The selection's ends before a format that starts at them, so they stay beside their characters.
      out += closing() + marks();
      if (format != lastFormat) out += "<" + format + ">";
      lastFormat = format;
      std::string chars = Unquote(quoted);
      for (size_t i = 0; i < chars.size(); ++i, ++at, ++shownAt)
        out += (i ? closing() + marks() : std::string()) + opening() + Shown(chars[i]);
      if (kind == "mark") {
        ++shownAt;
        out += "\n";
        at += 2;  // a paragraph mark is CR LF to the control
      }
    }
  }
  return out;
}

std::vector<Control> Controls(const std::vector<std::string>& lines) {
  std::vector<Control> controls;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    size_t depth = Indent(line);
    if (depth == 2) {
      Control c;
      std::istringstream head(line.substr(depth));
      head >> c.cls >> c.id;
      c.name = WordValue(line, "name");
      c.text = Quoted(line);
      c.line = line;
      controls.push_back(std::move(c));
    } else if (depth != std::string::npos && depth > 2 && !controls.empty()) {
      controls.back().inner.push_back(line.substr(depth));
    }
  }
  return controls;
}

}  // namespace

std::string RenderDialog(HWND dialog, const std::string& waitName) {
  std::istringstream snapshot(qwin::Snapshot(dialog));
  std::vector<std::string> lines;
  for (std::string line; std::getline(snapshot, line);) lines.push_back(line);
  if (lines.empty()) return std::string();
  std::string showingTip;
  std::map<std::string, std::string> tips = Tips(&showingTip);
  std::vector<Control> controls = Controls(lines);
  for (Control& c : controls)
    if (tips.count(c.id)) c.tip = tips[c.id];

  std::string out = "+-- " + waitName + " " + Quoted(lines[0]) + "\n";
  std::string checks, fields, lists, text;
  for (const Control& c : controls) {
    bool disabled = HasWord(c.line, "disabled");
    if (c.cls == "BUTTON") {
      unsigned long kind = Style(c.line) & 0xF;
      bool checkable = kind == 2 || kind == 3 || kind == 4 || kind == 5 || kind == 6 || kind == 9;
      if (checkable || disabled)
        checks += " " + c.Label() + (HasWord(c.line, "checked") ? "*" : "") + (disabled ? "!" : "");
    } else if (c.cls == "COMBOBOX" || c.cls == "EDIT" || (c.cls == "STATIC" && c.text != "\"\"")) {
      fields += " " + c.Label() + "=" + c.text + (disabled ? "!" : "");
      if (HasWord(c.line, "dropped") && !c.inner.empty())
        lists += "| " + c.Label() + " list:" + c.inner[0].substr(c.inner[0].find(':') + 1) + "\n";
    } else if (c.cls == "RICHEDIT") {
      text += "| " + c.Label() + (HasWord(c.line, "focus") ? " (focus)" : "") + "\n" + RichEditText(c);
    }
    if (c.id == showingTip) out += "| tip: " + c.Label() + " " + c.tip + "\n";
  }
  if (!checks.empty()) out += "| on/off:" + checks + "\n";
  if (!fields.empty()) out += "| values:" + fields + "\n";
  return out + lists + text + "+--\n";
}

namespace {

// The controls of a dialog, one a line: the name, the id, the class, the tip or caption.
std::string ControlList(HWND dialog) {
  std::istringstream snapshot(qwin::Snapshot(dialog));
  std::vector<std::string> lines;
  for (std::string line; std::getline(snapshot, line);) lines.push_back(line);
  std::string ignored;
  std::map<std::string, std::string> tips = Tips(&ignored);
  std::vector<Control> controls = Controls(lines);
  size_t nameWidth = 4;
  for (const Control& c : controls) nameWidth = std::max(nameWidth, c.name.size());
  std::string out;
  for (const Control& c : controls) {
    std::string name = c.name.empty() ? "-" : c.name;
    out += "|   " + name + std::string(nameWidth + 2 - name.size(), ' ') + c.id +
           std::string(c.id.size() < 6 ? 6 - c.id.size() : 1, ' ') + c.cls;
    if (tips.count(c.id)) out += "  tip " + tips[c.id];
    if (c.text.size() > 2) out += "  text " + c.text;
    if (HasWord(c.line, "disabled")) out += "  disabled";
    if (HasWord(c.line, "hidden")) out += "  hidden";
    out += "\n";
  }
  return out;
}

// The open menu's or message box's line of the window snapshot, without "open ".
std::string OpenPopup() {
  std::istringstream snapshot(qwin::Snapshot());
  std::string found;
  for (std::string line; std::getline(snapshot, line);)
    if (line.rfind("open ", 0) == 0) found = line.substr(5);
  return found;
}

}  // namespace

std::string Help(const std::string& wait, HWND active) {
  std::string out = "+-- help: " + wait + "\n";
  if (wait.rfind("dialog ", 0) == 0) {
    out += "| click|dblclick|rclick <control> [x y], hover <control>, focus <control>\n"
           "| type <text>, key <keys> (ctrl+shift+left), enter, escape\n"
           "| choose <combo> <item>, edit <control> <text>, select <control> <from> <to>\n"
           "| resize <width> <height>, minimize, restore, close, syscommand <id>\n"
           "| <control>: a name below, an id, or dialog\n" +
           ControlList(active);
  } else if (wait == "menu") {
    out += "| menu <item id or text>, escape\n| " + OpenPopup() + "\n";
  } else if (wait.rfind("message box", 0) == 0) {
    out += "| answer <button>, enter, escape\n| " + OpenPopup() + "\n";
  } else if (wait.rfind("Command:", 0) == 0) {
    out += "| command <name> [entries], type <line>, context-menu <title> <item id>, escape\n| commands:";
    for (const std::string& name : acedRegCmds->commandNames()) out += " " + name;
    out += "\n";
  } else {
    out += "| type <text> (x,y or @dx,dy for a point), point <x> <y> [z], pick <x> <y>, pick handle <H>,\n"
           "| enter, escape\n";
  }
  out += "| at any wait: clipboard [text], keyboard caps|num|scroll on|off, keyboard <key> down|up,\n"
         "| keyboard layout <name>, charmap <code> while the character map is open, help\n"
         "| at a terminal, a line that starts with ! is one of these (!click IDC_BOLD); others are typed\n"
         "+--\n";
  return out;
}

std::string DrawingWatch::Changes(AcDbDatabase& db) {
  std::map<std::string, std::string> now;
  AcDbBlockTable* table = nullptr;
  if (db.getBlockTable(table, AcDb::kForRead) != Acad::eOk) return std::string();
  for (const char* space : {ACDB_MODEL_SPACE, ACDB_PAPER_SPACE}) {
    AcDbBlockTableRecord* record = nullptr;
    if (table->getAt(space, record, AcDb::kForRead) != Acad::eOk) continue;
    for (AcDbObjectId id : record->entityIds()) {
      std::string description = qhost::DescribeEntity(id);
      if (description.empty()) continue;
      size_t at = description.find("Handle = ");
      std::string handle = at == std::string::npos ? description : description.substr(at + 9, description.find_first_of(" \n", at + 9) - at - 9);
      now[handle] = description;
    }
    record->close();
  }
  table->close();
  std::string out;
  if (m_started) {
    for (const auto& [handle, description] : now) {
      auto old = m_seen.find(handle);
      if (old == m_seen.end() || old->second != description)
        out += (old == m_seen.end() ? "** new: " : "** changed: ") + description + "\n";
    }
    for (const auto& [handle, description] : m_seen)
      if (!now.count(handle)) out += "** erased: handle " + handle + "\n";
  }
  m_started = true;
  m_seen = std::move(now);
  return out;
}

}  // namespace qhostui
