// The terminal's line editor on libedit: key bindings, history file, output while a line is edited.
#include "LineEditor.h"

#include <histedit.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <mutex>
#include <thread>

namespace qhostui {
namespace {

// Two bytes that the reader never passes on from the keyboard, so that they can stand for events
// that libedit cannot see: output waiting to be shown, and an Escape that starts no key sequence.
constexpr wchar_t kOutputWaiting = 0x1d;
constexpr wchar_t kLoneEscape = 0x1c;
// How long after an Escape the rest of a key's sequence (F1 is Esc O P) may take to arrive.
constexpr int kEscapeSequenceMs = 40;

// The verbs the keys stand for (docs/session-script.md).
constexpr char kHelpLine[] = "!help";
constexpr char kEscapeLine[] = "!escape";

void MakeDirectories(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0700);
}

}  // namespace

std::string HistoryPath() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return std::string(state) + "/quillon/history";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/state/quillon/history";
}

struct LineEditor::Impl {
  EditLine* el = nullptr;
  History* history = nullptr;
  std::string historyPath;
  int wake[2] = {-1, -1};
  std::mbstate_t decoding{};
  termios original{};
  sigset_t handled;  // the signals libedit handles that the caller left unblocked

  std::mutex mutex;
  std::condition_variable released;
  bool reading = false;
  bool closing = false;
  bool terminalReleased = false;
  std::thread::id reader;  // the thread that reads the lines
  std::string pending;  // output that came while a line was being edited
  std::string prompt;   // what follows the last line end written: the prompt the line is edited after
  std::string held;     // the end of `prompt` not on the terminal yet, which libedit draws as its own
  std::string promptShown;  // the copy of the prompt handed to libedit, which draws from it
  const char* keyLine = nullptr;  // the line a key stands for, when one was pressed

  ~Impl() {
    if (el) el_end(el);
    if (history) history_end(history);
    for (int fd : wake)
      if (fd >= 0) close(fd);
  }

  static Impl& Of(EditLine* el) {
    void* data = nullptr;
    el_get(el, EL_CLIENTDATA, &data);
    return *static_cast<Impl*>(data);
  }

  static void Advance(std::string& prompt, const std::string& text) {
    size_t end = text.rfind('\n');
    prompt = end == std::string::npos ? prompt + text : text.substr(end + 1);
  }

  // Shows the whole lines of what is held and `text`, and holds the rest, the next line's prompt:
  // libedit draws that prompt when the line is read, so that it is shown once. Under the mutex,
  // while no line is read.
  void ShowLines(const std::string& text) {
    Advance(prompt, text);
    held += text;
    size_t end = held.rfind('\n');
    if (end == std::string::npos) return;
    std::fwrite(held.data(), 1, end + 1, stdout);
    std::fflush(stdout);
    held.erase(0, end + 1);
  }

  static char* Prompt(EditLine* el) {
    Impl& impl = Of(el);
    std::lock_guard<std::mutex> lock(impl.mutex);
    impl.promptShown = impl.prompt;
    return impl.promptShown.data();
  }

