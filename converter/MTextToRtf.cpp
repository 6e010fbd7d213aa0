// MTextToRtf's top level: the sequence of passes, and the passes that are fixed rewrites.
#include <algorithm>
#include <cstdio>

#include "converter/KeptCodes.h"
#include "converter/MTextRtfConverter.h"
#include "converter/MTextToRtfSteps.h"

using namespace mtext_to_rtf;

namespace {

// The kept code of an escaped backslash, a literal backslash of the text. A backslash that ends
// the text is kept as code, so that it comes back where it stood.
constexpr char kLiteral[] = "\\\\";

// The first bytes of the text that are not part of a kept code's token, up to `count`.
std::string LeadingBytes(std::string_view text, size_t count) {
  std::string lead;
  for (size_t i = 0; i < text.size() && lead.size() < count; ++i) {
    if (text[i] == kKeptCodeOpen) {
      i = text.find(kKeptCodeClose, i);
      if (i == std::string_view::npos) break;
      continue;
    }
    lead += text[i];
  }
  return lead;
}

// RtfToMText's own contents begin with a run group in a frame: "{{{\H" or "{{\f". Contents that
// only begin with two braces ("{{K") are plain text, whose text outside every group gets the
// base height.
bool BeginsAsWritersOwn(std::string_view lead) {
  return lead.compare(0, 3, "{{{") == 0 || lead.compare(0, 4, "{{\\f") == 0;
}

}  // namespace

CString MTextRtfConverter::MTextToRtf(CString contents) {
  halfPointsPerUnit = ViewHalfPointsPerUnit(TextHeight());
  ReserveBaseSize();
  workText = contents;
  TakeOutKeptCodes();
  ProtectEscapedFontLetters();
  // RtfToMText's own contents are grouped already.
  const bool preGrouped = BeginsAsWritersOwn(LeadingBytes(View(workText), 4));
  if (!preGrouped) {
    ProtectEscapedBraces();
    DelimitOneLetterCodes();
    GroupPlainText();
    ResetInheritedBoldItalic();
  } else {
    RewritePreGroupedHeights();
  }
  CollectFontKeys();
  ConvertUnderline();
  ReorderFontSpecs();
  DropOffFlags();
  ReplaceFontCodes();
  ConvertBoldItalic();
  ConvertParagraphs();
  ConvertHeightCodes();
  CString fontTable = BuildFontTable();
  KnowFonts();
  ProtectBeforeColourPass();
  CString colourTable = ColourPass();
  RestoreAfterColourPass();
  ReplaceColourCodes();
  RestoreEscapedFontLetters();
  PutBackKeptCodes();
  KeepFinalEmptyLine();
  // The outer group and any group the body leaves open stay open: the control reads them so.
  CString document = fontTable + colourTable + workText;
  if (m_target) {
    m_target->SetRtfText(document);
    m_target->SetKnownHeights(knownHeights);
    m_target->SetKnownFonts(knownFonts);
    m_target->SetViewScale(halfPointsPerUnit);
  }
  return document;
}

double MTextRtfConverter::TextHeight() const { return m_target ? m_target->TextHeight() : 0.0; }
double MTextRtfConverter::BaseHalfPoints() const { return TextHeight() * halfPointsPerUnit + 0.5; }

void MTextRtfConverter::ProtectEscapedFontLetters() { ApplyRewrites(workText, kProtectEscapedFontLetters); }
void MTextRtfConverter::ProtectEscapedBraces() { ApplyRewrites(workText, kProtectEscapedBraces); }
void MTextRtfConverter::DelimitOneLetterCodes() { ApplyRewrites(workText, kDelimitOneLetterCodes); }
void MTextRtfConverter::ConvertUnderline() { ApplyRewrites(workText, kConvertUnderline); }
void MTextRtfConverter::DropOffFlags() { ApplyRewrites(workText, kDropOffFlags); }
void MTextRtfConverter::ConvertBoldItalic() { ApplyRewrites(workText, kConvertBoldItalic); }
void MTextRtfConverter::ConvertParagraphs() { ApplyRewrites(workText, kConvertParagraphs); }
void MTextRtfConverter::ConvertHeightCodes() { ApplyRewrites(workText, kConvertHeightCodes); }
void MTextRtfConverter::ProtectBeforeColourPass() { ApplyRewrites(workText, kProtectBeforeColourPass); }
void MTextRtfConverter::RestoreAfterColourPass() { ApplyRewrites(workText, kRestoreAfterColourPass); }
void MTextRtfConverter::RestoreEscapedFontLetters() { ApplyRewrites(workText, kRestoreEscapedFontLetters); }
void MTextRtfConverter::ResetInheritedBoldItalic() {
  const std::string_view text = View(workText);
  if (!Contains(text, "|b1") && !Contains(text, "|i1")) return;
  workText = detail::ToCString(WithInheritedFlagsReset(text));
}
void MTextRtfConverter::KeepFinalEmptyLine() { workText = detail::ToCString(detail::WithFinalEmptyLineKept(View(workText))); }

