// The terminal's line editor (libedit): editing, history, F1 for help, Esc to cancel, Ctrl+R to search.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace qhostui {

// Where the typed lines are kept between sessions: $XDG_STATE_HOME/quillon/history, or
// ~/.local/state/quillon/history when XDG_STATE_HOME is unset or not absolute.
std::string HistoryPath();

// Owns the terminal while qhost runs at one. Everything qhost shows there goes through Write, so
// that output arriving while a line is being edited (from the page, on another thread) is shown
// above the line, which is drawn again below it with the prompt the output left. The prompt, what
// follows the last line end written, is shown once: by libedit when the next line is read.
class LineEditor {
 public:
  // Null when standard input or output is not a terminal or libedit cannot start. Blocks, in the
  // calling thread and the threads it starts later, the signals libedit handles (Ctrl-Z, a resized
  // window) that the caller has not blocked: ReadLine takes them while it reads. Call before other
  // threads start, or in a program whose other threads block every signal.
  static std::unique_ptr<LineEditor> Open(const std::string& historyPath);
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  void Write(const std::string& utf8);
  // Shows the prompt Write holds for the next line, when no line is read: before qhost writes
  // to the terminal otherwise, or ends.
  void Flush();
  // One typed line without its end; nullopt at the end of input (Ctrl-D on an empty line). F1 gives
  // "!help" and a lone Escape "!escape", at once, whatever was typed before.
  std::optional<std::string> ReadLine();

  struct Impl;

 private:
  explicit LineEditor(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};

}  // namespace qhostui
