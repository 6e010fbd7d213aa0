// Many copies of the corpus drawings in a temporary folder, and a program timed over them: what
// the benchmarks of qtext run on.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace benchsupport {

struct CorpusCopies {
  CorpusCopies() = default;
  CorpusCopies(const CorpusCopies&) = delete;
  CorpusCopies& operator=(const CorpusCopies&) = delete;
  ~CorpusCopies() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
  std::string folder;  // empty when the corpus is absent; removed at the end
  std::vector<std::string> files;
  size_t bytes = 0;
};

inline double SecondsSince(const std::chrono::steady_clock::time_point& since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// `count` copies of the drawings of `sharedDir`/corpus/dxf, a hundred to a folder.
inline void CopyCorpus(const std::string& sharedDir, size_t count, CorpusCopies& into) {
  std::string corpus = sharedDir + "/corpus/dxf";
  std::vector<std::string> sources;
  if (DIR* dir = ::opendir(corpus.c_str())) {
    while (dirent* e = ::readdir(dir)) {
      std::string name = e->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dxf") == 0) sources.push_back(corpus + "/" + name);
    }
    ::closedir(dir);
  }
  if (sources.empty()) return;
  char folder[] = "/tmp/qtext-bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return;
  into.folder = folder;
  for (size_t k = 0; k < count; ++k) {
    std::ifstream in(sources[k % sources.size()], std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string sub = into.folder + "/d" + std::to_string(k / 100);
    std::filesystem::create_directories(sub);
    std::string path = sub + "/" + std::to_string(k) + ".dxf";
    std::ofstream(path, std::ios::binary) << bytes;
    into.files.push_back(path);
    into.bytes += bytes.size();
  }
}

// Runs `program` with `args` and then every file, its standard output thrown away; the seconds it
// took, or -1 when it could not run or exited with another status than `expected`.
inline double RunOverFiles(const std::string& program, std::vector<std::string> args,
                           const std::vector<std::string>& files, int expected, const char* config = nullptr) {
  args.insert(args.begin(), program);
  args.insert(args.end(), files.begin(), files.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (!config || std::string(*e).rfind("XDG_CONFIG_HOME=", 0) != 0) env.push_back(*e);
  if (config) env.push_back(std::string("XDG_CONFIG_HOME=") + config);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int status = 0;
  bool ran = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0 &&
             ::waitpid(pid, &status, 0) == pid;
  posix_spawn_file_actions_destroy(&actions);
  double seconds = SecondsSince(start);
  return ran && WIFEXITED(status) && WEXITSTATUS(status) == expected ? seconds : -1;
}

}  // namespace benchsupport
