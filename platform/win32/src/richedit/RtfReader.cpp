// The RTF reader: a tokenizer, one control-word table, destination readers and attribute handlers.
#include "RtfReader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace richedit {

namespace {

enum class Destination { Body, FontTable, ColorTable, Bullet, Skip };

struct FontEntry {
  std::string face;
  BYTE charSet = 0;
  BYTE pitchAndFamily = 0;
};

// The paragraph words as read; turned into a ParaFormat at each paragraph's end.
struct ParagraphState {
  WORD alignment = PFA_LEFT;
  LONG left = 0;       // \li
  LONG firstLine = 0;  // \fi
  LONG right = 0;      // \ri
  std::vector<LONG> tabs;
  bool bullet = false;

  ParaFormat Format() const {
    ParaFormat format;
    format.alignment = alignment;
    format.startIndent = left + firstLine;
    format.offset = -firstLine;
    format.rightIndent = right;
    format.tabs = tabs;
    format.numbering = bullet ? PFN_BULLET : 0;
    return format;
  }
};

class RtfReader;
using Handler = void (RtfReader::*)(int value, bool hasValue);

struct ControlWord {
  Handler handler;
  int fixed;  // what a handler shared by several words needs to tell them apart
};

// Destinations the control does not show; skipped whole with or without \*.
constexpr const char* kSkippedDestinations[] = {
    "annotation", "atnauthor", "atnid", "author", "bkmkend", "bkmkstart", "buptim", "category", "colorschememapping",
    "comment", "company", "creatim", "datastore", "doccomm", "docvar", "fchars", "filetbl", "fldinst", "footer",
    "footerf", "footerl", "footerr", "footnote", "generator", "header", "headerf", "headerl", "headerr", "info",
    "keywords", "latentstyles", "lchars", "listoverridetable", "listtable", "listtext", "mmathPr", "nonshppict",
    "object", "operator", "pgdsctbl", "pict", "printim", "private", "pntext", "pntxta", "pntxtb", "revtbl", "revtim",
    "rsidtbl", "rxe", "shp", "shpinst", "stylesheet", "subject", "tc", "template", "themedata", "title", "txe",
    "userprops", "wgrffmtfilter", "xe", "xmlnstbl"};

class RtfReader {
 public:
  RtfReader(const std::string& rtf, const CharFormat& defaultFormat)
      : m_in(rtf), m_default(defaultFormat), m_document(defaultFormat) {
    m_state.format = defaultFormat;
  }

  Document Read() {
    while (m_pos < m_in.size()) {
      const char c = m_in[m_pos];
      if (c == '{') {
        ++m_pos;
        OpenGroup();
      } else if (c == '}') {
        ++m_pos;
        if (CloseGroup()) break;
      } else if (c == '\\') {
        ++m_pos;
        ReadControl();
      } else {
        ++m_pos;
        if (c != '\r' && c != '\n') Character(static_cast<unsigned char>(c));
      }
    }
    Flush();
    m_document.SetFinalParagraph(m_textInParagraph ? m_lastTextFormat : m_state.format, m_paragraph.Format());
    return std::move(m_document);
  }

 private:
  struct GroupState {
    CharFormat format;
    Destination destination = Destination::Body;
  };

  static const std::unordered_map<std::string_view, ControlWord>& Words();

  // --- groups -------------------------------------------------------------------------------

  void OpenGroup() {
    Flush();
    m_stack.push_back(m_state);
  }

  // true when the outermost group has closed: the document ends there.
  bool CloseGroup() {
    Flush();
    if (m_state.destination == Destination::FontTable) CommitFontName();
    if (m_stack.empty()) return false;
    m_state = std::move(m_stack.back());
    m_stack.pop_back();
    return m_stack.empty();
  }

