// The window tree as JSON: geometry from the public window functions, texts, states and class
// details from the window stand-in's snapshot of each window.
#include "WindowTree.h"

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "qplatform/Script.h"
#include "qplatform/WindowSystem.h"

namespace qhostweb {
namespace {

using nlohmann::json;

size_t Indent(const std::string& line) {
  size_t n = line.find_first_not_of(' ');
  return n == std::string::npos ? line.size() : n;
}

// "x,y,WxH": the rectangle word of a window line.
bool IsRectangle(const std::string& word) {
  size_t comma = word.find(',');
  return comma != std::string::npos && word.find(',', comma + 1) != std::string::npos && word.find('x') != std::string::npos;
}

// A window line: a class name, the id for a child, the rectangle, the quoted text.
bool IsWindowLine(const std::vector<SnapshotWord>& words) {
  for (size_t i = 1; i < words.size() && i <= 2; ++i)
    if (words[i].key.empty() && !words[i].quoted && IsRectangle(words[i].value)) return true;
  return false;
}

std::string Utf8(const std::string& cp1251) { return qhost::Cp1251ToUtf8(cp1251); }

// A rich edit run's format: face, size in twips, colour ("#rrggbb" or "auto"), effects.
json Format(const std::vector<SnapshotWord>& words, size_t from) {
  json format = json::object();
  for (size_t i = from; i < words.size(); ++i) {
    const SnapshotWord& w = words[i];
    if (w.key == "face") format["face"] = Utf8(w.value);
    else if (w.key == "size") format["size"] = std::atol(w.value.c_str());
    else if (w.key == "color") format["color"] = w.value;
    else if (w.key == "offset") format["offset"] = std::atol(w.value.c_str());
    else if (w.key.empty() && !w.quoted) format[w.value] = true;
  }
  return format;
}

// The rich edit's selection, paragraphs, runs and marks.
json RichEditDetails(const std::vector<std::vector<SnapshotWord>>& lines) {
  json edit = {{"paragraphs", json::array()}};
  for (const auto& words : lines) {
    if (words.empty()) continue;
    const std::string& head = words[0].value;
    if (head == "selection" && words.size() > 1) {
      const std::string& range = words[1].value;
      size_t dots = range.find("..");
      edit["selection"] = {std::atol(range.c_str()), std::atol(range.c_str() + (dots == std::string::npos ? 0 : dots + 2))};
    } else if (head == "paragraph") {
      json paragraph = {{"align", words.size() > 1 ? words[1].value : "left"}, {"runs", json::array()}};
      edit["paragraphs"].push_back(paragraph);
    } else if ((head == "run" || head == "mark") && !edit["paragraphs"].empty()) {
      json& paragraph = edit["paragraphs"].back();
      if (head == "mark") {
        paragraph["mark"] = Format(words, 1);
      } else if (words.size() > 1) {
        json run = Format(words, 2);
        run["text"] = Utf8(words[1].value);
        paragraph["runs"].push_back(run);
      }
    }
  }
  return edit;
}

json Rect(const RECT& r) { return {{"x", r.left}, {"y", r.top}, {"w", r.right - r.left}, {"h", r.bottom - r.top}}; }

// A button face or picture: the bitmap resource named by the snapshot's "image=bitmap N".
void ExportBitmap(HWND window, const std::string& name, std::map<std::string, std::string>& bitmaps) {
  if (bitmaps.count(name)) return;
  char* end = nullptr;
  long id = std::strtol(name.c_str(), &end, 10);
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtr(window, GWL_HINSTANCE));
  HRSRC found = *end == 0 ? FindResource(instance, MAKEINTRESOURCE(id), RT_BITMAP)
                          : FindResource(instance, name.c_str(), RT_BITMAP);
  if (!found) return;
  auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(instance, found)));
  std::string file = BitmapFile(data, SizeofResource(instance, found));
  if (!file.empty()) bitmaps[name] = std::move(file);
}

