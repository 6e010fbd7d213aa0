// The MText reader's top level: the sequence of passes, and the passes that are fixed rewrites.
#include "converter/MTextRtfConverter.h"
#include "converter/ReaderSteps.h"

using namespace reader;

CString MTextRtfConverter::MTextToRtf(CString contents) {
  workText = contents;
  ProtectEscapedFontLetters();
  // The writer's own contents begin with "{{": they are grouped already.
  const bool preGrouped = workText.Left(2) == "{{";
  if (!preGrouped) {
    ProtectEscapedBraces();
    DropUnderlineCodes();
    DelimitOneLetterCodes();
    GroupPlainText();
  } else {
    RewritePreGroupedHeights();
  }
  CollectFontKeys();
  ConvertUnderline();
  if (!preGrouped) ReorderFontSpecs();
  DropOffFlags();
  ReplaceFontCodes();
  ConvertBoldItalic();
  ConvertParagraphs();
  ConvertHeightCodes();
  CString fontTable = BuildFontTable();
  ShowByBlockAsDefault();
  ProtectBeforeColourPass();
  CString colourTable = ColourPass();
  RestoreAfterColourPass();
  ReplaceColourCodes();
  RestoreEscapedFontLetters();
  // The outer group and any group the body leaves open stay open: the control reads them so.
  CString document = fontTable + colourTable + workText;
  if (m_target) m_target->SetRtfText(document);
  return document;
}

double MTextRtfConverter::TextHeight() const { return m_target ? m_target->TextHeight() : 0.0; }

void MTextRtfConverter::ProtectEscapedFontLetters() { ApplyRewrites(workText, kProtectEscapedFontLetters); }
void MTextRtfConverter::ProtectEscapedBraces() { ApplyRewrites(workText, kProtectEscapedBraces); }
void MTextRtfConverter::DropUnderlineCodes() { ApplyRewrites(workText, kDropUnderlineCodes); }
void MTextRtfConverter::DelimitOneLetterCodes() { ApplyRewrites(workText, kDelimitOneLetterCodes); }
void MTextRtfConverter::ConvertUnderline() { ApplyRewrites(workText, kConvertUnderline); }
void MTextRtfConverter::DropOffFlags() { ApplyRewrites(workText, kDropOffFlags); }
void MTextRtfConverter::ConvertBoldItalic() { ApplyRewrites(workText, kConvertBoldItalic); }
void MTextRtfConverter::ConvertParagraphs() { ApplyRewrites(workText, kConvertParagraphs); }
void MTextRtfConverter::ConvertHeightCodes() { ApplyRewrites(workText, kConvertHeightCodes); }
void MTextRtfConverter::ShowByBlockAsDefault() { ApplyRewrites(workText, kShowByBlockAsDefault); }
void MTextRtfConverter::ProtectBeforeColourPass() { ApplyRewrites(workText, kProtectBeforeColourPass); }
void MTextRtfConverter::RestoreAfterColourPass() { ApplyRewrites(workText, kRestoreAfterColourPass); }
void MTextRtfConverter::RestoreEscapedFontLetters() { ApplyRewrites(workText, kRestoreEscapedFontLetters); }

// On the writer's contents a height value runs from "\H" to the next backslash, whatever it holds.
void MTextRtfConverter::RewritePreGroupedHeights() {
  ReplaceIn(workText, "\\\\H", "//__");
  const std::string text = Bytes(workText);
  std::string out;
  out.reserve(text.size() + 16);
  size_t from = 0;
  for (size_t h = text.find("\\H"); h != std::string::npos; h = text.find("\\H", from)) {
    size_t end = text.find('\\', h + 2);
    if (end == std::string::npos) end = h + 2;  // no value: "0" goes in front of the rest
    out.append(text, from, h + 2 - from);
    out += HalfPointsText(CString(text.data() + h + 2, static_cast<int>(end - h - 2))).GetString();
    from = end;
  }
  out.append(text, from, std::string::npos);
  workText = detail::ToCString(out);
  ReplaceIn(workText, "//__", "\\\\H");
}
