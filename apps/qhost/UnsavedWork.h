// qhost's care for unsaved work at a terminal: QUIT asks before it drops changes, and input that
// ends with changes unsaved leaves them in a recovery file beside the drawing.
#pragma once

#include <string>

namespace qhostui {

// Takes over the host's QUIT and remembers the drawing as it is now as saved. Call once, after the
// host's commands are registered and the document is open, and only for a person at a terminal:
// runs from a script never ask.
void GuardUnsavedWork();

// Whether the current drawing holds changes that neither its file nor the opened drawing has.
bool HasUnsavedWork();

// The file the changes of the current drawing are recovered to: "<name>.recovered.dxf" beside
// the drawing ("Drawing1.recovered.dxf" here for a new one).
std::string RecoveryPath();

// At the end of terminal input: writes the unsaved changes to RecoveryPath() and says so (or why
// that failed) on standard error. False when nothing was unsaved.
bool RecoverUnsavedWork();

}  // namespace qhostui
