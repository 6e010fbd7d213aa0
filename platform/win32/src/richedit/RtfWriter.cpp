// The RTF writer: a pre-pass collects the font and colour tables, then the body goes through one sink.
#include "RtfWriter.h"

#include <algorithm>
#include <tuple>

namespace richedit {

namespace {

const char kDefaultFace[] = "MS Sans Serif";

// The output buffer and the few shapes of token the dialect uses.
class RtfSink {
 public:
  void Raw(const std::string& bytes) { m_out += bytes; }
  void Word(const char* word) {
    m_out += '\\';
    m_out += word;
  }
  void Word(const char* word, long value) {
    Word(word);
    m_out += std::to_string(value);
  }
  void Hex(unsigned char byte) {
    static const char digits[] = "0123456789abcdef";
    m_out += "\\'";
    m_out += digits[byte >> 4];
    m_out += digits[byte & 15];
  }
  // Text bytes with the dialect's escapes.
  void Text(const std::string& text, bool faceName = false) {
    static const char* const kQuoteWords[] = {"lquote",  "rquote", "ldblquote", "rdblquote",
                                              "bullet",  "endash", "emdash"};
    for (unsigned char c : text) {
      if (c == '\\' || c == '{' || c == '}') {
        m_out += '\\';
        m_out += static_cast<char>(c);
      } else if (c == '\t' && !faceName) {
        m_out += "\\tab ";
      } else if (c == 0x0B && !faceName) {
        m_out += "\\line ";
      } else if (c >= 0x91 && c <= 0x97 && !faceName) {
        Word(kQuoteWords[c - 0x91]);
        m_out += ' ';
      } else if (c >= 0x80) {
        Hex(c);
      } else {
        m_out += static_cast<char>(c);
      }
    }
  }
  std::string Take() { return std::move(m_out); }

 private:
  std::string m_out;
};

struct FontKey {
  std::string face;
  BYTE charSet;
  BYTE pitchAndFamily;
  bool operator==(const FontKey& o) const {
    return std::tie(face, charSet, pitchAndFamily) == std::tie(o.face, o.charSet, o.pitchAndFamily);
  }
};

const char* FamilyWord(BYTE pitchAndFamily) {
  switch (pitchAndFamily & 0xF0) {
    case 0x10: return "froman";
    case 0x20: return "fswiss";
    case 0x30: return "fmodern";
    case 0x40: return "fscript";
    case 0x50: return "fdecor";
    default: return "fnil";
  }
}

// Half-points, rounded half up (heights are never negative).
long HalfPoints(LONG twips) { return (twips + 5) / 10; }

class RtfWriter {
 public:
  RtfWriter(const Document& document, LONG from, LONG to, bool withFinalMark)
      : m_doc(document), m_from(document.Snap(from)), m_to(document.Snap(std::max(from, to), true)),
        m_withFinalMark(withFinalMark) {}

  std::string Write() {
    CollectTables();
    WriteHeader();
    WriteBody();
    return m_sink.Take();
  }

 private:
  void CollectTables() {
    for (const Document::Run& run : m_doc.Runs(m_from, m_to, m_withFinalMark)) {
      FontNumber(*run.format);
      ColorNumber(*run.format);
    }
    if (m_from == m_to) {
      FontNumber(m_doc.FormatAt(m_from));
      ColorNumber(m_doc.FormatAt(m_from));
    }
  }

  int FontNumber(const CharFormat& format) {
    if (format.face == kDefaultFace) return 0;
    const FontKey key{format.face, format.charSet, format.pitchAndFamily};
    auto found = std::find(m_fonts.begin(), m_fonts.end(), key);
    if (found == m_fonts.end()) found = m_fonts.insert(m_fonts.end(), key);
    return static_cast<int>(found - m_fonts.begin()) + 2;
  }

  // -1 for automatic colour; black is entry 0.
  int ColorNumber(const CharFormat& format) {
    if (format.effects & CFE_AUTOCOLOR) return -1;
    if (format.color == 0) return 0;
    auto found = std::find(m_colors.begin(), m_colors.end(), format.color);
    if (found == m_colors.end()) found = m_colors.insert(m_colors.end(), format.color);
    return static_cast<int>(found - m_colors.begin()) + 1;
  }

