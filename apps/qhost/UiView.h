// What qhost shows of the user interface: a compact picture of an open dialog, and the entities
// that a redraw changed.
#pragma once

#include <windows.h>

#include <map>
#include <string>

class AcDbDatabase;

namespace qhostui {

// The dialog in a few lines (code page 1251): its caption, the check buttons that are on, the
// combo boxes and edits with their texts, non-empty static texts, and each rich edit's
// paragraphs with the format of each run marked where it changes and the selection.
std::string RenderDialog(HWND dialog, const std::string& waitName);

// What `help` shows for a wait (its name as the input queue has it; `active` the dialog that
// waits, if any): the verbs the wait understands and, in a dialog, its controls with their names.
std::string Help(const std::string& wait, HWND active);

// Remembers how each entity of the drawing was described and tells what changed since.
class DrawingWatch {
 public:
  // Lines for the entities that are new, changed or gone since the last call (the first call
  // only takes note).
  std::string Changes(AcDbDatabase& db);

 private:
  bool m_started = false;
  std::map<std::string, std::string> m_seen;  // handle -> description
};

}  // namespace qhostui
