// MTextToRtf's grouping of plain-text contents: runs of text wrapped in groups that state their
// height and colour, relative heights made absolute, and heights and colours carried into font runs.
#include <utility>
#include <vector>

#include "converter/MTextRtfConverter.h"
#include "converter/MTextToRtfSteps.h"

using namespace mtext_to_rtf;

namespace {

constexpr size_t npos = std::string::npos;

std::string Integer(double x) { return IntegerText(x).GetString(); }

// A carried value ends at its own ";" or where another code begins. The value of a code cut
// short would otherwise run on over the codes behind it, and each run would carry a copy of them
// all into the next; a colour code followed by other codes would carry their text along.
std::string UpToCode(std::string_view value) { return std::string(value.substr(0, value.find_first_of(";\\"))); }

}  // namespace

// Every wrapper's height is the base rounded once, int(height x 12 + 0.5): a value rounded
// twice (31 half-points for 2.5) comes back from RtfToMText as a larger height, so a text would
// grow each time it was opened in the editor.
void MTextRtfConverter::GroupPlainText() {
  ReplaceAllIn(workText, "\\\\H", "//__");
  m_runningHeight = BaseHalfPoints();
  const bool hasHeight = workText.Find("\\H") >= 0;
  const bool hasFont = workText.Find("\\f") >= 0 || workText.Find("\\F") >= 0;
  if (!hasHeight && !hasFont) {
    workText = "{\\H" + IntegerText(m_runningHeight) + kAutoColour + workText + "}";
    ReplaceAllIn(workText, "//__", "\\\\H");
    return;
  }
  if (!hasHeight) {
    ReplaceAllIn(workText, "\\F", "\\f");
    ReplaceAllIn(workText, ".shx", "");
    FindScopes();
    WrapBetweenGroups(kWrapHead);
    workText = detail::ToCString(WithWrappersReachingOn(View(workText)));
    CarryColoursIntoFontRuns();
    BuildFontGroups();
    ReplaceAllIn(workText, "//__", "\\\\H");
    return;
  }
  ConvertContentHeights();
  FindScopes();
  WrapBetweenGroups(kWrapHead);
  workText = detail::ToCString(WithWrappersReachingOn(View(workText)));
  RewriteRunningHeights();
  ReplaceAllIn(workText, "//__", "\\\\H");
  if (workText.Find("\\f") < 0) {
    // The text in front of the first height code is at the base height.
    workText = "{\\H" + IntegerText(BaseHalfPoints()) + ";" + kAutoColour + workText + "}";
    return;
  }
  CarryHeightsIntoFontRuns();
  if (workText.Find("\\C") >= 0) CarryColoursIntoFontRuns();
  // Text in front of the first font run is shown at the base height too.
  workText = "{\\H" + IntegerText(BaseHalfPoints()) + ";" + kAutoColour + workText + "}";
}

// The host writes absolute heights in drawing units ("\H2.5;"); the control reads "\fs" in
// half-points. A value that is a plain number is converted here, before the wrapping adds
// height codes of its own, which hold half-points already. Every height code is noted as
// written, for the relative ones behind it.
void MTextRtfConverter::ConvertContentHeights() {
  const std::string text = Bytes(workText);
  std::string out;
  m_heightCodes.clear();
  size_t from = 0, semi = 0;
  for (size_t h = text.find("\\H"); h != npos; h = text.find("\\H", h + 2)) {
    if (semi < h + 2) semi = text.find(';', h + 2);
    if (semi == npos) break;
    m_heightCodes.emplace_back();
    if (!IsPlainDecimal(text.data() + h + 2, semi - h - 2)) continue;
    out.append(text, from, h + 2 - from);
    HeightCode& code = m_heightCodes.back();
    code.text = text.substr(h + 2, semi - h - 2);
    code.units = LeadingDecimal(code.text.c_str(), static_cast<int>(code.text.size()));
    const double natural = code.units * halfPointsPerUnit + 0.5;
    out += code.units > 0.0 ? DecimalText(SizeOf(code.text, code.units, natural)) : Integer(natural);
    from = semi;
  }
  out.append(text, from, npos);
  workText = detail::ToCString(out);
}

