// The reader's grouping of plain-text contents: runs of text wrapped in groups that state their
// height and colour, relative heights made absolute, and heights and colours carried into font runs.
#include <algorithm>
#include <map>
#include <vector>

#include "converter/MTextRtfConverter.h"
#include "converter/ReaderSteps.h"

using namespace reader;

namespace {

constexpr size_t npos = std::string::npos;

std::string Integer(double x) { return IntegerText(x).GetString(); }

bool OnlyClosingBraces(std::string_view text) { return text.find_first_not_of('}') == std::string_view::npos; }

// The wrapping step's working text as plain bytes, rewritten by whole-text replacement: the
// general form, for any text.
class WrapByReplacement {
 public:
  WrapByReplacement(std::string text, std::string head) : m_text(std::move(text)), m_head(std::move(head)) {
    Index();
  }

  // One wrapping of t; false when it changed nothing.
  bool Wrap(std::string_view t) {
    // Both patterns begin with "}" and the byte behind it: most t cannot occur at all.
    if (!m_followsBrace[static_cast<unsigned char>(t[0])]) return false;
    std::string pattern = "}" + std::string(t) + "{";
    if (m_text.find(pattern) != npos) {
      m_text = detail::ReplaceAll(m_text, m_head + std::string(t) + "}{", pattern);
    } else {
      pattern.pop_back();
      if (m_text.find(pattern) == npos) return false;
      m_text = detail::ReplaceAll(m_text, m_head + std::string(t) + "}", pattern);
    }
    Index();
    return true;
  }

  std::string Result() { return std::move(m_text); }

 private:
  void Index() {
    std::fill(std::begin(m_followsBrace), std::end(m_followsBrace), false);
    for (size_t i = m_text.find('}'); i != npos && i + 1 < m_text.size(); i = m_text.find('}', i + 1)) {
      m_followsBrace[static_cast<unsigned char>(m_text[i + 1])] = true;
    }
  }

  std::string m_text;
  std::string m_head;
  bool m_followsBrace[256];
};

// The same wrapping for a text in which no "}" stands between a "}" and the next "{", which
// holds for contents whose groups are not nested. There each "}" is followed by its gap: the
// bytes up to the next "{" (or to the end), holding no brace. Replacing "}" + t (+ "{") wraps a
// gap that equals t (or begins with it): the head's tail goes in behind the "}", and a new "}"
// behind t starts a gap of what is left. So the gaps are tracked by their text alone, and the
// result is the copy with those insertions made in order.
class WrapByGaps {
 public:
  WrapByGaps(std::string text, const std::string& head) : m_copy(std::move(text)), m_opening(head.substr(1)) {
    for (size_t i = m_copy.find('}'); i != npos; i = m_copy.find('}', i + 1)) {
      size_t end = m_copy.find('{', i + 1);
      Add(i + 1, end == npos ? m_copy.size() : end, end != npos);
    }
  }

  // True when every "}" of the text is followed by a gap without "}".
  static bool Fits(std::string_view text) {
    bool afterClosing = false;
    for (char c : text) {
      if (c == '}') {
        if (afterClosing) return false;
        afterClosing = true;
      } else if (c == '{') {
        afterClosing = false;
      }
    }
    return true;
  }

  bool Wrap(std::string_view t) {
    // "}" + t + "{": every gap that is t and ends at a "{".
    std::vector<Gaps::iterator> whole;
    for (auto [it, end] = m_gaps.equal_range(t); it != end; ++it) {
      if (it->second.closed) whole.push_back(it);
    }
    if (!whole.empty()) {
      for (auto it : whole) {
        Insert(it->second.first, &m_opening);
        Insert(it->second.end, &kClosing);
        m_gaps.erase(it);
      }
      return true;
    }
    // "}" + t: every gap that begins with t is split behind it. When the split gap ended the
    // text, the scan starts over once and splits what begins with t again.
    bool endedText = false;
    if (!Split(t, endedText)) return false;
    if (endedText) Split(t, endedText);
    return true;
  }

