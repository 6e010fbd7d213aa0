// qtext: find and replace in the texts of many drawings, as they are displayed.
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "apps/cli/ProgramOptions.h"
#include "apps/qtext/Drawings.h"
#include "apps/qtext/Options.h"
#include "apps/qtext/Pool.h"

namespace {

using qtext::Exit;

int Status(Exit exit) { return static_cast<int>(exit); }

void Write(std::FILE* to, const std::string& text) { std::fwrite(text.data(), 1, text.size(), to); }

// A file to process: where it is read from and, for replace --out, where it is written.
struct Job {
  std::string path;
  std::string destination;
};

std::string Folder(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The absolute path of a file: its folder resolved through symbolic links, its own name kept.
bool AbsolutePath(const std::string& path, std::string& absolute) {
  char resolved[PATH_MAX];
  if (::realpath(Folder(path).c_str(), resolved) == nullptr) return false;
  absolute = std::string(resolved) + (std::strcmp(resolved, "/") == 0 ? "" : "/") + BaseName(path);
  return true;
}

// The longest folder that holds every one of the absolute paths.
std::string CommonFolder(const std::vector<std::string>& paths) {
  std::string common = Folder(paths.front());
  for (const std::string& p : paths) {
    while (common != "/" && p.compare(0, common.size() + 1, common + "/") != 0) common = Folder(common);
  }
  return common;
}

class Progress {
 public:
  Progress(size_t total, bool shown) : m_total(total), m_shown(shown) {}
  void Update(size_t finished) {
    if (!m_shown) return;
    constexpr size_t kWidth = 30;
    size_t filled = m_total ? finished * kWidth / m_total : kWidth;
    std::fprintf(stderr, "\r[%s%s] %zu/%zu files", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), finished, m_total);
    std::fflush(stderr);
  }
  // Takes the bar off the line, before other output goes to the terminal.
  void Clear() {
    if (m_shown) std::fputs("\r\033[K", stderr);
  }

 private:
  size_t m_total;
  bool m_shown;
};

}  // namespace

int main(int argc, char** argv) {
  qtext::Options options;
  std::string error;
  const qcli::Program program{"qtext", qtext::Usage()};
  if (!qtext::ParseArguments(argc, argv, options, error)) return qcli::Refuse(program, error);
  if (options.command == qtext::Command::kHelp || options.command == qtext::Command::kVersion) {
    int status = 0;
    qcli::AnswerCommonOption(program, options.command == qtext::Command::kHelp ? "--help" : "--version", status);
    return status;
  }
  const mtextsearch::Pattern pattern = mtextsearch::Pattern::FromUtf8(options.pattern, options.search);
  if (!pattern.valid()) {
    std::fprintf(stderr, "qtext: bad pattern '%s': %s\n", options.pattern.c_str(), pattern.error().c_str());
    return Status(Exit::kError);
  }

  // Each file once (one device and inode named twice is one file); folders and missing files refused.
  bool failed = false;
  std::vector<Job> jobs;
  std::set<std::pair<dev_t, ino_t>> seen;
  for (const std::string& path : options.files) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
      std::fprintf(stderr, "qtext: %s: cannot open the file: %s\n", path.c_str(), std::strerror(errno));
      failed = true;
    } else if (S_ISDIR(st.st_mode)) {
      std::fprintf(stderr, "qtext: %s: is a folder, not a drawing\n", path.c_str());
      failed = true;
    } else if (seen.insert({st.st_dev, st.st_ino}).second) {
      jobs.push_back({path, path});
    }
  }
  if (!options.outDir.empty() && !jobs.empty()) {
    std::vector<std::string> absolute;
    std::vector<Job> kept;
    for (const Job& job : jobs) {
      std::string a;
      if (!AbsolutePath(job.path, a)) {
        std::fprintf(stderr, "qtext: %s: cannot resolve its folder: %s\n", job.path.c_str(), std::strerror(errno));
        failed = true;
        continue;
      }
      absolute.push_back(a);
      kept.push_back(job);
    }
    jobs.clear();
    std::map<std::string, std::string> taken;  // destination -> the file written there
    std::string common = absolute.empty() ? "/" : CommonFolder(absolute);
    for (size_t k = 0; k < kept.size(); ++k) {
      std::string relative = absolute[k].substr(common == "/" ? 1 : common.size() + 1);
      std::string destination = options.outDir + "/" + relative;
      struct stat src {}, dst {};
      auto [it, fresh] = taken.emplace(destination, kept[k].path);
      if (!fresh) {
        std::fprintf(stderr, "qtext: %s: refused: it would be written to %s, as %s is\n", kept[k].path.c_str(),
                     destination.c_str(), it->second.c_str());
        failed = true;
      } else if (::stat(destination.c_str(), &dst) == 0 && ::stat(kept[k].path.c_str(), &src) == 0 &&
                 src.st_dev == dst.st_dev && src.st_ino == dst.st_ino) {
        std::fprintf(stderr, "qtext: %s: refused: --out would write it over itself\n", kept[k].path.c_str());
        failed = true;
      } else {
        jobs.push_back({kept[k].path, destination});
      }
    }
  }

  long cores = ::sysconf(_SC_NPROCESSORS_ONLN);
  int workers = options.jobs > 0 ? options.jobs : static_cast<int>(cores > 0 ? cores : 1);
  Progress progress(jobs.size(), ::isatty(STDERR_FILENO) == 1);
  size_t files = 0, texts = 0, matches = 0;
  qtext::RunAll(
      jobs.size(), workers,
      [&](size_t k) { return qtext::ProcessDrawing(options, pattern, jobs[k].path, jobs[k].destination); },
      [&](size_t k, qtext::FileResult& r) {
        progress.Clear();
        Write(stdout, r.out);
        std::fflush(stdout);
        if (r.failed && r.err.empty()) r.err = "qtext: " + jobs[k].path + ": processing it stopped the worker\n";
        Write(stderr, r.err);
        failed = failed || r.failed;
        files += r.changed || (r.matches > 0 && options.command == qtext::Command::kFind);
        texts += r.texts;
        matches += r.matches;
      },
      [&](size_t finished) { progress.Update(finished); });
  progress.Clear();
  if (options.command == qtext::Command::kReplace) {
    std::printf("qtext: %s %zu file%s, %zu text%s, %zu replacement%s\n",
                options.dryRun ? "would change" : "changed", files, files == 1 ? "" : "s", texts,
                texts == 1 ? "" : "s", matches, matches == 1 ? "" : "s");
  }
  std::fflush(stdout);
  if (failed) return Status(Exit::kError);
  return Status(matches > 0 ? Exit::kMatched : Exit::kNone);
}
