// The spelling checker on a 16 KiB text, and qtext spell over many drawings against qtext find.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "bench/support/CorpusCopies.h"
#include "spell/Spelling.h"

namespace {

using mtextsearch::TextKind;

// Notes of a drawing in Russian and English, with a misspelling in every few of them.
const char* const kSentences[] = {
    "Перегородки выполнить из кирпича по ГОСТ 530-2012 толщиной 120 мм.",
    "All dimensions are in millimetres unless otherwise noted.",
    "Стены наружные утеплить минераловатными плитами, {\\C1;см. узел 3}.",
    "Concrete class B25, reinforcement {\\fArial|b1;A500C} to the drawing КЖ-1.",
    "Отметка 0.000 соответствует абсолютной отметке 152.35 по генплану.",
    "The contractor shall verify all dimensions on site before fabrication.",
    "Двери и окна установить по спецификайии, лист 4.",
    "Waterproofing of the basement walls with two layers of bitumen membrane.",
    "Полы в санузлах выполнить с уклоном 1%% к трапам.",
    "Steel pannels painted with two coats of primer, \\S+0.5^-0.2; tolerance.",
    "Монтаж вести в соответствии с проектом производства работ.",
    "Fire rating of the partitions {\\H1.5x;EI 60}, see the general notes.",
};

std::string Notes(size_t bytes) {
  std::string text;
  for (size_t n = 0; text.size() < bytes; ++n) text += std::string(kSentences[n % std::size(kSentences)]) + "\\P";
  text.resize(bytes);
  return text;
}

const spelling::Checker& DefaultChecker() {
  static const spelling::Checker checker{spelling::Settings{}};
  return checker;
}

// Processor seconds of one `step`: the median of nine batches of ten, so that a batch that other
// work on the machine slowed down does not count.
template <class Step>
double MedianSeconds(Step&& step) {
  std::vector<double> batches;
  for (int k = 0; k < 9; ++k) {
    const double start = benchsupport::CpuSeconds();
    for (int r = 0; r < 10; ++r) step();
    batches.push_back((benchsupport::CpuSeconds() - start) / 10);
  }
  std::nth_element(batches.begin(), batches.begin() + 4, batches.end());
  return batches[4];
}

// Checking a 16 KiB text whole, against displaying it (the map of the text as shown, which the
// check starts from).
void BM_SpellCheck16KiB(benchmark::State& state) {
  const std::string text = Notes(16 * 1024);
  const spelling::Checker& checker = DefaultChecker();
  size_t misspelt = 0;
  const double seconds =
      benchsupport::TimedLoop(state, [&] { misspelt = checker.Check(text, TextKind::kMText).misspelt.size(); });
  const double display = MedianSeconds([&] { benchmark::DoNotOptimize(mtextsearch::Display(text, TextKind::kMText)); });
  benchsupport::ReportValue(state, seconds);
  benchsupport::ReportAgainst(state, "display", seconds, display);
  state.counters["misspelt"] = static_cast<double>(misspelt);
}
BENCHMARK(BM_SpellCheck16KiB)->Unit(benchmark::kMillisecond);

// A letter typed into a 16 KiB text: only the word it touched is looked up again. Against
// checking the changed text whole.
void BM_SpellRecheckKeystroke16KiB(benchmark::State& state) {
  const std::string text = Notes(16 * 1024);
  const spelling::Checker& checker = DefaultChecker();
  const spelling::Checked before = checker.Check(text, TextKind::kMText);
  std::string typed = text;
  typed.insert(text.size() / 2, "x");
  const double seconds =
      benchsupport::TimedLoop(state, [&] { benchmark::DoNotOptimize(checker.Recheck(before, typed)); });
  const double whole = MedianSeconds([&] { benchmark::DoNotOptimize(checker.Check(typed, TextKind::kMText)); });
  benchsupport::ReportValue(state, seconds);
  benchsupport::ReportAgainst(state, "whole_check", seconds, whole);
}
BENCHMARK(BM_SpellRecheckKeystroke16KiB)->Unit(benchmark::kMicrosecond);

// qtext spell over 1,000 corpus drawings against qtext find over the same files, each with one
// worker process, with no options file or personal dictionary of the user's.
void BM_QTextSpellAgainstFind(benchmark::State& state) {
  static benchsupport::CorpusCopies copies;
  if (copies.folder.empty()) benchsupport::CopyCorpus(QUILLON_SHARED_DIR, 1000, copies);
  if (copies.folder.empty()) {
    state.SkipWithError("../shared/corpus is absent");
    for (auto _ : state) {
    }
    return;
  }
  const std::string config = copies.folder + "/config";
  double spell = 0, find = 0;
  for (auto _ : state) {
    // Exit 1 (misspelt words: the corpus has Lorem ipsum) and 0 (matched) and nothing else.
    spell = benchsupport::RunOverFiles(QUILLON_QTEXT, {"spell", "-j", "1"}, copies.files, 1, config.c_str());
    find = benchsupport::RunOverFiles(QUILLON_QTEXT, {"find", "-j", "1", "-i", "line"}, copies.files, 0, config.c_str());
    if (spell < 0 || find < 0) {
      state.SkipWithError("qtext did not exit as expected");
      break;
    }
    state.SetIterationTime(spell);
  }
  state.counters["value_s"] = spell;
  state.counters["find_s"] = find;
  state.counters["x_find"] = spell / find;
}
BENCHMARK(BM_QTextSpellAgainstFind)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