json Describe(HWND window, std::map<std::string, std::string>& bitmaps) {
  std::istringstream snapshot(qwin::Snapshot(window));
  std::vector<std::vector<SnapshotWord>> details;
  std::vector<SnapshotWord> own;
  std::string line;
  if (std::getline(snapshot, line)) own = SplitSnapshotLine(line);
  size_t depth = Indent(line);
  while (std::getline(snapshot, line)) {
    if (Indent(line) <= depth) break;
    auto words = SplitSnapshotLine(line);
    if (Indent(line) == depth + 2 && IsWindowLine(words)) break;
    details.push_back(std::move(words));
  }

  json node;
  std::string cls = own.empty() ? std::string() : own[0].value;
  node["class"] = cls;
  if (GetWindowLong(window, GWL_STYLE) & WS_CHILD) node["id"] = GetDlgCtrlID(window);
  DWORD style = static_cast<DWORD>(GetWindowLong(window, GWL_STYLE));
  node["style"] = style;
  node["exstyle"] = static_cast<DWORD>(GetWindowLong(window, GWL_EXSTYLE));
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  node["outer"] = Rect(outer);
  node["client"] = Rect(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
  node["focus"] = GetFocus() == window;
  bool textSeen = false;
  for (size_t i = 1; i < own.size(); ++i) {
    const SnapshotWord& w = own[i];
    if (w.quoted && w.key.empty() && !textSeen) {
      node["text"] = Utf8(w.value);
      textSeen = true;
    } else if (w.key == "image" && i + 1 < own.size() && own[i + 1].key.empty() && !own[i + 1].quoted) {
      // "image=bitmap 5011", "image=resource 5004": the handle's kind, then its name.
      std::string name = own[++i].value;
      node["image"] = {{"kind", w.value}, {"name", name}};
      if (w.value == "bitmap") ExportBitmap(window, name, bitmaps);
    } else if (!w.key.empty() && w.key != "style" && w.key != "exstyle") {
      node[w.key] = Utf8(w.value);
    } else if (w.key.empty() && !w.quoted && !IsRectangle(w.value) && i > 1) {
      node["states"].push_back(w.value);
    }
  }
  if (cls == "COMBOBOX") {
    json items = json::array();
    for (const auto& words : details) {
      if (words.empty() || words[0].value != "items:") continue;
      for (size_t i = 1; i < words.size(); ++i) items.push_back(Utf8(words[i].value));
    }
    node["items"] = items;
  } else if (cls == "RICHEDIT") {
    node["richedit"] = RichEditDetails(details);
  }
  json children = json::array();
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) children.push_back(Describe(child, bitmaps));
  node["children"] = children;
  return node;
}

// A menu item as the snapshot writes it: "&Copy\tCtrl+C=57634 (grayed)", "-", "  sub=12".
json MenuItem(const std::string& word) {
  json item;
  size_t depth = word.find_first_not_of(' ');
  std::string text = depth == std::string::npos ? std::string() : word.substr(depth);
  item["depth"] = depth == std::string::npos ? 0 : depth / 2;
  for (const char* flag : {"grayed", "disabled", "checked"}) {
    std::string suffix = std::string(" (") + flag + ")";
    size_t at = text.rfind(suffix);
    if (at != std::string::npos && at + suffix.size() == text.size()) {
      item[flag] = true;
      text.erase(at);
    }
  }
  if (text == "-") {
    item["separator"] = true;
    return item;
  }
  size_t equals = text.rfind('=');
  if (equals != std::string::npos && text.find_first_not_of("0123456789", equals + 1) == std::string::npos) {
    item["id"] = std::atol(text.c_str() + equals + 1);
    text.erase(equals);
  }
  item["text"] = Utf8(text);
  return item;
}

