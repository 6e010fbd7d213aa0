// The window tree as JSON for the browser page: every visible top-level window with its children,
// their rectangles on the screen, texts, states and the class's own details, made from the window
// stand-in's snapshot and the public window functions.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace qhostweb {

// One line of the window snapshot split into words: bare words, key=value pairs and quoted
// texts (escapes resolved, code page 1251 kept), in order.
struct SnapshotWord {
  std::string key;    // "" for a bare word or a lone quoted text
  std::string value;  // the word, the value, or the quoted text
  bool quoted = false;
  std::string glued;  // what follows a closing quote up to the next blank ("*" of a combo's selected item)
};
std::vector<SnapshotWord> SplitSnapshotLine(const std::string& line);

// The visible top-level windows but `except` (the host's own main window), topmost last, each with
// its visible children. `bitmaps` receives the module bitmaps that button
// faces and pictures show, by name ("5011"), as .bmp file bytes.
nlohmann::json WindowTree(HWND except, std::map<std::string, std::string>& bitmaps);

// The texts of every tooltip tool by the id of the control it belongs to ({"texts": {"5042":
// "Bold"}}), and the id whose tip shows now ("showing", null when none).
nlohmann::json ToolTips();

// The open popup menu ({"kind": "menu", x, y, items}) or message box ({"kind": "message box", title,
// text, buttons}), or null.
nlohmann::json OpenPopup();

// A bitmap resource (a DIB without its file header) as the bytes of a .bmp file; "" when the
// resource is too short to be one.
std::string BitmapFile(const unsigned char* dib, size_t size);

}  // namespace qhostweb
