// The MText codes that the editor keeps as code text: how MText contents are cut into pieces,
// which codes the control cannot show as formatting, and the face that marks them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace keptcodes {

// The reserved face: text in it is MText code, shown as written and written back as it is.
// The font list never offers it; in the control's RTF it is an ordinary font table entry.
inline constexpr char kCodeFace[] = "MText Code";

enum class PieceKind {
  kText,          // characters
  kEscape,        // "\\", "\{", "\}"
  kMTextToRtfCode,  // a code MTextToRtf turns into the editor's formatting: \f \F \H \C \L \l \P
  kCharacter,     // \U+XXXX of a character that code page 1251 has; `byte` holds it
  kInlineCode,    // kept, stands where a character would: \S...; \U+XXXX \~ \X, a control character
  kBareCode,      // kept, acts on what follows: \A \p \W \T \Q \c \O \o \K \k \N, unknown codes
  kOpen,          // "{"
  kClose,         // "}"
  kLoneEnd        // a backslash or a caret that ends the contents: a literal, kept at the end
};

struct Piece {
  PieceKind kind;
  size_t begin, end;  // byte offsets
  char byte = 0;      // the character of kCharacter
};

// The contents cut into pieces, read as the host reads them: every byte in exactly one piece.
std::vector<Piece> Scan(std::string_view mtext);

// A height or colour value ended by a brace ("\H15.5{"): MTextToRtf's passes read values up to
// a ";", so it gets one (or, on RtfToMText's own contents, is kept as code).
bool EndedByBrace(std::string_view mtext, const Piece& piece);

// True when the contents hold a code that MTextToRtf keeps as code text, a literal backslash
// (which no pass may take for part of a code) or a byte that MTextToRtf's stand-in tokens use.
// MTextToRtf's literal reference holds only for other contents.
bool HoldsKeptCode(std::string_view mtext);

// True when an RTF document holds marked code text or a literal backslash: RtfToMText's literal
// reference holds only for other documents.
bool HoldsMarkedText(std::string_view rtf);

// The byte of code page 1251 for a Unicode code point, or 0 when the code page lacks it.
char Cp1251Byte(unsigned codePoint);
// The Unicode code point of a byte of code page 1251 (0 for 0x98, which stands for none).
unsigned Cp1251CodePoint(unsigned char byte);

// Whether a stretch of marked text reads, as the host reads MText, as complete kept codes only
// (braces included, and colour codes, which are kept where they end a true colour); `pieces`
// receives them. A lone backslash at its end counts, like a code that needs its terminator: it is
// one only at the end of the text.
bool ReadsAsKeptCodes(std::string_view code, std::vector<Piece>& pieces);

// A stack, paragraph or font code that ran to the end of its text: it takes everything up to the
// next ";", so written anywhere else it needs one, which the host reads as the same code.
bool NeedsTerminator(std::string_view piece);

// Whether a kept code stands where a character would (written inside a run, with its format).
inline bool IsInline(PieceKind kind) { return kind == PieceKind::kInlineCode || kind == PieceKind::kCharacter; }

// A stand-in token for the n-th of a pass's hidden texts: `open`, n in letters a to p (lowest
// digit first), `close`. Letters are no code letter a pass looks for, and no digit or ";".
std::string Token(char open, size_t n, char close);
// The number of the token whose letters stand in `letters`, or npos when they are not letters a
// to p.
size_t TokenNumber(std::string_view letters);

// Marked code text as RTF text: backslashes and braces escaped, a control character (but the tab)
// as the escape of its code point ("\U+0007"), which the control can hold.
std::string RtfEscaped(std::string_view code);

}  // namespace keptcodes