void Append(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::vector<SnapshotWord> SplitSnapshotLine(const std::string& line) {
  std::vector<SnapshotWord> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    SnapshotWord word;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '=' && line[i] != '"') ++i;
    if (i < line.size() && line[i] == '=') {
      word.key = line.substr(start, i - start);
      ++i;
    } else {
      i = start;
    }
    if (i < line.size() && line[i] == '"') {
      word.quoted = true;
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\' || i + 1 >= line.size()) {
          word.value += line[i];
          continue;
        }
        char e = line[++i];
        if (e == 't') {
          word.value += '\t';
        } else if (e == 'x' && i + 2 < line.size()) {
          word.value += static_cast<char>(std::strtol(line.substr(i + 1, 2).c_str(), nullptr, 16));
          i += 2;
        } else {
          word.value += e;
        }
      }
      ++i;  // the closing quote
      while (i < line.size() && line[i] != ' ') word.glued += line[i++];
    } else {
      size_t from = i;
      while (i < line.size() && line[i] != ' ') ++i;
      word.value = line.substr(from, i - from);
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string BitmapFile(const unsigned char* dib, size_t size) {
  if (!dib || size < sizeof(BITMAPINFOHEADER)) return std::string();
  BITMAPINFOHEADER header;
  std::memcpy(&header, dib, sizeof header);
  if (header.biSize < sizeof header || header.biSize > size) return std::string();
  uint32_t colours = header.biClrUsed;
  if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
  const DWORD kBitFields = 3;  // BI_BITFIELDS: three colour masks follow the header
  uint32_t masks = header.biCompression == kBitFields ? 12 : 0;
  uint64_t bitsAt = 14 + uint64_t{header.biSize} + masks + uint64_t{colours} * 4;
  if (bitsAt > 14 + size) return std::string();
  std::string file = "BM";
  Append(file, static_cast<uint32_t>(14 + size), 4);
  Append(file, 0, 4);
  Append(file, static_cast<uint32_t>(bitsAt), 4);
  file.append(reinterpret_cast<const char*>(dib), size);
  return file;
}

nlohmann::json WindowTree(HWND except, std::map<std::string, std::string>& bitmaps) {
  json windows = json::array();
  for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT))
    if (top != except && IsWindowVisible(top)) windows.push_back(Describe(top, bitmaps));
  return windows;
}

nlohmann::json ToolTips() {
  json tips = {{"texts", json::object()}, {"showing", nullptr}};
  std::istringstream all(qwin::Snapshot());
  for (std::string line; std::getline(all, line);) {
    auto words = SplitSnapshotLine(line);
    if (words.size() < 3 || words[0].value != "tool" || !words[2].quoted) continue;
    if (words[2].value != "(callback)") tips["texts"][words[1].value] = Utf8(words[2].value);
    for (const auto& w : words)
      if (w.key.empty() && !w.quoted && w.value == "showing") tips["showing"] = words[1].value;
  }
  return tips;
}

nlohmann::json OpenPopup() {
  std::istringstream snapshot(qwin::Snapshot());
  std::string line, open;
  while (std::getline(snapshot, line))
    if (line.rfind("open ", 0) == 0) open = line.substr(5);
  if (open.rfind("menu at ", 0) == 0) {
    json menu = {{"kind", "menu"}, {"items", json::array()}};
    menu["x"] = std::atol(open.c_str() + 8);
    menu["y"] = std::atol(open.c_str() + open.find(',') + 1);
    for (const auto& word : SplitSnapshotLine(open.substr(open.find(':') + 1)))
      menu["items"].push_back(MenuItem(word.value));
    return menu;
  }
  if (open.rfind("message box ", 0) == 0) {
    auto words = SplitSnapshotLine(open.substr(12));
    json box = {{"kind", "message box"}, {"buttons", json::array()}};
    for (size_t i = 0; i < words.size(); ++i) {
      if (i == 0) box["title"] = Utf8(words[i].value);
      else if (i == 1) box["text"] = Utf8(words[i].value);
      else if (words[i].value != "buttons:") box["buttons"].push_back(words[i].value);
    }
    return box;
  }
  return nullptr;
}

}  // namespace qhostweb