  // --- tokens -------------------------------------------------------------------------------

  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void ReadControl() {
    if (m_pos >= m_in.size()) return;
    const char c = m_in[m_pos];
    if (!IsLetter(c)) {
      ++m_pos;
      ControlSymbol(c);
      return;
    }
    const size_t start = m_pos;
    while (m_pos < m_in.size() && IsLetter(m_in[m_pos])) ++m_pos;
    const std::string_view name(m_in.data() + start, m_pos - start);
    bool negative = false;
    if (m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && IsDigit(m_in[m_pos + 1])) {
      negative = true;
      ++m_pos;
    }
    long long value = 0;
    bool hasValue = false;
    while (m_pos < m_in.size() && IsDigit(m_in[m_pos])) {
      if (value < 100000000000LL) value = value * 10 + (m_in[m_pos] - '0');
      hasValue = true;
      ++m_pos;
    }
    if (m_pos < m_in.size() && m_in[m_pos] == ' ') ++m_pos;
    value = std::clamp<long long>(negative ? -value : value, -2147483647LL, 2147483647LL);
    ControlWordRead(name, static_cast<int>(value), hasValue);
  }

  void ControlSymbol(char c) {
    m_ignorableNext = false;
    switch (c) {
      case '\\': case '{': case '}': Character(static_cast<unsigned char>(c)); break;
      case '~': Character(0xA0); break;
      case '_': Character('-'); break;
      case '*': m_ignorableNext = true; break;
      case '\'': HexCharacter(); break;
      case '\r': case '\n': Paragraph(0, false); break;
      default: break;  // \- \| \: and the rest show nothing
    }
  }

  void HexCharacter() {
    if (m_pos + 1 < m_in.size()) {
      const int high = HexValue(m_in[m_pos]);
      const int low = HexValue(m_in[m_pos + 1]);
      if (high >= 0 && low >= 0) {
        m_pos += 2;
        Character(static_cast<unsigned char>(high * 16 + low));
      }
    }
  }

  void ControlWordRead(std::string_view name, int value, bool hasValue) {
    const bool ignorable = m_ignorableNext;
    m_ignorableNext = false;
    if (name == "bin") {  // binary data: skipped by its byte count, whatever the destination
      m_pos += std::min<size_t>(hasValue && value > 0 ? value : 0, m_in.size() - m_pos);
      return;
    }
    if (m_state.destination == Destination::Skip) return;
    const auto& words = Words();
    const auto found = words.find(name);
    if (found != words.end()) {
      Flush();
      m_fixed = found->second.fixed;
      (this->*found->second.handler)(value, hasValue);
      return;
    }
    // Unknown: a \* destination goes whole; any other word is skipped with its parameter.
    if (ignorable) m_state.destination = Destination::Skip;
  }

  // --- text ---------------------------------------------------------------------------------

  void Character(unsigned char c) {
    switch (m_state.destination) {
      case Destination::Body:
        if (c < 0x20 && c != '\t' && c != 0x0B) return;
        if (!m_pending.empty() && m_pendingFormat != m_state.format) Flush();
        if (m_pending.empty()) m_pendingFormat = m_state.format;
        m_pending += static_cast<char>(c);
        break;
      case Destination::FontTable:
        if (c == ';') CommitFontName();
        else if (c >= 0x20) m_fontName += static_cast<char>(c);
        break;
      case Destination::ColorTable:
        if (c == ';') CommitColor();
        break;
      case Destination::Bullet:
      case Destination::Skip:
        break;
    }
  }

  void Flush() {
    if (m_pending.empty()) return;
    m_document.Append(m_pending, m_pendingFormat);
    m_lastTextFormat = m_pendingFormat;
    m_textInParagraph = true;
    m_pending.clear();
  }

  // --- destinations -------------------------------------------------------------------------

  void EnterDestination(int, bool) {
    switch (m_fixed) {
      case 0: m_state.destination = Destination::FontTable; m_fontNumber = -1; break;
      case 1: m_state.destination = Destination::ColorTable; m_red = m_green = m_blue = -1; break;
      case 2: m_state.destination = Destination::Bullet; break;
      default: m_state.destination = Destination::Skip; break;
    }
  }