// On RtfToMText's contents a height value runs from "\H" to the next backslash or ";", whatever
// it holds. A relative one multiplies the height in force where it stands, its group's; the
// text of its height is that height's text with its own behind it.
void MTextRtfConverter::RewritePreGroupedHeights() {
  ReplaceAllIn(workText, "\\\\H", "//__");
  const std::string text = Bytes(workText);
  std::string out;
  out.reserve(text.size() + 16);
  std::vector<long> open;  // per open group, the height code in force at its "{"
  long inForce = -1;       // -1: the base
  m_heightCodes.clear();
  size_t from = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool escaped = i > 0 && text[i - 1] == '\\';
    if (c == '{' && !escaped) open.push_back(inForce);
    if (c == '}' && !escaped && !open.empty()) {
      inForce = open.back();
      open.pop_back();
    }
    if (c != '\\' || i + 1 >= text.size() || text[i + 1] != 'H') continue;
    const size_t h = i;
    size_t end = text.find_first_of(kCodeEnds, h + 2);
    if (end == std::string::npos) end = h + 2;  // no value: "0" goes in front of the rest
    out.append(text, from, h + 2 - from);
    const std::string value = text.substr(h + 2, end - h - 2);
    const HeightCode outside = inForce < 0 ? HeightCode{std::string(), TextHeight()} : m_heightCodes[inForce];
    HeightCode code{value, LeadingDecimal(value.c_str(), static_cast<int>(value.size()))};
    if (!value.empty() && (value.back() == 'x' || value.back() == 'X')) {
      code.units *= outside.units;
      if (!outside.text.empty()) code.text = outside.text + ";\\H" + value;
    }
    const double natural = code.units * halfPointsPerUnit + 0.5;
    out += code.units > 0.0 ? DecimalText(SizeOf(code.text, code.units, natural)) : IntegerText(natural).GetString();
    inForce = static_cast<long>(m_heightCodes.size());
    m_heightCodes.push_back(std::move(code));
    from = end;
    i = end - 1;
  }
  out.append(text, from, std::string::npos);
  workText = detail::ToCString(out);
  ReplaceAllIn(workText, "//__", "\\\\H");
}

// The base height's size is its own from the start: no height of the text takes it, but an
// absolute one of the same value gives the text it is written with (`\H2.50;` on 2.5).
void MTextRtfConverter::ReserveBaseSize() {
  m_baseSize = -1;
  const double base = TextHeight();
  if (!(base > 0.0)) return;
  m_baseSize = ShownSize(base, halfPointsPerUnit);
  const std::string text = detail::HeightNumber(base);
  knownHeights[m_baseSize] = detail::ToCString(text);
  m_sizeOfText[text] = m_baseSize;
}

int MTextRtfConverter::SizeOf(const std::string& text, double units, double natural) {
  const auto known = m_sizeOfText.find(text);
  if (known != m_sizeOfText.end()) return known->second;
  const int own = LeadingInteger(IntegerText(natural));
  int size = NearestSize(own, [&](int size) {
    const auto held = knownHeights.find(size);
    if (held == knownHeights.end()) return true;
    // The base's size, given up to a written height of the same value.
    const bool absolute = text.find_first_of("xX;") == std::string::npos;
    if (size != m_baseSize || !absolute || units != TextHeight()) return false;
    m_sizeOfText.erase(std::string(View(held->second)));
    m_baseSize = -1;
    return true;
  });
  if (size < 0) size = std::clamp(own, kSmallestHalfPoints, kLargestHalfPoints);  // every size is taken
  if (size != own) ++movedSizes;
  knownHeights[size] = detail::ToCString(text);
  m_sizeOfText[text] = size;
  return size;
}

