// The RTF words and fixed strings that RtfToMText looks for, listed once.
#pragma once

namespace rtf_to_mtext_words {

// The control words removed with their parameters, one list string per word length. The lists
// are searched as strings: a candidate matches when it occurs anywhere in the list of its length.
struct SkipList {
  int length;
  const char* words;
};
inline constexpr SkipList kSkipLists[] = {
    {14, "\\wbmwidthbytes"},
    {13, "\\wbmbitspixel"},
    {10, "\\ldblquote\\rdblquote\\picscalex\\picscaley\\wmetafile\\wbmplanes"},
    {9, "\\footnote\\pichgoal\\picwgoal"},
    {8, "\\brdrbar\\brdrdb\\brdrdot\\wbitmap\\windows\\emspace\\enspace\\fldrslt\\wbitmap"},
    {7, "\\brdrsh\\brdrth\\trgaph\\trleft\\cellxn\\chftnn\\emdash\\endash\\lquote\\rquote\\strike"},
    {6, "\\scaps\\brdrb\\brdrl\\brdrr\\brdrt\\brdrs\\intbl\\cellx\\trowd\\chftn\\clmgf\\clmrg\\deffn\\field\\scaps"},
    {5, "\\ansi\\binn\\pict\\pard\\cell\\deff\\page\\keep\\lang\\line\\sect\\pich\\picw\\sect\\uldb\\trqc\\trql"},
    {4, "\\bin\\bmc\\bml\\bmr\\box\\row\\cbn\\cfn\\ewc\\ewl\\ewr\\fin\\tab\\pca\\mac\\sln\\tqc\\tqr"},
    {3, "\\ql\\qc\\qr\\cb\\fi\\tx\\li\\pc\\ri\\qj\\sa\\sb\\sl\\tb\\pc"},
    {2, "\\v"},
};

// The characters the control writes as words (with their delimiter space); each becomes its
// code page 1251 byte, so a typed quote or dash is kept.
struct CharacterWord {
  const char* word;
  char byte;
};
inline constexpr CharacterWord kCharacterWords[] = {
    {"\\lquote ", '\x91'}, {"\\rquote ", '\x92'}, {"\\ldblquote ", '\x93'}, {"\\rdblquote ", '\x94'},
    {"\\bullet ", '\x95'}, {"\\endash ", '\x96'}, {"\\emdash ", '\x97'},
};

// The family words of a font table entry and their MText pitch-and-family fields.
struct FontFamily {
  const char* word;
  const char* pitch;
};
inline constexpr FontFamily kFontFamilies[] = {
    {"fmodern", "|p49"}, {"fswiss", "|p34"}, {"froman", "|p18"}, {"fscript", "|p2"}, {"fdecor", "|p82"},
};

// Font entries 0 and 1 exactly as the control writes them; they make no descriptor.
inline constexpr char kFixedFontEntries[] = "{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}";

// The bold and italic fields of the control's default font, whose codes are dropped.
inline constexpr const char* kDefaultFontCodes[] = {"\\f0|b0|i0;", "\\f0|b0|i1;", "\\f0|b1|i0;", "\\f0|b1|i1;"};

// What a Symbol bullet group (brace, \f1, the middle dot, \tab, brace) has become by then.
inline constexpr char kSymbolBulletGroup[] = "{\\fSymbol\xB7\t}";

// A tab is "\tab" and its delimiter space; both become one tab character of the MText.
inline constexpr const char* kTabWords[] = {"\\tab ", "\\tab"};

// The longest face name a Windows font has (LF_FACESIZE without its NUL); RtfToMText keeps no
// more of a font table's name or charset text, which bounds what one font reference becomes.
inline constexpr int kMaxFontField = 31;

// Half-points to drawing units: the height h of an MText text is shown as 12 h half-points.
inline constexpr double kUnitsPerHalfPoint = 0.08333333333333333;

}  // namespace rtf_to_mtext_words
