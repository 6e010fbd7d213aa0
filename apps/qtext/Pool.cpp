// Forked workers: file numbers go out on a pipe, results come back on another, in any order.
#include "apps/qtext/Pool.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace qtext {
namespace {

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, void* data, size_t size) {
  char* p = static_cast<char*>(data);
  while (size > 0) {
    ssize_t n = ::read(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// A result on a pipe: the file's number, the flags and counts, then the two texts.
struct Header {
  uint64_t index, texts, matches, outSize, errSize;
  uint8_t failed, changed;
};

bool SendResult(int fd, size_t index, const FileResult& r) {
  Header h{index, r.texts, r.matches, r.out.size(), r.err.size(), r.failed, r.changed};
  return WriteAll(fd, &h, sizeof h) && WriteAll(fd, r.out.data(), r.out.size()) &&
         WriteAll(fd, r.err.data(), r.err.size());
}

bool ReceiveResult(int fd, size_t& index, FileResult& r) {
  Header h{};
  if (!ReadAll(fd, &h, sizeof h)) return false;
  index = h.index;
  r.texts = h.texts;
  r.matches = h.matches;
  r.failed = h.failed != 0;
  r.changed = h.changed != 0;
  r.out.resize(h.outSize);
  r.err.resize(h.errSize);
  return ReadAll(fd, r.out.data(), r.out.size()) && ReadAll(fd, r.err.data(), r.err.size());
}

struct Worker {
  pid_t pid = -1;
  int tasks = -1;    // parent writes file numbers
  int results = -1;  // parent reads results
  size_t current = SIZE_MAX;
};

[[noreturn]] void WorkerLoop(int tasks, int results, const std::function<FileResult(size_t)>& work) {
  uint64_t index = 0;
  while (ReadAll(tasks, &index, sizeof index)) {
    if (!SendResult(results, index, work(index))) break;
  }
  ::_exit(0);
}

}  // namespace

void RunAll(size_t count, int jobs, const std::function<FileResult(size_t)>& work,
            const std::function<void(size_t, FileResult&)>& done, const std::function<void(size_t)>& progress) {
  std::map<size_t, FileResult> waiting;
  size_t nextDone = 0, finished = 0;
  auto deliver = [&](size_t index, FileResult&& r) {
    waiting.emplace(index, std::move(r));
    for (auto it = waiting.find(nextDone); it != waiting.end(); it = waiting.find(++nextDone)) {
      done(nextDone, it->second);
      waiting.erase(it);
    }
    progress(++finished);
  };
  if (jobs <= 1 || count <= 1) {
    for (size_t k = 0; k < count; ++k) deliver(k, work(k));
    return;
  }
  // A worker that dies makes its pipe's writes fail, not this process.
  ::signal(SIGPIPE, SIG_IGN);
  std::fflush(nullptr);
  std::vector<Worker> workers(static_cast<size_t>(jobs) < count ? static_cast<size_t>(jobs) : count);
  size_t next = 0;
  auto give = [&](Worker& w) {
    uint64_t index = next;
    if (next < count && WriteAll(w.tasks, &index, sizeof index)) {
      w.current = next++;
    } else {
      w.current = SIZE_MAX;
      if (w.tasks >= 0) ::close(w.tasks);
      w.tasks = -1;
    }
  };
  for (Worker& w : workers) {
    int toWorker[2], fromWorker[2];
    if (::pipe(toWorker) != 0 || ::pipe(fromWorker) != 0) break;
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(toWorker[1]);
      ::close(fromWorker[0]);
      // The other workers' pipes stay with them.
      for (const Worker& other : workers) {
        if (other.tasks >= 0) ::close(other.tasks);
        if (other.results >= 0) ::close(other.results);
      }
      WorkerLoop(toWorker[0], fromWorker[1], work);
    }
    ::close(toWorker[0]);
    ::close(fromWorker[1]);
    if (pid < 0) {
      ::close(toWorker[1]);
      ::close(fromWorker[0]);
      break;
    }
    w = {pid, toWorker[1], fromWorker[0], SIZE_MAX};
    give(w);
  }
  for (;;) {
    std::vector<pollfd> fds;
    std::vector<Worker*> owners;
    for (Worker& w : workers) {
      if (w.results >= 0 && w.current != SIZE_MAX) {
        fds.push_back({w.results, POLLIN, 0});
        owners.push_back(&w);
      }
    }
    if (fds.empty()) break;
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (size_t k = 0; k < fds.size(); ++k) {
      if (fds[k].revents == 0) continue;
      Worker& w = *owners[k];
      size_t index = 0;
      FileResult r;
      if (ReceiveResult(w.results, index, r) && index == w.current) {
        deliver(index, std::move(r));
        give(w);
        continue;
      }
      // The worker died on this file: the file is reported, the others go to the other workers.
      FileResult failed;
      failed.failed = true;
      size_t lost = w.current;
      ::close(w.results);
      w.results = -1;
      if (w.tasks >= 0) ::close(w.tasks);
      w.tasks = -1;
      w.current = SIZE_MAX;
      deliver(lost, std::move(failed));
    }
  }
  // Files no worker could take (every worker died): processed here.
  while (next < count) {
    size_t k = next++;
    deliver(k, work(k));
  }
  for (Worker& w : workers) {
    if (w.tasks >= 0) ::close(w.tasks);
    if (w.results >= 0) ::close(w.results);
    if (w.pid > 0) ::waitpid(w.pid, nullptr, 0);
  }
}

}  // namespace qtext