  void CommitFontName() {
    if (m_fontNumber < 0) return;
    // A face name fits a CHARFORMAT and has no blanks at either end.
    std::string name = m_fontName;
    name.erase(0, std::min(name.find_first_not_of(' '), name.size()));
    name.resize(std::min(name.size(), kMostFaceBytes));
    name.erase(name.find_last_not_of(' ') + 1);
    if (!name.empty()) m_fonts[m_fontNumber].face = name;
    m_fontName.clear();
  }

  void CommitColor() {
    if (m_red < 0 && m_green < 0 && m_blue < 0) m_colors.push_back(std::nullopt);
    else m_colors.push_back(RGB(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
    m_red = m_green = m_blue = -1;
  }

  void ColorComponent(int value, bool) {
    const int component = std::clamp(value, 0, 255);
    if (m_state.destination != Destination::ColorTable) return;
    (m_fixed == 0 ? m_red : m_fixed == 1 ? m_green : m_blue) = component;
  }

  // \fN: a font table entry, or the font of the text.
  void Font(int value, bool hasValue) {
    if (!hasValue) return;
    if (m_state.destination == Destination::FontTable) {
      CommitFontName();
      m_fontNumber = value;
      m_fonts[value] = FontEntry{};
      return;
    }
    const auto found = m_fonts.find(value);
    if (found == m_fonts.end()) return;
    m_state.format.face = found->second.face;
    m_state.format.charSet = found->second.charSet;
    m_state.format.pitchAndFamily = found->second.pitchAndFamily;
  }

  FontEntry* CurrentEntry() {
    if (m_state.destination != Destination::FontTable || m_fontNumber < 0) return nullptr;
    return &m_fonts[m_fontNumber];
  }

  void FontFamily(int, bool) {
    if (FontEntry* entry = CurrentEntry())
      entry->pitchAndFamily = static_cast<BYTE>((entry->pitchAndFamily & 0x0F) | m_fixed);
  }
  void FontPitch(int value, bool) {
    if (FontEntry* entry = CurrentEntry())
      entry->pitchAndFamily = static_cast<BYTE>((entry->pitchAndFamily & 0xF0) | (value & 0x0F));
  }
  void FontCharSet(int value, bool) {
    if (FontEntry* entry = CurrentEntry()) entry->charSet = static_cast<BYTE>(value);
  }
  void DefaultFont(int value, bool hasValue) {
    if (hasValue) m_defaultFont = value;
  }

  // --- character attributes -----------------------------------------------------------------

  void Plain(int, bool) {
    m_state.format = m_default;
    const auto found = m_fonts.find(m_defaultFont);
    if (found != m_fonts.end() && !found->second.face.empty()) {
      m_state.format.face = found->second.face;
      m_state.format.charSet = found->second.charSet;
      m_state.format.pitchAndFamily = found->second.pitchAndFamily;
    }
  }

  // \b \i \ul... \strike: on, or off with the parameter 0; m_fixed is the effect, negative for "off" words.
  void Effect(int value, bool hasValue) {
    const DWORD effect = static_cast<DWORD>(m_fixed < 0 ? -m_fixed : m_fixed);
    if (m_fixed < 0 || (hasValue && value == 0)) m_state.format.effects &= ~effect;
    else m_state.format.effects |= effect;
  }

  void FontSize(int value, bool hasValue) {
    m_state.format.height = std::clamp(hasValue ? value : 24, 0, yHeightCharPtsMost * 2) * 10;
  }

  void Color(int value, bool hasValue) {
    if (!hasValue || value < 0 || value >= static_cast<int>(m_colors.size())) return;
    if (!m_colors[value]) {
      m_state.format.effects |= CFE_AUTOCOLOR;
    } else {
      m_state.format.effects &= ~static_cast<DWORD>(CFE_AUTOCOLOR);
      m_state.format.color = *m_colors[value];
    }
  }

  // \up and \dn, in half-points; m_fixed is the sign.
  void Offset(int value, bool hasValue) {
    m_state.format.offset = m_fixed * std::clamp(hasValue ? value : 6, 0, yHeightCharPtsMost * 2) * 10;
  }

  // --- paragraphs ---------------------------------------------------------------------------

  void Paragraph(int, bool) {
    if (m_state.destination != Destination::Body) return;
    Flush();
    m_document.AppendMark(m_state.format, m_paragraph.Format());
    m_textInParagraph = false;
  }

  void ParagraphDefault(int, bool) { m_paragraph = ParagraphState{}; }
  void Alignment(int, bool) { m_paragraph.alignment = static_cast<WORD>(m_fixed); }

  void Indent(int value, bool) {
    // Bounded so that start indent + offset, which the writer adds up, stays a LONG.
    constexpr int kMostIndent = (1 << 30) - 1;
    (m_fixed == 0 ? m_paragraph.left : m_fixed == 1 ? m_paragraph.firstLine : m_paragraph.right) =
        std::clamp(value, -kMostIndent, kMostIndent);
  }

  void TabStop(int value, bool hasValue) {
    auto& tabs = m_paragraph.tabs;
    if (!hasValue || static_cast<int>(tabs.size()) >= MAX_TAB_STOPS) return;
    const auto at = std::lower_bound(tabs.begin(), tabs.end(), value);
    if (at == tabs.end() || *at != value) tabs.insert(at, value);
  }

  void BulletLevel(int, bool) {
    if (m_state.destination == Destination::Bullet) m_paragraph.bullet = true;
  }

  // Words that stand for one character: m_fixed is the byte.
  void Symbol(int, bool) {
    if (m_state.destination == Destination::Body) Character(static_cast<unsigned char>(m_fixed));
  }

  void Ignore(int, bool) {}

  const std::string& m_in;
  size_t m_pos = 0;
  const CharFormat m_default;
  Document m_document;

  GroupState m_state;
  std::vector<GroupState> m_stack;
  bool m_ignorableNext = false;
  int m_fixed = 0;

  std::string m_pending;
  CharFormat m_pendingFormat;
  CharFormat m_lastTextFormat;
  bool m_textInParagraph = false;
  ParagraphState m_paragraph;

  std::unordered_map<int, FontEntry> m_fonts;
  int m_fontNumber = -1;
  std::string m_fontName;
  int m_defaultFont = 0;
  std::vector<std::optional<COLORREF>> m_colors;
  int m_red = -1, m_green = -1, m_blue = -1;
};

const std::unordered_map<std::string_view, ControlWord>& RtfReader::Words() {
  static const auto* words = [] {
    auto* table = new std::unordered_map<std::string_view, ControlWord>{
        // destinations
        {"rtf", {&RtfReader::Ignore, 0}},
        {"fonttbl", {&RtfReader::EnterDestination, 0}},
        {"colortbl", {&RtfReader::EnterDestination, 1}},
        {"pn", {&RtfReader::EnterDestination, 2}},
        // font table entries and the default font
        {"f", {&RtfReader::Font, 0}},
        {"fnil", {&RtfReader::FontFamily, 0x00}},
        {"froman", {&RtfReader::FontFamily, 0x10}},
        {"fswiss", {&RtfReader::FontFamily, 0x20}},
        {"fmodern", {&RtfReader::FontFamily, 0x30}},
        {"fscript", {&RtfReader::FontFamily, 0x40}},
        {"fdecor", {&RtfReader::FontFamily, 0x50}},
        {"ftech", {&RtfReader::FontFamily, 0x00}},
        {"fbidi", {&RtfReader::FontFamily, 0x00}},
        {"fprq", {&RtfReader::FontPitch, 0}},
        {"fcharset", {&RtfReader::FontCharSet, 0}},
        {"deff", {&RtfReader::DefaultFont, 0}},
        // colour table
        {"red", {&RtfReader::ColorComponent, 0}},
        {"green", {&RtfReader::ColorComponent, 1}},
        {"blue", {&RtfReader::ColorComponent, 2}},
        // character attributes
        {"plain", {&RtfReader::Plain, 0}},
        {"b", {&RtfReader::Effect, CFE_BOLD}},
        {"i", {&RtfReader::Effect, CFE_ITALIC}},
        {"ul", {&RtfReader::Effect, CFE_UNDERLINE}},
        {"uld", {&RtfReader::Effect, CFE_UNDERLINE}},
        {"uldb", {&RtfReader::Effect, CFE_UNDERLINE}},
        {"uldash", {&RtfReader::Effect, CFE_UNDERLINE}},
        {"ulw", {&RtfReader::Effect, CFE_UNDERLINE}},
        {"ulth", {&RtfReader::Effect, CFE_UNDERLINE}},
        {"ulwave", {&RtfReader::Effect, CFE_UNDERLINE}},
        {"ulnone", {&RtfReader::Effect, -CFE_UNDERLINE}},
        {"strike", {&RtfReader::Effect, CFE_STRIKEOUT}},
        {"striked", {&RtfReader::Effect, CFE_STRIKEOUT}},
        {"protect", {&RtfReader::Effect, CFE_PROTECTED}},
        {"fs", {&RtfReader::FontSize, 0}},
        {"cf", {&RtfReader::Color, 0}},
        {"up", {&RtfReader::Offset, 1}},
        {"dn", {&RtfReader::Offset, -1}},
        // paragraphs
        {"par", {&RtfReader::Paragraph, 0}},
        {"sect", {&RtfReader::Paragraph, 0}},
        {"page", {&RtfReader::Paragraph, 0}},
        {"row", {&RtfReader::Paragraph, 0}},
        {"pard", {&RtfReader::ParagraphDefault, 0}},
        {"ql", {&RtfReader::Alignment, PFA_LEFT}},
        {"qj", {&RtfReader::Alignment, PFA_LEFT}},
        {"qc", {&RtfReader::Alignment, PFA_CENTER}},
        {"qr", {&RtfReader::Alignment, PFA_RIGHT}},
        {"li", {&RtfReader::Indent, 0}},
        {"fi", {&RtfReader::Indent, 1}},
        {"ri", {&RtfReader::Indent, 2}},
        {"tx", {&RtfReader::TabStop, 0}},
        {"tb", {&RtfReader::TabStop, 0}},
        {"pnlvlblt", {&RtfReader::BulletLevel, 0}},
        {"pnlvlbody", {&RtfReader::BulletLevel, 0}},
        {"pnlvl", {&RtfReader::BulletLevel, 0}},
        // characters
        {"tab", {&RtfReader::Symbol, '\t'}},
        {"cell", {&RtfReader::Symbol, '\t'}},
        {"line", {&RtfReader::Symbol, 0x0B}},
        {"lquote", {&RtfReader::Symbol, 0x91}},
        {"rquote", {&RtfReader::Symbol, 0x92}},
        {"ldblquote", {&RtfReader::Symbol, 0x93}},
        {"rdblquote", {&RtfReader::Symbol, 0x94}},
        {"bullet", {&RtfReader::Symbol, 0x95}},
        {"endash", {&RtfReader::Symbol, 0x96}},
        {"emdash", {&RtfReader::Symbol, 0x97}},
        {"emspace", {&RtfReader::Symbol, ' '}},
        {"enspace", {&RtfReader::Symbol, ' '}},
    };
    for (const char* name : kSkippedDestinations) table->emplace(name, ControlWord{&RtfReader::EnterDestination, 3});
    return table;
  }();
  return *words;
}

}  // namespace

Document ReadRtf(const std::string& rtf, const CharFormat& defaultFormat) {
  return RtfReader(rtf, defaultFormat).Read();
}

}  // namespace richedit