  std::string Result() const {
    std::vector<std::pair<size_t, const std::string*>> inserts = m_inserts;
    std::stable_sort(inserts.begin(), inserts.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out;
    size_t from = 0;
    for (const auto& [at, text] : inserts) {
      out.append(m_copy, from, at - from);
      out += *text;
      from = at;
    }
    out.append(m_copy, from, npos);
    return out;
  }

 private:
  struct Gap {
    size_t first, end;
    bool closed;  // a "{" follows
  };
  using Gaps = std::multimap<std::string_view, Gap>;

  void Add(size_t first, size_t end, bool closed) {
    if (end > first) m_gaps.emplace(std::string_view(m_copy).substr(first, end - first), Gap{first, end, closed});
  }

  void Insert(size_t at, const std::string* text) { m_inserts.emplace_back(at, text); }

  bool Split(std::string_view t, bool& endedText) {
    std::vector<Gap> hit;
    auto it = m_gaps.lower_bound(t);
    while (it != m_gaps.end() && it->first.substr(0, t.size()) == t) {
      hit.push_back(it->second);
      it = m_gaps.erase(it);
    }
    endedText = false;
    for (const Gap& gap : hit) {
      size_t cut = gap.first + t.size();
      Insert(gap.first, &m_opening);
      Insert(cut, &kClosing);
      if (cut == gap.end && !gap.closed) endedText = true;
      Add(cut, gap.end, gap.closed);
    }
    return !hit.empty();
  }

  static inline const std::string kClosing = "}";
  std::string m_copy;
  std::string m_opening;
  Gaps m_gaps;
  std::vector<std::pair<size_t, const std::string*>> m_inserts;
};

// Runs the wrapping step's sequence of t over the copy: for each position j, t is the text
// behind the first "}" at or after j up to the next "{" (the text from j when no "}" follows).
// An empty t ends the step. A t of closing braces only is left unwrapped: its replacement would
// end with its own pattern, and where that occurrence ends the text the scan would never end. Positions up to the same "}" share
// their t; wrapping the same t again after it changed nothing changes nothing.
template <class Wrapping>
std::string WrapSequence(const std::string& copy, Wrapping wrapping) {
  std::string_view last;
  bool lastChangedNothing = false;
  auto wrap = [&](std::string_view t) {
    if (lastChangedNothing && t == last) return false;
    bool changed = wrapping.Wrap(t);
    last = t;
    lastChangedNothing = !changed;
    return changed;
  };
  const std::string_view text(copy);
  size_t j = 0;
  for (size_t close = text.find('}'); close != npos; close = text.find('}', j)) {
    size_t open = text.find('{', close + 1);
    std::string_view t = text.substr(close + 1, open == npos ? npos : open - close - 1);
    // Behind a t of closing braces only, each next t is one brace shorter, down to the empty
    // one that ends the step: none of them is wrapped.
    if (t.empty() || OnlyClosingBraces(t)) return wrapping.Result();
    for (size_t times = close - j + 1; times > 0 && wrap(t); --times) {
    }
    j = close + 1;
  }
  const size_t open = text.find('{', j);
  const size_t end = open == npos ? text.size() : open;
  for (; j < end; ++j) wrap(text.substr(j, end - j));
  return wrapping.Result();
}

}  // namespace

void MTextRtfConverter::GroupPlainText() {
  ReplaceIn(workText, "\\\\H", "//__");
  m_runningHeight = TextHeight() * 12 + 0.5;
  const bool hasHeight = workText.Find("\\H") >= 0;
  const bool hasFont = workText.Find("\\f") >= 0 || workText.Find("\\F") >= 0;
  if (!hasHeight && !hasFont) {
    m_runningHeight += 0.5;
    workText = "{\\H" + IntegerText(m_runningHeight) + "\\C7;" + workText + "}";
    ReplaceIn(workText, "//__", "\\\\H");
    return;
  }
  if (!hasHeight) {
    ReplaceIn(workText, "\\F", "\\f");
    ReplaceIn(workText, ".shx", "");
    WrapBetweenGroups("}{\\C7;");
    CarryColoursIntoFontRuns();
    m_runningHeight += 0.5;
    BuildFontGroups();
    ReplaceIn(workText, "//__", "\\\\H");
    return;
  }
  ConvertContentHeights();
  WrapBetweenGroups("}{\\H" + IntegerText(m_runningHeight) + ";\\C7;");
  RewriteRunningHeights();
  ReplaceIn(workText, "//__", "\\\\H");
  if (workText.Find("\\f") < 0) {
    workText = "{\\H" + IntegerText(m_runningHeight + 0.5) + ";\\C7;" + workText + "}";
    return;
  }
  CarryHeightsIntoFontRuns();
  if (workText.Find("\\C") >= 0) CarryColoursIntoFontRuns();
  workText = "{\\C7;" + workText + "}";
}

// The host writes absolute heights in drawing units ("\H2.5;"); the control reads "\fs" in
// half-points. A value that is a plain number is converted here, before the wrapping adds
// height codes of its own, which hold half-points already.
void MTextRtfConverter::ConvertContentHeights() {
  const std::string text = Bytes(workText);
  std::string out;
  size_t from = 0;
  for (size_t h = text.find("\\H"); h != npos; h = text.find("\\H", h + 2)) {
    size_t semi = text.find(';', h + 2);
    if (semi == npos) break;
    CString value(text.data() + h + 2, static_cast<int>(semi - h - 2));
    if (!IsPlainDecimal(value)) continue;
    out.append(text, from, h + 2 - from);
    out += HalfPointsText(value).GetString();
    from = semi;
  }
  out.append(text, from, npos);
  workText = detail::ToCString(out);
}

void MTextRtfConverter::WrapBetweenGroups(const CString& head) {
  std::string copy = Bytes(workText);
  if (copy.find('}') == npos) return;  // every pattern begins with "}": nothing to wrap
  std::string result = WrapByGaps::Fits(copy) ? WrapSequence(copy, WrapByGaps(copy, Bytes(head)))
                                              : WrapSequence(copy, WrapByReplacement(copy, Bytes(head)));
  workText = detail::ToCString(result);
}

// Relative heights ("\H0.5x;") chain from the height in force; an absolute one sets the base
// again. Each code's segment runs from its "\H" to the next "{\" once every "\H" has a "{".
void MTextRtfConverter::RewriteRunningHeights() {
  std::string text = detail::ReplaceAll(View(workText), "{\\H", "\\H");
  const double base = TextHeight() * 12 + 0.5;
  size_t s = text.find("{\\H");
  std::string out = text.substr(0, s);
  while (s != npos) {
    size_t end = text.find("{\\", s + 1);
    std::string segment = text.substr(s + 1, (end == npos ? text.size() : end) - s - 1);
    std::string_view value = detail::TextBetween(segment, "\\H", ";");
    if (value.find('x') != npos) {
      m_runningHeight = LeadingDecimal(value.data(), static_cast<int>(value.size()) - 1) * m_runningHeight;
      segment = "\\H" + Integer(m_runningHeight) + segment.substr(2 + value.size());
    } else {
      m_runningHeight = base;
    }
    out += segment;
    if (end == npos) break;
    s = text.find("{\\H", end);
    out.append(text, end, (s == npos ? text.size() : s) - end);
  }
  workText = detail::ToCString(out);
}

namespace {

// Font runs: from each "\f" to the next one, the last to the end of the text.
template <class EachRun>
void ForEachFontRun(const std::string& text, size_t first, EachRun each) {
  for (size_t start = first; start != npos;) {
    size_t next = text.find("\\f", start + 1);
    each(text.substr(start, next == npos ? npos : next - start), next == npos);
    start = next;
  }
}

// The text with its font runs (from `first` on) replaced by the carried runs, as replacing every
// occurrence of the old runs would give. No occurrence starts in front of `first`, where no font
// code stands, and the one at `first` ends the text; the scan then starts over on the new text
// (unless the new runs end with the old ones), where the old runs can only stand again at a font
// code no further on than the new runs are longer.
std::string ReplaceFontRuns(const std::string& text, size_t first, const std::string& carried) {
  std::string_view before = std::string_view(text).substr(first);
  std::string once = text.substr(0, first) + carried;
  if (carried.size() >= before.size() && std::string_view(carried).substr(carried.size() - before.size()) == before) {
    return once;
  }
  for (size_t at = first; at + before.size() <= once.size(); ++at) {
    if (std::string_view(once).substr(at, before.size()) == before) return detail::ReplaceAll(once, carried, before);
  }
  return once;
}

// Puts the carried code right behind the run's first ";" (at its start without one), unless the
// run's own code of that kind stands there already.
void InsertCarried(std::string& run, std::string_view code, const std::string& carried) {
  if (run.find(code) != npos && detail::TextBetween(run, ";", code).empty()) return;
  size_t semi = run.find(';');
  run.insert(semi == npos ? 0 : semi + 1, carried);
}

// The code of a kind nearest in front of the run's last ";", or npos.
size_t LastCodeBeforeLastSemicolon(const std::string& run, const char* code, size_t& last) {
  last = run.rfind(';');
  if (last == npos || last == 0) return npos;
  return run.rfind(code, last - 1);
}

}  // namespace

void MTextRtfConverter::CarryHeightsIntoFontRuns() {
  const std::string text = Bytes(workText);
  const size_t first = text.find("\\f");
  if (first == npos) return;
  std::string carried = "\\H" + Integer(TextHeight() * 12 + 0.5) + ";";
  std::string carriedOut;
  bool firstRun = true;
  ForEachFontRun(text, first, [&](std::string run, bool) {
    InsertCarried(run, "\\H", carried);
    size_t last;
    size_t h = LastCodeBeforeLastSemicolon(run, "\\H", last);
    if (h != npos) carried = "\\H" + run.substr(h + 2, run.find(';', h + 2) - h - 2) + ";";
    if (run.find('}') != npos) {
      carriedOut += "{" + run;
    } else {
      carriedOut += firstRun ? run + "}" : "{" + run + "}";
    }
    firstRun = false;
  });
  if (carriedOut != std::string_view(text).substr(first)) workText = detail::ToCString(ReplaceFontRuns(text, first, carriedOut));
}

void MTextRtfConverter::CarryColoursIntoFontRuns() {
  const std::string text = Bytes(workText);
  const size_t first = text.find("\\f");
  if (first == npos) return;
  std::string carried = "\\C7;";
  size_t c = first == 0 ? npos : text.rfind("\\C", first - 1);
  if (c != npos) carried = "\\C" + text.substr(c + 2, text.find(';', c + 2) - c - 2) + ";";
  std::string carriedOut;
  ForEachFontRun(text, first, [&](std::string run, bool) {
    InsertCarried(run, "\\C", carried);
    size_t last;
    size_t code = LastCodeBeforeLastSemicolon(run, "\\C", last);
    if (code != npos) {
      // Behind a height code the number ends at its own ";", otherwise at the run's last one.
      size_t h = run.find("\\H", code + 2);
      size_t end = h != npos && h < last ? run.find(';', code + 2) : last;
      carried = "\\C" + run.substr(code + 2, end - code - 2) + ";";
    }
    carriedOut += run;
  });
  if (carriedOut != std::string_view(text).substr(first)) workText = detail::ToCString(ReplaceFontRuns(text, first, carriedOut));
}

// Every font run but the last becomes a group of its own; the last one is left open when it
// holds a "}" (which then closes it), and the whole text goes into a group with the base height.
void MTextRtfConverter::BuildFontGroups() {
  const std::string text = Bytes(workText);
  const size_t first = text.find("\\f");
  std::string groups;
  if (first != npos) {
    ForEachFontRun(text, first, [&](const std::string& run, bool lastRun) {
      groups += "{" + run;
      if (!lastRun || run.find('}') == npos) groups += "}";
    });
  }
  workText = "{\\H" + IntegerText(m_runningHeight) + "\\C7;" + detail::ToCString(text.substr(0, first)) +
             detail::ToCString(groups);
}
