// The rich edit's document: formats and their masks, paragraphs kept with their marks, editing by position.
#include "Document.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace richedit {

namespace {

constexpr DWORD kEffectBits = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED;
constexpr LONG kMostTwips = yHeightCharPtsMost * 20;
constexpr long long kMostIndent = (1 << 30) - 1;

bool SameColor(const CharFormat& a, const CharFormat& b) {
  const bool autoA = (a.effects & CFE_AUTOCOLOR) != 0;
  const bool autoB = (b.effects & CFE_AUTOCOLOR) != 0;
  return autoA == autoB && (autoA || a.color == b.color);
}

}  // namespace

bool CharFormat::operator==(const CharFormat& other) const {
  return effects == other.effects && height == other.height && offset == other.offset && color == other.color &&
         charSet == other.charSet && pitchAndFamily == other.pitchAndFamily && face == other.face;
}

bool CharFormat::operator<(const CharFormat& other) const {
  return std::tie(effects, height, offset, color, charSet, pitchAndFamily, face) <
         std::tie(other.effects, other.height, other.offset, other.color, other.charSet, other.pitchAndFamily,
                  other.face);
}

void ApplyCharFormat(CharFormat& format, const CHARFORMAT& cf) {
  const DWORD effectMask = cf.dwMask & kEffectBits;  // CFM_BOLD.. share their values with CFE_BOLD..
  format.effects = (format.effects & ~effectMask) | (cf.dwEffects & effectMask);
  if (cf.dwMask & CFM_COLOR) {
    if (cf.dwEffects & CFE_AUTOCOLOR) {
      format.effects |= CFE_AUTOCOLOR;
    } else {
      format.effects &= ~static_cast<DWORD>(CFE_AUTOCOLOR);
      format.color = cf.crTextColor & 0x00FFFFFF;
    }
  }
  if (cf.dwMask & CFM_SIZE) format.height = std::clamp<LONG>(cf.yHeight, 0, kMostTwips);
  if (cf.dwMask & CFM_OFFSET) format.offset = std::clamp<LONG>(cf.yOffset, -kMostTwips, kMostTwips);
  if (cf.dwMask & CFM_CHARSET) format.charSet = cf.bCharSet;
  if (cf.dwMask & CFM_FACE) {
    format.face.assign(cf.szFaceName, strnlen(cf.szFaceName, kMostFaceBytes));
    format.pitchAndFamily = cf.bPitchAndFamily;
  }
}

CHARFORMAT ToCharFormatRecord(const CharFormat& format) {
  CHARFORMAT cf{};
  cf.cbSize = sizeof(CHARFORMAT);
  cf.dwMask = CFM_ALL;
  cf.dwEffects = format.effects;
  cf.yHeight = format.height;
  cf.yOffset = format.offset;
  cf.crTextColor = (format.effects & CFE_AUTOCOLOR) ? 0 : format.color;
  cf.bCharSet = format.charSet;
  cf.bPitchAndFamily = format.pitchAndFamily;
  std::memcpy(cf.szFaceName, format.face.data(), std::min<size_t>(format.face.size(), kMostFaceBytes));
  return cf;
}

DWORD CharFormatAgreement(const CharFormat& a, const CharFormat& b) {
  DWORD mask = CFM_ALL & ~kEffectBits & ~static_cast<DWORD>(CFM_COLOR | CFM_SIZE | CFM_OFFSET | CFM_CHARSET | CFM_FACE);
  mask |= kEffectBits & ~(a.effects ^ b.effects);
  if (SameColor(a, b)) mask |= CFM_COLOR;
  if (a.height == b.height) mask |= CFM_SIZE;
  if (a.offset == b.offset) mask |= CFM_OFFSET;
  if (a.charSet == b.charSet) mask |= CFM_CHARSET;
  if (a.face == b.face && a.pitchAndFamily == b.pitchAndFamily) mask |= CFM_FACE;
  return mask;
}

bool ParaFormat::operator==(const ParaFormat& other) const {
  return numbering == other.numbering && startIndent == other.startIndent && rightIndent == other.rightIndent &&
         offset == other.offset && alignment == other.alignment && tabs == other.tabs;
}

