// DXF load and save of the largest corpus drawing and of a generated 50 MB drawing, each against a
// plain read and write of the same file alternated with it in the same run ("x_readwrite"), and
// the peak memory of qhost loading and saving the generated drawing against the file's size.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"

extern char** environ;

namespace {

// The largest drawing of the corpus, or "" when the corpus is absent.
std::string LargestCorpusDrawing() {
  std::string dir = std::string(QUILLON_SHARED_DIR) + "/corpus/dxf", best;
  off_t bestSize = -1;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string p = dir + "/" + e->d_name;
      struct stat st {};
      if (p.size() > 4 && p.substr(p.size() - 4) == ".dxf" && stat(p.c_str(), &st) == 0 && st.st_size > bestSize) {
        bestSize = st.st_size;
        best = p;
      }
    }
    closedir(d);
  }
  return best;
}

// Runs a program to its end, its output to /dev/null; its exit status.
int Run(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (rc != 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The peak resident set of a program in KiB, as /usr/bin/time gives it, or -1 when it fails. Not
// measured from this process: a child's peak counts what its parent held when it was started.
long PeakKib(std::vector<std::string> args) {
  std::string report = "/tmp/qhost-bench-" + std::to_string(getpid()) + ".rss";
  args.insert(args.begin(), {"/usr/bin/time", "-f", "%M", "-o", report});
  long kib = -1;
  if (Run(args) == 0) std::ifstream(report) >> kib;
  std::remove(report.c_str());
  return kib;
}

// The generated drawing, made by the generator script when it is missing or older than the
// script (the same bytes every time).
const std::string& GeneratedDrawing() {
  static const std::string path = [] {
    std::string p = QUILLON_BENCH_DRAWING;
    struct stat drawing {}, generator {};
    if (stat(p.c_str(), &drawing) == 0 && stat(QUILLON_DRAWING_GENERATOR, &generator) == 0 &&
        drawing.st_mtime >= generator.st_mtime)
      return p;
    std::fprintf(stderr, "generating %s\n", p.c_str());
    if (Run({"/usr/bin/python3", QUILLON_DRAWING_GENERATOR, p + ".part", "--seed", "1", "--megabytes", "50"}) != 0 ||
        std::rename((p + ".part").c_str(), p.c_str()) != 0)
      return std::string();
    return p;
  }();
  return path;
}

std::string TempPath() { return "/tmp/qhost-bench-" + std::to_string(getpid()) + ".dxf"; }

off_t FileSize(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_size : 0;
}

// The baseline: read the file and write the same bytes to a new file, flushed to disk as a save is.
void PlainReadWrite(const std::string& path) {
  std::string bytes(static_cast<size_t>(FileSize(path)), '\0');
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return;
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
  std::fclose(in);
  FILE* out = std::fopen(TempPath().c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fflush(out);
  fsync(fileno(out));
  std::fclose(out);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

using DrawingPath = const std::string& (*)();

const std::string& Corpus() {
  static const std::string path = LargestCorpusDrawing();
  return path;
}

// Runs `step` per iteration, then the baseline on the same file, and reports the medians of both
// in processor time and their ratio. Processor time: waiting for the disk to flush varies with
// whatever else the machine does and is the same for a save and for the baseline.
template <class Step>
void Measure(benchmark::State& state, const std::string& path, Step step) {
  std::vector<double> steps, baselines;
  for (auto _ : state) {
    double start = benchsupport::CpuSeconds();
    step();
    double between = benchsupport::CpuSeconds();
    PlainReadWrite(path);
    double end = benchsupport::CpuSeconds();
    state.SetIterationTime(between - start);
    steps.push_back(between - start);
    baselines.push_back(end - between);
  }
  benchsupport::ReportValue(state, Median(steps));
  benchsupport::ReportAgainst(state, "readwrite", Median(steps), Median(baselines));
  state.counters["file_MiB"] = static_cast<double>(FileSize(path)) / (1 << 20);
  state.SetLabel(path.substr(path.rfind('/') + 1));
}

bool Usable(benchmark::State& state, const std::string& path) {
  if (!path.empty()) return true;
  state.SkipWithError("no drawing: ../shared/corpus is absent or the generator failed");
  return false;
}

void BM_Load(benchmark::State& state, DrawingPath drawing) {
  const std::string& path = drawing();
  if (!Usable(state, path)) return;
  Measure(state, path, [&] {
    auto load = qhost::LoadDrawing(path);
    benchmark::DoNotOptimize(load.database.get());
  });
}

void BM_SaveUnchanged(benchmark::State& state, DrawingPath drawing) {
  const std::string& path = drawing();
  if (!Usable(state, path)) return;
  auto load = qhost::LoadDrawing(path);
  Measure(state, path, [&] {
    std::string error;
    qhost::SaveDrawing(*load.database, TempPath(), &error);
  });
}

// Load and save without a change, as opening a drawing and saving it does.
void BM_LoadSave(benchmark::State& state, DrawingPath drawing) {
  const std::string& path = drawing();
  if (!Usable(state, path)) return;
  Measure(state, path, [&] {
    auto load = qhost::LoadDrawing(path);
    std::string error;
    qhost::SaveDrawing(*load.database, TempPath(), &error);
  });
}

// Every multiline text changed, so each is rewritten.
void BM_SaveEveryTextChanged(benchmark::State& state, DrawingPath drawing) {
  const std::string& path = drawing();
  if (!Usable(state, path)) return;
  auto load = qhost::LoadDrawing(path);
  for (AcDbObjectId id : qhost::EntityIds(*load.database)) {
    AcDbMText* m = nullptr;
    if (acdbOpenObject(m, id, AcDb::kForWrite) != Acad::eOk) continue;
    std::string contents = std::string(m->contentsConst()) + " changed";
    m->setContents(contents.c_str());
    m->close();
  }
  Measure(state, path, [&] {
    std::string error;
    qhost::SaveDrawing(*load.database, TempPath(), &error);
  });
}

// The peak resident set of qhost loading and saving the drawing, less qhost's on an empty
// drawing, against the file's size.
void BM_PeakMemory(benchmark::State& state, DrawingPath drawing) {
  const std::string& path = drawing();
  if (!Usable(state, path)) return;
  std::string script = TempPath() + ".txt";
  std::ofstream(script) << "command SAVEAS " << TempPath() << "\n";
  long drawingKib = 0, emptyKib = 0;
  for (auto _ : state) {
    drawingKib = PeakKib({QUILLON_QHOST, path, "--script", script});
    emptyKib = PeakKib({QUILLON_QHOST, "--script", script});
    if (drawingKib < 0 || emptyKib < 0) {
      state.SkipWithError("qhost failed, or /usr/bin/time is missing");
      break;
    }
  }
  std::remove(script.c_str());
  double file = static_cast<double>(FileSize(path)) / (1 << 20);
  state.counters["value_MiB"] = static_cast<double>(drawingKib - emptyKib) / 1024;
  state.counters["empty_MiB"] = static_cast<double>(emptyKib) / 1024;
  state.counters["file_MiB"] = file;
  state.counters["x_file"] = static_cast<double>(drawingKib - emptyKib) / 1024 / file;
  state.SetLabel(path.substr(path.rfind('/') + 1));
}

int Register() {
  struct Drawing {
    const char* name;
    DrawingPath path;
    int iterations;  // 0: as many as the library decides
  };
  for (const Drawing& d : {Drawing{"corpus", Corpus, 0}, Drawing{"generated", GeneratedDrawing, 5}}) {
    auto add = [&](const char* name, void (*fn)(benchmark::State&, DrawingPath)) {
      auto* b = benchmark::RegisterBenchmark((std::string(name) + "/" + d.name).c_str(), fn, d.path);
      b->UseManualTime()->Unit(benchmark::kMillisecond);
      if (d.iterations) b->Iterations(d.iterations);
    };
    add("Load", BM_Load);
    add("SaveUnchanged", BM_SaveUnchanged);
    add("LoadSave", BM_LoadSave);
    add("SaveEveryTextChanged", BM_SaveEveryTextChanged);
  }
  benchmark::RegisterBenchmark("PeakMemory/generated", BM_PeakMemory, GeneratedDrawing)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  return 0;
}

const int kRegistered = Register();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(TempPath().c_str());
  return 0;
}
