// MTextToRtf's top level: the sequence of passes, and the passes that are fixed rewrites.
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
  // The base height last: a height written in the text keeps its own spelling.
  KnowHeight(LeadingInteger(IntegerText(BaseHalfPoints())), TextHeight());
  // The outer group and any group the body leaves open stay open: the control reads them so.
  CString document = fontTable + colourTable + workText;
  if (m_target) {
    m_target->SetRtfText(document);
    m_target->SetKnownHeights(knownHeights);
    m_target->SetKnownFonts(knownFonts);
  }
  return document;
}

double MTextRtfConverter::TextHeight() const { return m_target ? m_target->TextHeight() : 0.0; }
double MTextRtfConverter::BaseHalfPoints() const { return TextHeight() * kHalfPointsPerDrawingUnit + 0.5; }

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

// On RtfToMText's contents a height value runs from "\H" to the next backslash or ";", whatever it holds.
void MTextRtfConverter::RewritePreGroupedHeights() {
  ReplaceAllIn(workText, "//__", "\\\\H");
  const std::string text = Bytes(workText);
  std::string out;
  out.reserve(text.size() + 16);
  size_t from = 0;
  for (size_t h = text.find("\\H"); h != std::string::npos; h = text.find("\\H", from)) {
    size_t end = text.find_first_of(kCodeEnds, h + 2);
    if (end == std::string::npos) end = h + 2;  // no value: "0" goes in front of the rest
    out.append(text, from, h + 2 - from);
    CString value(text.data() + h + 2, static_cast<int>(end - h - 2));
    CString half = HalfPointsText(value);
    KnowHeight(LeadingInteger(half), value);
    out += half.GetString();
    from = end;
  }
  out.append(text, from, std::string::npos);
  workText = detail::ToCString(out);
  ReplaceAllIn(workText, "\\\\H", "//__");
}

void MTextRtfConverter::KnowHeight(int halfPoints, const CString& height) {
  if (LeadingDecimal(height) > 0) knownHeights.emplace(halfPoints, height);
}

void MTextRtfConverter::KnowHeight(int halfPoints, double height) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", height);
  KnowHeight(halfPoints, CString(text));
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
      const bool behindRunCode = k > 0 && (isCode(k - 1, PieceKind::kReaderCode, "\\C") ||
                                           isCode(k - 1, PieceKind::kReaderCode, "\\H"));
      if (restating && behindRunCode) {
        restated[k] = true;
      } else if (isCode(k, PieceKind::kBareCode, "\\c")) {
        trueColour = bytesOf(k);
      } else if (!trueColour.empty() && isCode(k, PieceKind::kReaderCode, "\\C") &&
                 !(isCode(k + 1, PieceKind::kBareCode, "\\c") && bytesOf(k + 1) == trueColour)) {
        endsTrueColour[k] = true;
        trueColour = std::string_view();
      }
    }
  }
  open.clear();
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (pieces[k].kind == PieceKind::kOpen) open.push_back(k);
    if (pieces[k].kind == PieceKind::kClose && !open.empty()) open.pop_back();
    const bool reachesOn = (pieces[k].kind == PieceKind::kBareCode && !restated[k]) || endsTrueColour[k];
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
  // MTextToRtf's passes read a height or colour value up to its ";" on plain-text contents, and
  // on RtfToMText's own up to the next backslash. One ended by a brace gets its ";" on the first
  // and is kept as code on the second.
  std::string lead;
  for (size_t k = 0; k < pieces.size() && lead.size() < 4; ++k) {
    if (pieces[k].kind == PieceKind::kInlineCode || pieces[k].kind == PieceKind::kBareCode || stray[k]) continue;
    lead.append(text, pieces[k].begin, pieces[k].end - pieces[k].begin);
  }
  const bool preGrouped = BeginsAsWritersOwn(lead);
  std::string out;
  out.reserve(text.size());
  for (size_t k = 0; k < pieces.size(); ++k) {
    const auto& p = pieces[k];
    std::string_view bytes = std::string_view(text).substr(p.begin, p.end - p.begin);
    if (restated[k] || stray[k]) continue;
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
      case PieceKind::kLoneBackslash: out += token("\\"); break;
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