// Every code the control cannot show as formatting leaves the text for a token of its own, so
// that no pass looks inside it; a "\U+" of a character that the code page has becomes that
// character. The braces of a group that holds a code acting beyond itself stay braces for the
// passes and are kept as code as well, so that the code's reach ends where it ended.
void MTextRtfConverter::TakeOutKeptCodes() {
  const std::string text = Bytes(workText);
  const auto pieces = keptcodes::Scan(text);
  using keptcodes::PieceKind;
  std::vector<bool> marked(pieces.size(), false);
  std::vector<size_t> open;  // the pieces of the groups open at a point
  std::vector<size_t> closer(pieces.size(), pieces.size());
  // A "}" that closes no group closes nothing to the host, which reads on behind it; kept, it
  // closed the wrapper around the text, or the document, and the text behind it was lost.
  std::vector<bool> stray(pieces.size(), false);
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (pieces[k].kind == PieceKind::kOpen) open.push_back(k);
    if (pieces[k].kind == PieceKind::kClose && open.empty()) stray[k] = true;
    if (pieces[k].kind == PieceKind::kClose && !open.empty()) {
      closer[open.back()] = k;
      open.pop_back();
    }
  }
  // A colour code that ends a true colour's reach (a "\c" code in force in its group) is kept as
  // code as well, behind the colour code itself: RtfToMText states the true colour again behind
  // the colour code of every run up to it, and the control shows no change of colour where it
  // stands. Such a statement, the true colour in force directly behind a run's height or colour
  // code, is RtfToMText's own: it ends nothing and is left out.
  std::vector<bool> endsTrueColour(pieces.size(), false), restated(pieces.size(), false);
  {
    auto bytesOf = [&](size_t k) {
      return std::string_view(text).substr(pieces[k].begin, pieces[k].end - pieces[k].begin);
    };
    auto isCode = [&](size_t k, PieceKind kind, const char* code) {
      return k < pieces.size() && pieces[k].kind == kind && bytesOf(k).compare(0, 2, code) == 0;
    };
    std::vector<std::string_view> outside;
    std::string_view trueColour;
    for (size_t k = 0; k < pieces.size(); ++k) {
      const PieceKind kind = pieces[k].kind;
      if (kind == PieceKind::kOpen) outside.push_back(trueColour);
      if (kind == PieceKind::kClose && !outside.empty()) {
        trueColour = outside.back();
        outside.pop_back();
      }
      const bool restating = !trueColour.empty() && isCode(k, PieceKind::kBareCode, "\\c") && bytesOf(k) == trueColour;
      const bool behindRunCode = k > 0 && (isCode(k - 1, PieceKind::kMTextToRtfCode, "\\C") ||
                                           isCode(k - 1, PieceKind::kMTextToRtfCode, "\\H"));
      if (restating && behindRunCode) {
        restated[k] = true;
      } else if (isCode(k, PieceKind::kBareCode, "\\c")) {
        trueColour = bytesOf(k);
      } else if (!trueColour.empty() && isCode(k, PieceKind::kMTextToRtfCode, "\\C") &&
                 !(isCode(k + 1, PieceKind::kBareCode, "\\c") && bytesOf(k + 1) == trueColour)) {
        endsTrueColour[k] = true;
        trueColour = std::string_view();
      }
    }
  }
  // MTextToRtf's passes read a height or colour value up to its ";" on plain-text contents, and
  // on RtfToMText's own up to the next backslash. One ended by a brace gets its ";" on the first
  // and is kept as code on the second.
  std::string lead;
  for (size_t k = 0; k < pieces.size() && lead.size() < 4; ++k) {
    if (pieces[k].kind == PieceKind::kInlineCode || pieces[k].kind == PieceKind::kBareCode || stray[k]) continue;
    lead.append(text, pieces[k].begin, pieces[k].end - pieces[k].begin);
  }
  const bool preGrouped = BeginsAsWritersOwn(lead);
  // A font code whose run holds kept codes and no text (a character outside the code page alone)
  // shows nothing in the control, which keeps no font for it: it is kept as code, bare, so that
  // it reaches those codes as it reached them. (On RtfToMText's own contents a run group's font,
  // "{\fArial|c0|b0|i0;{\H2.5;", is the font of the text in front of its codes, which the
  // control gives them as well.)
  std::vector<bool> fontOverCodes(pieces.size(), false);
  auto runGroupFont = [&](size_t k) {
    return preGrouped && k + 2 < pieces.size() && pieces[k + 1].kind == PieceKind::kOpen &&
           pieces[k + 2].kind == PieceKind::kMTextToRtfCode && text[pieces[k + 2].begin + 1] == 'H';
  };
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (pieces[k].kind != PieceKind::kMTextToRtfCode || text[pieces[k].begin + 1] != 'f' || runGroupFont(k)) continue;
    bool codes = false;
    long depth = 0;
    for (size_t j = k + 1; j < pieces.size(); ++j) {
      if (stray[j]) continue;
      const PieceKind kind = pieces[j].kind;
      const char letter = pieces[j].end - pieces[j].begin > 1 ? text[pieces[j].begin + 1] : 0;
      if (kind == PieceKind::kOpen) ++depth;
      if (kind == PieceKind::kClose && depth-- == 0) break;
      if (kind == PieceKind::kInlineCode) codes = true;
      const bool ends = (kind == PieceKind::kMTextToRtfCode || kind == PieceKind::kBareCode) && (letter == 'f' || letter == 'F');
      const bool shows = kind == PieceKind::kText || kind == PieceKind::kCharacter || kind == PieceKind::kEscape ||
                         kind == PieceKind::kLoneEnd || (kind == PieceKind::kMTextToRtfCode && letter == 'P');
      if (shows) codes = false;
      if (ends || shows) break;
    }
    fontOverCodes[k] = codes;
  }
  open.clear();
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (pieces[k].kind == PieceKind::kOpen) open.push_back(k);
    if (pieces[k].kind == PieceKind::kClose && !open.empty()) open.pop_back();
    const bool reachesOn = (pieces[k].kind == PieceKind::kBareCode && !restated[k]) || endsTrueColour[k] || fontOverCodes[k];
    if (!reachesOn || open.empty() || closer[open.back()] == pieces.size()) continue;
    // A group around the whole text (RtfToMText's own frame) ends nothing early: a code's reach
    // ends at the end of the text with or without it.
    if (open.back() == 0 && closer[0] == pieces.size() - 1) continue;
    marked[open.back()] = marked[closer[open.back()]] = true;
  }
  auto token = [&](std::string code) {
    m_marksCode = m_marksCode || code != kLiteral;
    m_keptCodes.push_back(std::move(code));
    return keptcodes::Token(kKeptCodeOpen, m_keptCodes.size() - 1, kKeptCodeClose);
  };
  std::string out;
  out.reserve(text.size());
  for (size_t k = 0; k < pieces.size(); ++k) {
    const auto& p = pieces[k];
    std::string_view bytes = std::string_view(text).substr(p.begin, p.end - p.begin);
    if (restated[k] || stray[k]) continue;
    if (fontOverCodes[k]) {
      out += token(std::string(bytes));
      continue;
    }
    if (endsTrueColour[k]) {
      out.append(bytes);
      out += token(std::string(bytes));
      continue;
    }
    if (keptcodes::EndedByBrace(text, p)) {
      if (preGrouped) out += token(std::string(bytes));
      else out += std::string(bytes) + ";";
      continue;
    }
    switch (p.kind) {
      case PieceKind::kCharacter: out += p.byte; break;
      case PieceKind::kInlineCode:
      case PieceKind::kBareCode: out += token(std::string(bytes)); break;
      case PieceKind::kLoneEnd: out += token(std::string(bytes)); break;
      case PieceKind::kEscape:
        if (bytes[1] == '\\') out += token(kLiteral);
        else out.append(bytes);
        break;
      case PieceKind::kOpen: out += marked[k] ? "{" + token("{") : "{"; break;
      case PieceKind::kClose: out += marked[k] ? token("}") + "}" : "}"; break;
      default: out.append(bytes); break;
    }
  }
  if (m_keptCodes.empty() && out == text) return;
  workText = detail::ToCString(out);
}