  // Reads the keyboard and the wake-up pipe; decodes the terminal's UTF-8 to wide characters.
  static int GetChar(EditLine* el, wchar_t* out) {
    Impl& impl = Of(el);
    for (;;) {
      pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {impl.wake[0], POLLIN, 0}};
      if (poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents & POLLIN) {
        char drained[64];
        (void)!read(impl.wake[0], drained, sizeof drained);
        std::lock_guard<std::mutex> lock(impl.mutex);
        if (impl.closing) return 0;
        if (!impl.pending.empty()) {
          *out = kOutputWaiting;
          return 1;
        }
        continue;
      }
      unsigned char byte = 0;
      ssize_t n = read(STDIN_FILENO, &byte, 1);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      // A closed terminal answers every poll at once and every read with EIO: the input has ended.
      if (n <= 0) return 0;
      if (byte == kOutputWaiting || byte == kLoneEscape) continue;
      // A Ctrl-D typed before libedit took the terminal over was kept by the terminal's own line
      // discipline as its end-of-file mark, which reaches us as a NUL: it ends the input as typed.
      if (byte == 0) byte = 0x04;
      if (byte == 0x1b && std::mbsinit(&impl.decoding)) {
        pollfd next{STDIN_FILENO, POLLIN, 0};
        *out = poll(&next, 1, kEscapeSequenceMs) > 0 ? L'\x1b' : kLoneEscape;
        return 1;
      }
      size_t used = std::mbrtowc(out, reinterpret_cast<const char*>(&byte), 1, &impl.decoding);
      if (used == static_cast<size_t>(-2)) continue;
      if (used == static_cast<size_t>(-1)) {
        impl.decoding = std::mbstate_t{};
        continue;
      }
      return 1;
    }
  }

  // The key's line replaces what was typed and is entered at once, by an Enter of libedit's own
  // (which takes the line as the Enter key does).
  static unsigned char EnterKeyLine(EditLine* el, const char* line) {
    const LineInfoW* info = el_wline(el);
    el_cursor(el, static_cast<int>(info->lastchar - info->cursor));
    el_deletestr(el, static_cast<int>(info->lastchar - info->buffer));
    el_insertstr(el, line);
    el_push(el, "\n");
    Of(el).keyLine = line;
    return CC_REFRESH;
  }
  static unsigned char HelpKey(EditLine* el, int) { return EnterKeyLine(el, kHelpLine); }
  static unsigned char EscapeKey(EditLine* el, int) { return EnterKeyLine(el, kEscapeLine); }

  // Shows the whole lines of the output that came while the line was being edited, and has libedit
  // draw the line again, from the start of the line, after the prompt that output left.
  static unsigned char ShowOutput(EditLine* el, int) {
    Impl& impl = Of(el);
    std::string text;
    {
      std::lock_guard<std::mutex> lock(impl.mutex);
      text.swap(impl.pending);
      Advance(impl.prompt, text);
    }
    text.erase(text.rfind('\n') + 1);  // all of it when it holds no line end: it goes to the prompt
    std::fputs((text + "\r").c_str(), stdout);
    std::fflush(stdout);
    return CC_REDISPLAY;
  }

  void Bind() {
    el_set(el, EL_CLIENTDATA, this);
    el_set(el, EL_EDITOR, "emacs");
    el_set(el, EL_SIGNAL, 1);
    el_set(el, EL_HIST, ::history, history);
    el_set(el, EL_PROMPT, &Impl::Prompt);
    el_set(el, EL_GETCFN, &Impl::GetChar);
    el_set(el, EL_ADDFN, "qhost-help", "what this wait understands", &Impl::HelpKey);
    el_set(el, EL_ADDFN, "qhost-escape", "cancel this wait", &Impl::EscapeKey);
    el_set(el, EL_ADDFN, "qhost-output", "show output that came meanwhile", &Impl::ShowOutput);
    // F1 as xterm and its kin send it, and as the Linux console does.
    for (const char* f1 : {"\\eOP", "\\e[11~", "\\e[[A"}) el_set(el, EL_BIND, f1, "qhost-help", nullptr);
    const char lone[] = {static_cast<char>(kLoneEscape), 0};
    const char output[] = {static_cast<char>(kOutputWaiting), 0};
    el_set(el, EL_BIND, lone, "qhost-escape", nullptr);
    el_set(el, EL_BIND, output, "qhost-output", nullptr);
    el_set(el, EL_BIND, "^R", "em-inc-search-prev", nullptr);
  }
};

