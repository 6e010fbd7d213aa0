// Signals that end an interactive session (Ctrl-C, SIGTERM, a closed terminal) end its input, so
// that the main thread leaves unsaved work in a recovery file as at the end of input.
#pragma once

namespace qhostui {

// Blocks SIGINT, SIGTERM and SIGHUP in the calling thread, which every thread started after it
// inherits, and starts the one thread that waits for them: the first ends the input queue's
// input (InputQueue::EndInput); later ones are ignored while the session ends. Call on the main
// thread before any other thread starts. No handler runs, so nothing happens inside a signal.
void EndInputOnSignals();

// The signal that ended the input, or 0.
int EndingSignal();

}  // namespace qhostui
