// The rich edit's document: text with paragraph marks, one character format per byte, one paragraph format per mark.
#pragma once

#include <richedit.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace richedit {

// The longest face name a CHARFORMAT holds, without its terminating zero.
constexpr size_t kMostFaceBytes = sizeof(CHARFORMAT::szFaceName) - 1;

// A character format as the control keeps it: CHARFORMAT's values, always all of them.
struct CharFormat {
  DWORD effects = CFE_AUTOCOLOR;
  LONG height = 165;  // twips: MS Sans Serif 8.25 pt, the control's default
  LONG offset = 0;
  COLORREF color = 0;
  BYTE charSet = 0;
  BYTE pitchAndFamily = 0;
  std::string face = "MS Sans Serif";

  bool operator==(const CharFormat& other) const;
  bool operator!=(const CharFormat& other) const { return !(*this == other); }
  bool operator<(const CharFormat& other) const;
};

// The fields of `cf` that its mask names, applied to `format`.
void ApplyCharFormat(CharFormat& format, const CHARFORMAT& cf);
// All of `format` as a CHARFORMAT with the full mask.
CHARFORMAT ToCharFormatRecord(const CharFormat& format);
// The mask bits under which `a` and `b` agree.
DWORD CharFormatAgreement(const CharFormat& a, const CharFormat& b);

// A paragraph format as the control keeps it: PARAFORMAT's values.
struct ParaFormat {
  WORD numbering = 0;
  LONG startIndent = 0;
  LONG rightIndent = 0;
  LONG offset = 0;
  WORD alignment = PFA_LEFT;
  std::vector<LONG> tabs;  // ascending

  bool operator==(const ParaFormat& other) const;
  bool operator!=(const ParaFormat& other) const { return !(*this == other); }
};

void ApplyParaFormat(ParaFormat& format, const PARAFORMAT& pf);
PARAFORMAT ToParaFormatRecord(const ParaFormat& format);
DWORD ParaFormatAgreement(const ParaFormat& a, const ParaFormat& b);

// Text as the version 1.0 control counts it: a paragraph mark is the two characters CR LF; the
// document's last mark always exists and is not part of the text. Positions run from 0 to
// Length(); no position lies between the CR and the LF of a mark.
class Document {
 public:
  Document();
  explicit Document(const CharFormat& finalMarkFormat);

  LONG Length() const { return static_cast<LONG>(m_text.size()); }
  const std::string& Text() const { return m_text; }
  bool IsMarkAt(LONG cp) const;  // a CR LF starts at cp

  int ParagraphCount() const { return static_cast<int>(m_paragraphs.size()); }
  int ParagraphAt(LONG cp) const;
  LONG ParagraphStart(int index) const;
  LONG ParagraphEnd(int index) const;  // where its mark starts; Length() for the last paragraph
  const ParaFormat& Paragraph(int index) const { return m_paragraphs[index]; }

  // The format of the character at cp; at Length(), the last mark's.
  const CharFormat& FormatAt(LONG cp) const;
  const CharFormat& FinalMarkFormat() const { return m_formats[m_finalMark]; }

  // The nearest valid position at or before cp (after it when `forward`), within 0..Length().
  LONG Snap(LONG cp, bool forward = false) const;

  // `text` holds paragraph marks as CR LF only.
  void Insert(LONG cp, const std::string& text, const CharFormat& format);
  // Inserts the text of `other` (its last mark excluded). Each inserted mark brings its paragraph's
  // format when `ownParagraphs`, else takes the format of the paragraph it is inserted in.
  void Insert(LONG cp, const Document& other, bool ownParagraphs);
  void Erase(LONG from, LONG to);
  // Cuts the text at `length` (moved back out of a mark); the last mark stays.
  void Truncate(LONG length);

  // Applies the masked fields to the characters of from..to and, when `finalMark`, to the last mark.
  void ApplyCharFormat(LONG from, LONG to, const CHARFORMAT& cf, bool finalMark);
  void SetFinalMarkFormat(const CharFormat& format);
  void ApplyParaFormat(int first, int last, const PARAFORMAT& pf);

  // Building by the RTF reader: text and marks appended at the end.
  void Append(const std::string& text, const CharFormat& format);
  void AppendMark(const CharFormat& format, const ParaFormat& paragraph);
  void SetFinalParagraph(const CharFormat& markFormat, const ParaFormat& paragraph);
  // The last mark in the text becomes the document's last mark (the paragraph after it is empty).
  void DropEmptyLastParagraph();

  // Stretches of one format inside one paragraph; a mark is a stretch of its own.
  struct Run {
    LONG start;
    LONG end;
    bool mark;
    const CharFormat* format;
  };
  std::vector<Run> Runs(LONG from, LONG to, bool withFinalMark) const;

 private:
  unsigned Intern(const CharFormat& format);
  void Reindex();

  std::string m_text;
  std::vector<unsigned> m_charFormats;  // per byte, into m_formats
  std::vector<ParaFormat> m_paragraphs;  // one per mark; the last is the last mark's
  std::vector<LONG> m_markStarts;        // where each mark of the text starts
  std::vector<CharFormat> m_formats;
  std::map<CharFormat, unsigned> m_formatIndex;
  unsigned m_finalMark = 0;
};

}  // namespace richedit
