// DXF load and save time of the largest corpus drawing, against a plain read and write of its bytes.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "dbmtext.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"

namespace {

// The largest drawing of the corpus, or "" when the corpus is absent.
const std::string& Largest() {
  static const std::string path = [] {
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
  }();
  return path;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string TempPath() { return "/tmp/qhost-bench-" + std::to_string(getpid()) + ".dxf"; }

// The baseline: read the file and write the same bytes to a new file, flushed to disk as a save is.
void PlainReadWrite() {
  std::string bytes = ReadAll(Largest());
  FILE* f = std::fopen(TempPath().c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fflush(f);
  fsync(fileno(f));
  std::fclose(f);
}

// Processor time: waiting for the disk to flush varies with whatever else the machine does and
// is the same for a save and for the baseline, so the ratio leaves it out.
double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double BaselineSeconds() {
  static const double seconds = [] {
    const int n = 100;
    double start = CpuSeconds();
    for (int i = 0; i < n; ++i) PlainReadWrite();
    return (CpuSeconds() - start) / n;
  }();
  return seconds;
}

// Runs `step` per iteration and reports its processor time as a multiple of the baseline's.
template <class Step>
void Measure(benchmark::State& state, Step step) {
  if (Largest().empty()) {
    state.SkipWithError("../shared/corpus is absent");
    return;
  }
  double baseline = BaselineSeconds();
  double start = CpuSeconds();
  for (auto _ : state) step();
  double perIteration = (CpuSeconds() - start) / static_cast<double>(state.iterations());
  state.counters["x_baseline"] = perIteration / baseline;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(ReadAll(Largest()).size()));
  state.SetLabel(Largest().substr(Largest().rfind('/') + 1));
}

void BM_PlainReadWrite(benchmark::State& state) { Measure(state, PlainReadWrite); }

void BM_Load(benchmark::State& state) {
  Measure(state, [] {
    auto load = qhost::LoadDrawing(Largest());
    benchmark::DoNotOptimize(load.database.get());
  });
}

void BM_SaveUnchanged(benchmark::State& state) {
  auto load = qhost::LoadDrawing(Largest());
  Measure(state, [&] {
    std::string error;
    qhost::SaveDrawing(*load.database, TempPath(), &error);
  });
}

// Every multiline text changed, so each is rewritten.
void BM_SaveEveryTextChanged(benchmark::State& state) {
  auto load = qhost::LoadDrawing(Largest());
  if (load.database) {
    AcDbBlockTable* table = nullptr;
    load.database->getBlockTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* space = nullptr;
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
    table->close();
    for (AcDbObjectId id : space->entityIds()) {
      AcDbMText* m = nullptr;
      if (acdbOpenObject(m, id, AcDb::kForWrite) != Acad::eOk) continue;
      std::string contents = std::string(m->contentsConst()) + " changed";
      m->setContents(contents.c_str());
      m->close();
    }
    space->close();
  }
  Measure(state, [&] {
    std::string error;
    qhost::SaveDrawing(*load.database, TempPath(), &error);
  });
}

BENCHMARK(BM_PlainReadWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveEveryTextChanged)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(TempPath().c_str());
  return 0;
}