// A height or colour code reaches to the end of the group it stands in. For each "\H" this finds
// the height code in force in front of it, the last one before it whose group is still open (-1:
// the base), and for each "\f" the height and the colour in force there. Read before the
// wrapping, which adds groups of its own.
void MTextRtfConverter::FindScopes() {
  const std::string_view text = View(workText);
  struct InForce {
    long height = -1;
    std::string colour;  // the colour code's value, "" for none, "\" for one that runs into another code
  };
  std::vector<InForce> open;
  InForce inForce;
  m_heightInForce.clear();
  m_heightAtFont.clear();
  m_colourAtFont.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\\f") == 0) {
      m_heightAtFont.push_back(inForce.height);
      m_colourAtFont.push_back(inForce.colour);
    }
    if (text[i] == '{') {
      open.push_back(inForce);
    } else if (text[i] == '}' && !open.empty()) {
      inForce = open.back();
      open.pop_back();
    } else if (text.compare(i, 2, "\\H") == 0) {
      m_heightInForce.push_back(inForce.height);
      inForce.height = static_cast<long>(m_heightInForce.size()) - 1;
    } else if (text.compare(i, 2, "\\C") == 0) {
      const std::string_view value = text.substr(i + 2, text.find(';', i + 2) - i - 2);
      inForce.colour = value.find('\\') == npos ? std::string(value) : "\\";
    }
  }
}

// Relative heights ("\H0.5x;") multiply the height in force, the code's scope found above, or the
// base; each is known by the text of that height with its own behind it. Each code's segment
// runs from its "\H" to the next "{\" once every "\H" has a "{".
void MTextRtfConverter::RewriteRunningHeights() {
  std::string text = detail::ReplaceAll(View(workText), "\\H", "{\\H");
  // The running value behind each code, in half-points before rounding.
  std::vector<double> behind;
  m_heightTexts.clear();
  m_heightCodes.resize(m_heightInForce.size());
  size_t s = text.find("{\\H");
  std::string out = text.substr(0, s);
  while (s != npos) {
    const size_t n = behind.size();
    const long scope = n < m_heightInForce.size() ? m_heightInForce[n] : static_cast<long>(n) - 1;
    m_runningHeight = scope < 0 ? BaseHalfPoints() : behind[static_cast<size_t>(scope)];
    const HeightCode outside = scope < 0 || static_cast<size_t>(scope) >= m_heightCodes.size()
                                   ? HeightCode{std::string(), TextHeight()}
                                   : m_heightCodes[static_cast<size_t>(scope)];
    size_t end = text.find("{\\", s + 1);
    std::string segment = text.substr(s + 1, (end == npos ? text.size() : end) - s - 1);
    std::string_view value = detail::TextBetween(segment, "\\H", ";");
    if (value.find_first_of("xX") != npos) {
      const double factor = LeadingDecimal(value.data(), static_cast<int>(value.size()) - 1);
      m_runningHeight = factor * m_runningHeight;
      HeightCode code{std::string(value), factor * outside.units};
      if (scope >= 0) code.text = outside.text.empty() ? std::string() : outside.text + ";\\H" + code.text;
      const std::string size =
          code.units > 0.0 && !code.text.empty() ? DecimalText(SizeOf(code.text, code.units, m_runningHeight)) : Integer(m_runningHeight);
      segment = "\\H" + size + segment.substr(2 + value.size());
      m_heightTexts.push_back(size);
      if (n < m_heightCodes.size()) m_heightCodes[n] = std::move(code);
    } else {
      // A value that runs into another code is no height a run could carry.
      m_heightTexts.push_back(value.find('\\') == npos ? UpToCode(value) : std::string());
      // An absolute height, in half-points by now, is what a relative one after it refers to.
      const double half = LeadingDecimal(value.data(), static_cast<int>(value.size()));
      m_runningHeight = half + 0.5;
      if (n < m_heightCodes.size() && m_heightCodes[n].text.empty()) m_heightCodes[n].units = half / halfPointsPerUnit;
    }
    behind.push_back(m_runningHeight);
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
    if (std::string_view(once).substr(at, before.size()) == before) return detail::ReplaceAll(once, before, carried);
  }
  return once;
}

