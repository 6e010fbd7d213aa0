// Compact pictures of dialogs and of changed entities, made from the stand-ins' own descriptions.
#include "UiView.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "dbsymtb.h"
#include "qplatform/Host.h"
#include "qplatform/WindowSystem.h"

namespace qhostui {
namespace {

size_t Indent(const std::string& line) { return line.find_first_not_of(' '); }

// The first quoted word of a snapshot line, quotes and escapes kept as written.
std::string Quoted(const std::string& line, size_t from = 0) {
  size_t open = line.find('"', from);
  if (open == std::string::npos) return std::string();
  size_t i = open + 1;
  while (i < line.size() && line[i] != '"') i += line[i] == '\\' ? 2 : 1;
  return line.substr(open, i + 1 - open);
}

bool HasWord(const std::string& line, const std::string& word) {
  std::istringstream words(line.substr(line.rfind('"') == std::string::npos ? 0 : line.rfind('"')));
  for (std::string w; words >> w;)
    if (w == word) return true;
  return false;
}

unsigned long Style(const std::string& line) {
  size_t at = line.find(" style=0x");
  return at == std::string::npos ? 0 : std::strtoul(line.c_str() + at + 9, nullptr, 16);
}

// A run's format without the character set and pitch, which say nothing to the reader.
std::string Format(const std::string& attributes) {
  std::istringstream words(attributes);
  std::string out;
  for (std::string w; words >> w;) {
    if (w.rfind("charset=", 0) == 0 || w.rfind("pitch=", 0) == 0) continue;
    out += (out.empty() ? "" : " ") + w;
  }
  return out;
}

}  // namespace

std::string RenderDialog(HWND dialog, const std::string& waitName) {
  std::istringstream snapshot(qwin::Snapshot(dialog));
  std::vector<std::string> lines;
  for (std::string line; std::getline(snapshot, line);) lines.push_back(line);
  if (lines.empty()) return std::string();
  std::string out = "+-- " + waitName + " " + Quoted(lines[0]) + "\n";
  std::string checks, fields;
  std::string text, lastFormat;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    size_t depth = Indent(line);
    std::istringstream head(line.substr(depth));
    std::string cls, id;
    head >> cls >> id;
    if (depth == 2 && cls == "BUTTON") {
      unsigned long kind = Style(line) & 0xF;
      bool checkable = kind == 2 || kind == 3 || kind == 4 || kind == 5 || kind == 6 || kind == 9;
      if (checkable || HasWord(line, "disabled"))
        checks += " " + id + (HasWord(line, "checked") ? "*" : "") + (HasWord(line, "disabled") ? "!" : "");
    } else if (depth == 2 && (cls == "COMBOBOX" || cls == "EDIT" || (cls == "STATIC" && Quoted(line) != "\"\""))) {
      fields += " " + id + "=" + Quoted(line) + (HasWord(line, "disabled") ? "!" : "");
    } else if (depth == 2 && cls == "RICHEDIT") {
      text += "| " + id + (HasWord(line, "focus") ? " (focus)" : "") + "\n";
      lastFormat.clear();
    } else if (depth == 4 && cls == "selection") {
      text += "|   selection " + id + "\n";
    } else if (depth == 4 && cls == "paragraph") {
      text += "|   " + (id == "left" ? std::string() : "(" + line.substr(depth + 10) + ") ");
    } else if (depth == 6 && (cls == "run" || cls == "mark")) {
      std::string quoted = cls == "run" ? Quoted(line) : std::string();
      std::string format = Format(line.substr(line.find(' ', depth) + 1 + quoted.size()));
      if (format != lastFormat) text += "<" + format + ">";
      lastFormat = format;
      if (cls == "run") text += quoted.substr(1, quoted.size() - 2);
      if (cls == "mark") text += "\n";
    }
  }
  if (!checks.empty()) out += "| on/off:" + checks + "\n";
  if (!fields.empty()) out += "| values:" + fields + "\n";
  return out + text + "+--\n";
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