LineEditor::LineEditor(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

std::unique_ptr<LineEditor> LineEditor::Open(const std::string& historyPath) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return nullptr;
  // The terminal speaks UTF-8 (qhost writes it); libedit decodes keys by the locale's character type.
  std::setlocale(LC_CTYPE, "");
  if (MB_CUR_MAX == 1) std::setlocale(LC_CTYPE, "C.UTF-8");
  auto impl = std::make_unique<Impl>();
  tcgetattr(STDIN_FILENO, &impl->original);
  if (pipe(impl->wake) != 0) return nullptr;
  impl->el = el_init("qhost", stdin, stdout, stderr);
  impl->history = history_init();
  if (!impl->el || !impl->history) return nullptr;
  HistEvent event;
  history(impl->history, &event, H_SETSIZE, 1000);
  history(impl->history, &event, H_SETUNIQUE, 1);
  impl->historyPath = historyPath;
  history(impl->history, &event, H_LOAD, historyPath.c_str());
  impl->Bind();
  // libedit's handlers (EL_SIGNAL) draw the line and switch the terminal's modes: they may run only
  // on the thread that reads, while it reads, as they would in a program of one thread. The signals
  // the caller already blocks (those that end the session, which a thread waits for) stay blocked.
  sigset_t blocked;
  pthread_sigmask(SIG_SETMASK, nullptr, &blocked);
  sigemptyset(&impl->handled);
  for (int handled : {SIGINT, SIGQUIT, SIGTSTP, SIGCONT, SIGWINCH, SIGHUP, SIGTERM})
    if (!sigismember(&blocked, handled)) sigaddset(&impl->handled, handled);
  pthread_sigmask(SIG_BLOCK, &impl->handled, nullptr);
  return std::unique_ptr<LineEditor>(new LineEditor(std::move(impl)));
}

LineEditor::~LineEditor() {
  Impl& impl = *m_impl;
  std::unique_lock<std::mutex> lock(impl.mutex);
  impl.closing = true;
  if (impl.reader == std::thread::id() || impl.reader == std::this_thread::get_id()) return;
  // Lines are read on another thread (the page's front end), which may be in a read now: end it so
  // that libedit gives the terminal back as it found it. That reader then stays parked, and the
  // editor with it, until the process ends.
  if (impl.reading) {
    (void)!write(impl.wake[1], "x", 1);
    if (!impl.released.wait_for(lock, std::chrono::seconds(1), [&] { return impl.terminalReleased; }))
      tcsetattr(STDIN_FILENO, TCSANOW, &impl.original);
  }
  lock.unlock();
  (void)m_impl.release();
}

void LineEditor::Write(const std::string& utf8) {
  Impl& impl = *m_impl;
  std::lock_guard<std::mutex> lock(impl.mutex);
  if (impl.reading) {
    impl.pending += utf8;
    (void)!write(impl.wake[1], "x", 1);
    return;
  }
  impl.ShowLines(utf8);
}

void LineEditor::Flush() {
  Impl& impl = *m_impl;
  std::lock_guard<std::mutex> lock(impl.mutex);
  if (impl.reading || impl.held.empty()) return;
  std::fputs(impl.held.c_str(), stdout);
  std::fflush(stdout);
  impl.held.clear();
}

std::optional<std::string> LineEditor::ReadLine() {
  Impl& impl = *m_impl;
  {
    std::unique_lock<std::mutex> lock(impl.mutex);
    impl.reader = std::this_thread::get_id();
    if (impl.closing) impl.released.wait(lock, [] { return false; });
    impl.reading = true;
    impl.keyLine = nullptr;
    impl.held.clear();
  }
  // libedit draws the prompt itself, from the start of the line (over what Flush showed of it).
  std::fputs("\r", stdout);
  int count = 0;
  pthread_sigmask(SIG_UNBLOCK, &impl.handled, nullptr);
  const char* read = el_gets(impl.el, &count);
  pthread_sigmask(SIG_BLOCK, &impl.handled, nullptr);
  std::string line = read && count > 0 ? std::string(read, static_cast<size_t>(count)) : std::string();
  std::string leftover;
  {
    std::unique_lock<std::mutex> lock(impl.mutex);
    impl.reading = false;
    impl.prompt.clear();
    leftover.swap(impl.pending);
    if (impl.closing) {
      impl.terminalReleased = true;
      impl.released.notify_all();
      impl.released.wait(lock, [] { return false; });
    }
  }
  if (!read || count <= 0) return std::nullopt;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (!impl.keyLine && !line.empty()) {
    HistEvent event;
    history(impl.history, &event, H_ENTER, line.c_str());
    MakeDirectories(impl.historyPath);
    history(impl.history, &event, H_SAVE, impl.historyPath.c_str());
  }
  if (!leftover.empty()) Write(leftover);
  return line;
}

}  // namespace qhostui
