// Ending signals become the end of the input queue's input, on a thread that waits for them.
#include "EndingSignals.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <thread>

#include "qplatform/InputQueue.h"

namespace qhostui {
namespace {

std::atomic<int> g_endingSignal{0};

}  // namespace

void EndInputOnSignals() {
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGINT);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);
  // The waiting thread takes no signal at all: a handler (the line editor's) runs on a thread that
  // expects it, never here, beside the thread that owns what the handler touches.
  sigset_t all, kept;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &kept);
  std::thread([ending] {
    for (;;) {
      int received = 0;
      if (sigwait(&ending, &received) != 0) continue;
      int none = 0;
      if (g_endingSignal.compare_exchange_strong(none, received)) qhost::InputQueue::Instance().EndInput();
    }
  }).detach();
  pthread_sigmask(SIG_SETMASK, &kept, nullptr);
}

int EndingSignal() { return g_endingSignal.load(); }

}  // namespace qhostui
