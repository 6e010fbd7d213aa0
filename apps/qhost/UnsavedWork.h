// qhost's care for unsaved work in an interactive session: QUIT asks before it drops changes,
// and a session that ends otherwise with changes unsaved leaves them in a recovery file.
#pragma once

#include <string>
#include <vector>

namespace qhostui {

// Takes over the host's QUIT and remembers the drawing as it is now as saved. Call once, after the
// host's commands are registered and the document is open, and only for an interactive session
// (a terminal, the page): runs from a script never ask.
void GuardUnsavedWork();

// Whether the current drawing holds changes that neither its file nor the opened drawing has.
bool HasUnsavedWork();

// The folders a recovery file of the drawing at `drawingPath` goes to, in order: the drawing's
// own (the current folder for a new drawing), then $XDG_STATE_HOME/quillon (by default
// ~/.local/state/quillon).
std::vector<std::string> RecoveryFolders(const std::string& drawingPath);

// The n-th name (from 1) a recovery file of the drawing takes in a folder: "<name>.recovered.dxf",
// then "<name>.recovered-2.dxf", ... ("Drawing1.recovered.dxf" for a new drawing).
std::string RecoveryName(const std::string& drawingPath, int n);

// The recovery files earlier sessions of the drawing left in RecoveryFolders, by name.
std::vector<std::string> EarlierRecoveries(const std::string& drawingPath);

enum class Recovery {
  kNothingUnsaved,  // nothing to write
  kRecovered,       // written to a new file, which standard error names
  kLost,            // no recovery file could be written anywhere; standard error says why
};

// At the end of an interactive session (`why`: "the input ended", "SIGTERM ended the session"):
// writes the unsaved changes to the first free name of RecoveryFolders, never over a file or
// through a link, and says where (or why nothing could be written) on standard error.
Recovery RecoverUnsavedWork(const std::string& why);

}  // namespace qhostui
