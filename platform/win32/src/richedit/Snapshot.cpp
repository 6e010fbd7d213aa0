// The engine's snapshot: the selection, the paragraphs with their formats, the runs and marks with theirs.
#include "EngineCore.h"

#include <cstdio>

namespace richedit::detail {

namespace {

// The text quoted, with the quote, the backslash and control bytes escaped; other bytes as they are.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Describe(const CharFormat& format) {
  char buffer[96];
  std::string out = "face=" + Quoted(format.face);
  std::snprintf(buffer, sizeof buffer, " charset=%u pitch=0x%02x size=%ld", format.charSet, format.pitchAndFamily,
                static_cast<long>(format.height));
  out += buffer;
  if (format.effects & CFE_AUTOCOLOR) {
    out += " color=auto";
  } else {
    std::snprintf(buffer, sizeof buffer, " color=#%02x%02x%02x", GetRValue(format.color), GetGValue(format.color),
                  GetBValue(format.color));
    out += buffer;
  }
  if (format.effects & CFE_BOLD) out += " bold";
  if (format.effects & CFE_ITALIC) out += " italic";
  if (format.effects & CFE_UNDERLINE) out += " underline";
  if (format.effects & CFE_STRIKEOUT) out += " strike";
  if (format.effects & CFE_PROTECTED) out += " protected";
  if (format.offset != 0) out += " offset=" + std::to_string(format.offset);
  return out;
}

std::string Describe(const ParaFormat& para) {
  std::string out = para.alignment == PFA_CENTER ? "center" : para.alignment == PFA_RIGHT ? "right" : "left";
  if (para.startIndent != 0) out += " start=" + std::to_string(para.startIndent);
  if (para.offset != 0) out += " offset=" + std::to_string(para.offset);
  if (para.rightIndent != 0) out += " right=" + std::to_string(para.rightIndent);
  if (!para.tabs.empty()) {
    out += " tabs=";
    for (size_t i = 0; i < para.tabs.size(); ++i) out += (i ? "," : "") + std::to_string(para.tabs[i]);
  }
  if (para.numbering == PFN_BULLET) out += " bullet";
  return out;
}

}  // namespace

std::string EngineCore::Snapshot() const {
  const Document& doc = Doc();
  std::string out = "selection " + std::to_string(SelMin()) + ".." + std::to_string(SelMax()) + "\n";
  for (int p = 0; p < doc.ParagraphCount(); ++p) {
    out += "paragraph " + Describe(doc.Paragraph(p)) + "\n";
    const LONG end = doc.ParagraphEnd(p);
    for (const Document::Run& run : doc.Runs(doc.ParagraphStart(p), end, false))
      out += "  run " + Quoted(doc.Text().substr(run.start, run.end - run.start)) + " " + Describe(*run.format) + "\n";
    out += "  mark " + Describe(doc.FormatAt(end)) + "\n";
  }
  return out;
}

}  // namespace richedit::detail