// The font runs as groups, one run after another. A run's group closes in front of the first "}"
// that closes a group opened in front of its font code, so that the group the font code stood in
// ends where it ended; a run that closes no such group closes its own at its end, unless it leaves
// groups of its own open there: those reach over the runs behind it, so its group stays open, and
// theirs stand inside it, up to that "}" or the end of the text. Closed at the end of such a run,
// the group took the "}" of the run's last open group for its own and stayed open, while the
// group it had closed early lost its height and colour for the text behind it.
class FontGroups {
 public:
  void Add(std::string_view run) {
    m_text += '{';
    m_open.push_back(m_depth);
    for (const char c : run) {
      if (c == '{') {
        ++m_depth;
      } else if (c == '}') {
        CloseAt(m_depth);
        --m_depth;
      }
      m_text += c;
    }
    CloseAt(m_depth);
  }

  std::string Finish() {
    m_text.append(m_open.size(), '}');
    m_open.clear();
    return std::move(m_text);
  }

 private:
  // Closes the innermost open run's group if it was opened at this depth of the text's own
  // groups. The depths of open runs grow inward, so only the innermost can close here.
  void CloseAt(long depth) {
    if (m_open.empty() || m_open.back() != depth) return;
    m_text += '}';
    m_open.pop_back();
  }

  std::string m_text;
  std::vector<long> m_open;  // per run whose group is open, the depth at its font code
  long m_depth = 0;          // the text's own groups opened since the first font code
};

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
  std::string carried = "\\H" + Integer(BaseHalfPoints()) + ";";
  FontGroups groups;
  size_t number = 0;
  ForEachFontRun(text, first, [&](std::string run, bool) {
    // A run carries the height in force at its font code: the base outside every height's group.
    if (number < m_heightAtFont.size()) {
      const long code = m_heightAtFont[number];
      if (code < 0) carried = "\\H" + Integer(BaseHalfPoints()) + ";";
      else if (static_cast<size_t>(code) < m_heightTexts.size() && !m_heightTexts[code].empty()) carried = "\\H" + m_heightTexts[code] + ";";
    }
    ++number;
    InsertCarried(run, "\\H", carried);
    size_t last;
    size_t h = LastCodeBeforeLastSemicolon(run, "\\H", last);
    if (h != npos) carried = "\\H" + UpToCode(std::string_view(run).substr(h + 2, run.find(';', h + 2) - h - 2)) + ";";
    groups.Add(run);
  });
  const std::string carriedOut = groups.Finish();
  if (carriedOut != std::string_view(text).substr(first)) workText = detail::ToCString(ReplaceFontRuns(text, first, carriedOut));
}

void MTextRtfConverter::CarryColoursIntoFontRuns() {
  const std::string text = Bytes(workText);
  const size_t first = text.find("\\f");
  if (first == npos) return;
  std::string carried = kAutoColour;
  size_t c = first == 0 ? npos : text.rfind("\\C", first - 1);
  if (c != npos) carried = "\\C" + UpToCode(std::string_view(text).substr(c + 2, text.find(';', c + 2) - c - 2)) + ";";
  std::string carriedOut;
  size_t number = 0;
  ForEachFontRun(text, first, [&](std::string run, bool) {
    // A run carries the colour in force at its font code, the automatic one outside every
    // colour's group.
    if (number < m_colourAtFont.size() && m_colourAtFont[number] != "\\") {
      carried = m_colourAtFont[number].empty() ? std::string(kAutoColour) : "\\C" + m_colourAtFont[number] + ";";
    }
    ++number;
    InsertCarried(run, "\\C", carried);
    size_t last;
    size_t code = LastCodeBeforeLastSemicolon(run, "\\C", last);
    if (code != npos) {
      // Behind a height code the number ends at its own ";", otherwise at the run's last one.
      size_t h = run.find("\\H", code + 2);
      size_t end = h != npos && h < last ? run.find(';', code + 2) : last;
      carried = "\\C" + UpToCode(std::string_view(run).substr(code + 2, end - code - 2)) + ";";
    }
    carriedOut += run;
  });
  if (carriedOut != std::string_view(text).substr(first)) workText = detail::ToCString(ReplaceFontRuns(text, first, carriedOut));
}

// Every font run becomes a group of its own, and the whole text goes into a group with the base
// height.
void MTextRtfConverter::BuildFontGroups() {
  const std::string text = Bytes(workText);
  const size_t first = text.find("\\f");
  FontGroups groups;
  if (first != npos) {
    ForEachFontRun(text, first, [&](const std::string& run, bool) { groups.Add(run); });
  }
  workText = "{\\H" + IntegerText(m_runningHeight) + kAutoColour + detail::ToCString(text.substr(0, first)) +
             detail::ToCString(groups.Finish());
}