void ApplyParaFormat(ParaFormat& format, const PARAFORMAT& pf) {
  if ((pf.dwMask & PFM_NUMBERING) && (pf.wNumbering == 0 || pf.wNumbering == PFN_BULLET))
    format.numbering = pf.wNumbering;
  // Indents are bounded so that start indent + offset, which the writer adds up, stays a LONG.
  auto bounded = [](long long value) { return static_cast<LONG>(std::clamp<long long>(value, -kMostIndent, kMostIndent)); };
  if (pf.dwMask & PFM_STARTINDENT) format.startIndent = bounded(pf.dxStartIndent);
  if (pf.dwMask & PFM_OFFSETINDENT) format.startIndent = bounded(static_cast<long long>(format.startIndent) + pf.dxStartIndent);
  if (pf.dwMask & PFM_RIGHTINDENT) format.rightIndent = bounded(pf.dxRightIndent);
  if (pf.dwMask & PFM_OFFSET) format.offset = bounded(pf.dxOffset);
  if ((pf.dwMask & PFM_ALIGNMENT) && pf.wAlignment >= PFA_LEFT && pf.wAlignment <= PFA_CENTER)
    format.alignment = pf.wAlignment;
  if (pf.dwMask & PFM_TABSTOPS) {
    const int count = std::clamp<int>(pf.cTabCount, 0, MAX_TAB_STOPS);
    format.tabs.assign(pf.rgxTabs, pf.rgxTabs + count);
    std::sort(format.tabs.begin(), format.tabs.end());
    format.tabs.erase(std::unique(format.tabs.begin(), format.tabs.end()), format.tabs.end());
  }
}

PARAFORMAT ToParaFormatRecord(const ParaFormat& format) {
  PARAFORMAT pf{};
  pf.cbSize = sizeof(PARAFORMAT);
  pf.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING;
  pf.wNumbering = format.numbering;
  pf.dxStartIndent = format.startIndent;
  pf.dxRightIndent = format.rightIndent;
  pf.dxOffset = format.offset;
  pf.wAlignment = format.alignment;
  pf.cTabCount = static_cast<SHORT>(std::min<size_t>(format.tabs.size(), MAX_TAB_STOPS));
  std::copy_n(format.tabs.begin(), pf.cTabCount, pf.rgxTabs);
  return pf;
}

DWORD ParaFormatAgreement(const ParaFormat& a, const ParaFormat& b) {
  DWORD mask = 0;
  if (a.numbering == b.numbering) mask |= PFM_NUMBERING;
  if (a.startIndent == b.startIndent) mask |= PFM_STARTINDENT;
  if (a.rightIndent == b.rightIndent) mask |= PFM_RIGHTINDENT;
  if (a.offset == b.offset) mask |= PFM_OFFSET;
  if (a.alignment == b.alignment) mask |= PFM_ALIGNMENT;
  if (a.tabs == b.tabs) mask |= PFM_TABSTOPS;
  return mask;
}

Document::Document() : Document(CharFormat{}) {}

Document::Document(const CharFormat& finalMarkFormat) {
  m_paragraphs.emplace_back();
  m_finalMark = Intern(finalMarkFormat);
}

bool Document::IsMarkAt(LONG cp) const { return cp >= 0 && cp < Length() && m_text[cp] == '\r'; }

int Document::ParagraphAt(LONG cp) const {
  return static_cast<int>(std::lower_bound(m_markStarts.begin(), m_markStarts.end(), cp) - m_markStarts.begin());
}

LONG Document::ParagraphStart(int index) const { return index == 0 ? 0 : m_markStarts[index - 1] + 2; }

LONG Document::ParagraphEnd(int index) const {
  return index < static_cast<int>(m_markStarts.size()) ? m_markStarts[index] : Length();
}

const CharFormat& Document::FormatAt(LONG cp) const {
  return cp >= 0 && cp < Length() ? m_formats[m_charFormats[cp]] : m_formats[m_finalMark];
}

LONG Document::Snap(LONG cp, bool forward) const {
  cp = std::clamp<LONG>(cp, 0, Length());
  if (cp > 0 && cp < Length() && m_text[cp - 1] == '\r') cp += forward ? 1 : -1;
  return cp;
}

void Document::Insert(LONG cp, const std::string& text, const CharFormat& format) {
  const unsigned index = Intern(format);
  const int paragraph = ParagraphAt(cp);
  const auto marks = std::count(text.begin(), text.end(), '\r');
  m_paragraphs.insert(m_paragraphs.begin() + paragraph, marks, m_paragraphs[paragraph]);
  m_text.insert(cp, text);
  m_charFormats.insert(m_charFormats.begin() + cp, text.size(), index);
  Reindex();
}