// Each token becomes its code again, in the reserved face, escaped for RTF.
void MTextRtfConverter::PutBackKeptCodes() {
  if (m_keptCodes.empty()) return;
  const std::string text = Bytes(workText);
  const std::string font = "{\\f" + DecimalText(fontKeys.GetSize() + 1) + " ";
  std::string out;
  out.reserve(text.size() + m_keptCodes.size() * 8);
  size_t from = 0;
  for (size_t at = text.find(kKeptCodeOpen); at != std::string::npos; at = text.find(kKeptCodeOpen, from)) {
    size_t close = text.find(kKeptCodeClose, at);
    if (close == std::string::npos) break;
    size_t n = keptcodes::TokenNumber(std::string_view(text).substr(at + 1, close - at - 1));
    out.append(text, from, at - from);
    // A literal backslash is text, not code: it goes back as RTF's escaped backslash.
    if (n < m_keptCodes.size()) {
      out += m_keptCodes[n] == kLiteral ? "\\\\" : font + keptcodes::RtfEscaped(m_keptCodes[n]) + "}";
      // The text behind a shape font code is in the default face: the code's own font.
      if (m_keptCodes[n].compare(0, 2, "\\F") == 0) out += "\\f0 ";
    } else {
      out.append(text, at, close + 1 - at);
    }
    from = close + 1;
  }
  out.append(text, from, std::string::npos);
  workText = detail::ToCString(out);
}