  void WriteHeader() {
    m_sink.Raw("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}");
    for (size_t i = 0; i < m_fonts.size(); ++i) {
      const FontKey& font = m_fonts[i];
      m_sink.Raw("{");
      m_sink.Word("f", static_cast<long>(i + 2));
      m_sink.Word(FamilyWord(font.pitchAndFamily));
      if (font.pitchAndFamily & 0x0F) m_sink.Word("fprq", font.pitchAndFamily & 0x0F);
      if (font.charSet != 0) m_sink.Word("fcharset", font.charSet);
      m_sink.Raw(" ");
      m_sink.Text(font.face, true);
      m_sink.Raw(";}");
    }
    m_sink.Raw("}\r\n{\\colortbl\\red0\\green0\\blue0;");
    for (COLORREF color : m_colors) {
      m_sink.Word("red", GetRValue(color));
      m_sink.Word("green", GetGValue(color));
      m_sink.Word("blue", GetBValue(color));
      m_sink.Raw(";");
    }
    m_sink.Raw("}\r\n\\deflang1049");
  }

  std::string RunHeader(const CharFormat& format) {
    RtfSink header;
    header.Word("plain");
    header.Word("f", FontNumber(format));
    header.Word("fs", HalfPoints(format.height));
    const int color = ColorNumber(format);
    if (color >= 0) header.Word("cf", color);
    if (format.effects & CFE_BOLD) header.Word("b");
    if (format.effects & CFE_ITALIC) header.Word("i");
    if (format.effects & CFE_UNDERLINE) header.Word("ul");
    if (format.effects & CFE_STRIKEOUT) header.Word("strike");
    if (format.offset / 10 > 0) header.Word("up", format.offset / 10);
    if (format.offset / 10 < 0) header.Word("dn", -(format.offset / 10));
    header.Raw(" ");
    return header.Take();
  }

  static std::string ParagraphWords(const ParaFormat& para) {
    RtfSink words;
    if (para.alignment == PFA_CENTER) words.Word("qc");
    if (para.alignment == PFA_RIGHT) words.Word("qr");
    if (para.startIndent + para.offset != 0) words.Word("li", para.startIndent + para.offset);
    if (para.offset != 0) words.Word("fi", -static_cast<long>(para.offset));
    if (para.rightIndent != 0) words.Word("ri", para.rightIndent);
    for (LONG tab : para.tabs) words.Word("tx", tab);
    if (para.numbering == PFN_BULLET) {
      words.Raw("{\\*\\pn\\pnlvlblt\\pnf1");
      words.Word("pnindent", para.offset);
      words.Raw("{\\pntxtb\\'b7}}");
    }
    return words.Take();
  }

  void Header(const CharFormat& format, bool force) {
    std::string header = RunHeader(format);
    if (force || header != m_lastHeader) {
      m_sink.Raw(header);
      m_lastHeader = std::move(header);
    }
  }

  void WriteBody() {
    const int first = m_doc.ParagraphAt(m_from);
    const int last = m_doc.ParagraphAt(m_to);
    std::string lastWords;
    for (int p = first; p <= last; ++p) {
      const LONG start = std::max(m_doc.ParagraphStart(p), m_from);
      const LONG end = std::min(m_doc.ParagraphEnd(p), m_to);
      const bool finalParagraph = p == m_doc.ParagraphCount() - 1;
      const bool withMark = finalParagraph ? m_withFinalMark : m_doc.ParagraphEnd(p) + 2 <= m_to;
      if (p == last && !withMark && start == end && p != first) break;

      // Paragraph words only when the paragraph format changes, and after them always a run header.
      const std::string words = ParagraphWords(m_doc.Paragraph(p));
      const bool pard = p == first || words != lastWords;
      if (pard) {
        m_sink.Word("pard");
        m_sink.Raw(words);
        lastWords = words;
      }
      const auto runs = m_doc.Runs(start, end, false);
      const CharFormat& lead = !runs.empty() ? *runs.front().format : m_doc.FormatAt(start);
      Header(lead, pard);
      if (m_doc.Paragraph(p).numbering == PFN_BULLET) m_sink.Raw("{\\pntext\\f1\\'b7\\tab}");
      for (const Document::Run& run : runs) {
        Header(*run.format, false);
        m_sink.Text(m_doc.Text().substr(run.start, run.end - run.start));
      }
      if (withMark) {
        Header(m_doc.FormatAt(m_doc.ParagraphEnd(p)), false);
        m_sink.Raw("\r\n\\par ");
      }
    }
    m_sink.Raw("}\r\n");
  }

  const Document& m_doc;
  const LONG m_from;
  const LONG m_to;
  const bool m_withFinalMark;
  RtfSink m_sink;
  std::vector<FontKey> m_fonts;
  std::vector<COLORREF> m_colors;
  std::string m_lastHeader;
};

}  // namespace

std::string WriteRtf(const Document& document, LONG from, LONG to, bool withFinalMark) {
  return RtfWriter(document, from, to, withFinalMark).Write();
}

}  // namespace richedit