void Document::Insert(LONG cp, const Document& other, bool ownParagraphs) {
  std::vector<unsigned> formats(other.m_charFormats.size());
  std::map<unsigned, unsigned> mapped;
  for (size_t i = 0; i < formats.size(); ++i) {
    const unsigned theirs = other.m_charFormats[i];
    auto found = mapped.find(theirs);
    if (found == mapped.end()) found = mapped.emplace(theirs, Intern(other.m_formats[theirs])).first;
    formats[i] = found->second;
  }
  const int paragraph = ParagraphAt(cp);
  if (ownParagraphs)
    m_paragraphs.insert(m_paragraphs.begin() + paragraph, other.m_paragraphs.begin(), other.m_paragraphs.end() - 1);
  else
    m_paragraphs.insert(m_paragraphs.begin() + paragraph, other.m_paragraphs.size() - 1, m_paragraphs[paragraph]);
  m_text.insert(cp, other.m_text);
  m_charFormats.insert(m_charFormats.begin() + cp, formats.begin(), formats.end());
  Reindex();
}

void Document::Erase(LONG from, LONG to) {
  from = Snap(from);
  to = Snap(to, true);
  if (from >= to) return;
  const int paragraph = ParagraphAt(from);
  const auto marks = std::count(m_text.begin() + from, m_text.begin() + to, '\r');
  // A paragraph's format lives with its mark: the paragraph whose mark survives keeps its format.
  m_paragraphs.erase(m_paragraphs.begin() + paragraph, m_paragraphs.begin() + paragraph + marks);
  m_text.erase(from, to - from);
  m_charFormats.erase(m_charFormats.begin() + from, m_charFormats.begin() + to);
  Reindex();
}

void Document::Truncate(LONG length) {
  if (length < Length()) Erase(Snap(length), Length());
}

void Document::ApplyCharFormat(LONG from, LONG to, const CHARFORMAT& cf, bool finalMark) {
  std::map<unsigned, unsigned> mapped;
  auto convert = [&](unsigned index) {
    auto found = mapped.find(index);
    if (found == mapped.end()) {
      CharFormat format = m_formats[index];
      richedit::ApplyCharFormat(format, cf);
      found = mapped.emplace(index, Intern(format)).first;
    }
    return found->second;
  };
  for (LONG i = std::max<LONG>(from, 0); i < std::min(to, Length()); ++i) m_charFormats[i] = convert(m_charFormats[i]);
  if (finalMark) m_finalMark = convert(m_finalMark);
}

void Document::SetFinalMarkFormat(const CharFormat& format) { m_finalMark = Intern(format); }

void Document::ApplyParaFormat(int first, int last, const PARAFORMAT& pf) {
  for (int i = std::max(first, 0); i <= last && i < ParagraphCount(); ++i) richedit::ApplyParaFormat(m_paragraphs[i], pf);
}

void Document::Append(const std::string& text, const CharFormat& format) {
  m_text += text;
  m_charFormats.insert(m_charFormats.end(), text.size(), Intern(format));
}

void Document::AppendMark(const CharFormat& format, const ParaFormat& paragraph) {
  m_markStarts.push_back(Length());
  m_text += "\r\n";
  m_charFormats.insert(m_charFormats.end(), 2, Intern(format));
  m_paragraphs.insert(m_paragraphs.end() - 1, paragraph);
}

void Document::SetFinalParagraph(const CharFormat& markFormat, const ParaFormat& paragraph) {
  m_finalMark = Intern(markFormat);
  m_paragraphs.back() = paragraph;
}

void Document::DropEmptyLastParagraph() {
  if (m_markStarts.empty() || m_markStarts.back() != Length() - 2) return;
  m_finalMark = m_charFormats.back();
  m_paragraphs.pop_back();
  m_markStarts.pop_back();
  m_text.resize(m_text.size() - 2);
  m_charFormats.resize(m_charFormats.size() - 2);
}

std::vector<Document::Run> Document::Runs(LONG from, LONG to, bool withFinalMark) const {
  std::vector<Run> runs;
  from = std::max<LONG>(from, 0);
  to = std::min(to, Length());
  for (LONG i = from; i < to;) {
    if (m_text[i] == '\r') {
      runs.push_back({i, std::min(i + 2, to), true, &m_formats[m_charFormats[i]]});
      i += 2;
      continue;
    }
    LONG end = i + 1;
    while (end < to && m_text[end] != '\r' && m_charFormats[end] == m_charFormats[i]) ++end;
    runs.push_back({i, end, false, &m_formats[m_charFormats[i]]});
    i = end;
  }
  if (withFinalMark) runs.push_back({Length(), Length(), true, &m_formats[m_finalMark]});
  return runs;
}

unsigned Document::Intern(const CharFormat& format) {
  auto found = m_formatIndex.find(format);
  if (found != m_formatIndex.end()) return found->second;
  m_formats.push_back(format);
  return m_formatIndex[format] = static_cast<unsigned>(m_formats.size() - 1);
}

void Document::Reindex() {
  m_markStarts.clear();
  for (LONG i = 0; i < Length(); ++i)
    if (m_text[i] == '\r') m_markStarts.push_back(i);
}

}  // namespace richedit
