// MText codes the control cannot show as formatting: shown as code text in the reserved face and
// written back as they were, byte for byte; literal backslashes stay text.
#include <qplatform/MText.h>
#include <qplatform/RichEditTesting.h>
#include <qplatform/Script.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "controls/ControlsFixture.h"
#include "converter/KeptCodes.h"
#include "converter/MTextRtfConverter.h"
#include "host/EditTarget.h"
#include "host/HostColors.h"
#include "support/Bytes.h"

namespace {

CString C(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }
std::string S(const CString& s) { return std::string(s.GetString(), static_cast<size_t>(s.GetLength())); }

class KeptCodes : public OpenControlsTest {
 protected:
  // MText through MTextToRtf, the dialog's control and RtfToMText, the heights passed along as
  // the editing run passes them.
  std::string Trip(const std::string& mtext, double height = 2.5) {
    HostColors colors;
    theEditTarget.textHeight = height;
    MTextToRtfEditTarget target(theEditTarget);
    MTextRtfConverter toRtf(colors, target);
    dialog.m_richEdit.SetRtf(toRtf.MTextToRtf(C(mtext)));
    return Written();
  }
  std::string Written() {
    HostColors colors;
    MTextRtfConverter toMText(colors);
    toMText.knownHeights = theEditTarget.knownHeights;
    toMText.knownFonts = theEditTarget.knownFonts;
    toMText.halfPointsPerUnit = theEditTarget.halfPointsPerUnit;
    return S(toMText.RtfToMText(dialog.m_richEdit.GetRtf()));
  }
  // The text the control shows in the reserved face, stretch by stretch.
  std::vector<std::string> Marked() {
    std::vector<std::string> marked;
    EditorRichEdit& edit = dialog.m_richEdit;
    const int length = edit.GetWindowTextLength();
    bool inside = false;
    for (int cp = 0; cp < length; ++cp) {
      edit.SetSel(cp, cp + 1);
      CHARFORMAT format = edit.GetSelectionFormat(CFM_FACE);
      CString ch = edit.GetSelText();
      const bool isCode = std::string(format.szFaceName) == keptcodes::kCodeFace;
      if (isCode && !inside) marked.emplace_back();
      if (isCode) marked.back() += S(ch);
      inside = isCode;
    }
    return marked;
  }
  void Type(const std::string& text) {
    dialog.m_richEdit.SetFocus();
    qplatform::TypeText([&](UINT m, WPARAM w, LPARAM l) { return ::SendMessage(dialog.m_richEdit.m_hWnd, m, w, l); },
                        text);
  }
};

struct Row {
  const char* name;
  const char* mtext;
  const char* written;
};

// MText in, what the editor writes back when the user changed nothing, at base height 2.5.
const Row kRows[] = {
    // stacks: inside the run group, with the run's height, colour and font
    {"stack", "a\\S1/2;b", "{{{\\H2.5;a}}{{\\H2.5;\\S1/2;}}{{\\H2.5;b}}}"},
    {"stack with a caret and a space", "\\A1;<>\\S0.01^ 0.02;",
     "{\\A1;{{\\H2.5;<>}}{{\\H2.5;\\S0.01^ 0.02;}}}"},
    {"stack in a group with a relative height", "3{\\H0.75x;\\S1/2;}\"",
     "{{{\\H2.5;3}}{{\\H0.75x;\\S1/2;}}{{\\H2.5;\"}}}"},
    {"stack inside a coloured bold run", "{\\fArial|b1|i0|c204|p34;\\C1;a\\S1/2;b}",
     "{{\\fArial|c204|p34|b1|i0;{\\H2.5\\C1;a}}{\\fArial|c204|p34|b1|i0;{\\H2.5\\C1;\\S1/2;}}"
     "{\\fArial|c204|p34|b1|i0;{\\H2.5\\C1;b}}}"},
    {"stack cut short at the end gets its ;", "\\S1/2", "{{{\\H2.5;\\S1/2;}}}"},
    // characters outside code page 1251, and those inside it
    {"character outside the code page", "\\U+00D8", "{{{\\H2.5;\\U+00D8}}}"},
    {"in a word", "Pripomo\\U+010dki", "{{{\\H2.5;Pripomo}}{{\\H2.5;\\U+010d}}{{\\H2.5;ki}}}"},
    {"Cyrillic written as \\U+", "\\U+0414\\U+0430", "{{{\\H2.5;\xC4\xE0}}}"},
    {"non-breaking space", "x\\~y", "{{{\\H2.5;x}}{{\\H2.5;\\~}}{{\\H2.5;y}}}"},
    // codes that act on what follows: bare, between the groups
    {"alignment ends with its group", "{\\A1;x}y", "{{\\A1;{{\\H2.5;x}}}{{\\H2.5;y}}}"},
    {"alignment to the end", "\\A1;x", "{\\A1;{{\\H2.5;x}}}"},
    {"paragraph code", "\\pxqc;Title", "{\\pxqc;{{\\H2.5;Title}}}"},
    {"paragraph code without a comma", "\\pxi-3,l4t4;x", "{\\pxi-3,l4t4;{{\\H2.5;x}}}"},
    {"paragraph code with stars", "\\pi*,l*,t;x", "{\\pi*,l*,t;{{\\H2.5;x}}}"},
    {"width and tracking", "\\W1.0000000000;\\T1.0000000000;abc", "{\\W1.0000000000;\\T1.0000000000;{{\\H2.5;abc}}}"},
    {"column break", "a\\Nb", "{{{\\H2.5;a}}\\N{{\\H2.5;b}}}"},
    // shape fonts: the same code, and the text behind it in no font code of RtfToMText's
    {"shape font", "\\Ftxt.shx;abc", "{\\Ftxt.shx;{{\\H2.5;abc}}}"},
    {"shape font with a character set", "x\\Farchquik.shx|c0;abc", "{{{\\H2.5;x}}\\Farchquik.shx|c0;{{\\H2.5;abc}}}"},
    {"shape font between TrueType ones", "{\\fCalibri|b0|i0|c0|p34;C\\Fcdm|c0; D \\fConsolas|b0|i0|c0|p49;E}",
     "{{\\fCalibri|c0|p34|b0|i0;{\\H2.5;C}}\\Fcdm|c0;{{\\H2.5; D }}{\\fConsolas|c0|p49|b0|i0;{\\H2.5;E}}}"},
    // a font code's pitch field comes back as written, also one that no family word stands for
    {"pitch 0", "\\fArial|b0|i0|c0|p0;x", "{{\\fArial|c0|p0|b0|i0;{\\H2.5;x}}}"},
    {"pitch 7", "\\fArial|b1|i0|c0|p7;x", "{{\\fArial|c0|p7|b1|i0;{\\H2.5;x}}}"},
    {"pitch 33 beside a family word's 34", "\\fX|c0|p33;a\\fY|c0|p34;b",
     "{{\\fX|c0|p33|b0|i0;{\\H2.5;a}}{\\fY|c0|p34|b0|i0;{\\H2.5;b}}}"},
    {"a character set without a number gets one, the pitch stays", "\\fVerdana|c|p34|b0|i0;x",
     "{{\\fVerdana|c0|p34|b0|i0;{\\H2.5;x}}}"},
    // bold and italic fields in front of the others, in any order other programs write them
    {"bold in front of the pitch", "\\fArial|b1|p49;x", "{{\\fArial|c0|p49|b1|i0;{\\H2.5;x}}}"},
    {"italic in front of the character set", "\\fTimes New Roman|i1|c204;x",
     "{{\\fTimes New Roman|c204|b0|i1;{\\H2.5;x}}}"},
    {"bold between the character set and the pitch", "\\fArial|c0|b1|p34;x", "{{\\fArial|c0|p34|b1|i0;{\\H2.5;x}}}"},
    {"italic in front on contents that begin with two groups", "{{\\fSimSun|i1|c134;{\\H2;x}}}",
     "{{\\fSimSun|c134|b0|i1;{\\H2;x}}}"},
    // a font code sets bold and italic as its fields say, also inside the group of a bold one
    {"a plain font in a bold font's group", "\\fArial Narrow|b1;{\\fSymbol;#", "{{\\fSymbol|c0|b0|i0;{\\H2.5;#}}}"},
    {"an upright font in an italic font's group", "\\fA|b1|i1;a{\\fB|b1;b}",
     "{{\\fA|c0|b1|i1;{\\H2.5;a}}{\\fB|c0|b1|i0;{\\H2.5;b}}}"},
    // two codes the control holds as one font: neither pitch can be told, both are left out
    {"one font in the control", "\\fA|c0|p0;a\\fA|c0|p1;b", "{{\\fA|c0|b0|i0;{\\H2.5;ab}}}"},
    // a font code that begins another does not take the other's start: its rest is no text
    {"a font code that begins another", "\\fArial|c0;a\\fArial|c0|p0;b", "{{\\fArial|c0|b0|i0;{\\H2.5;ab}}}"},
    {"a font code naming the reserved face", "\\fMText Code;x", "{\\fMText Code;{{\\H2.5;x}}}"},
    {"a height MTextToRtf cannot read exactly", "a\\Hbig;b", "{{{\\H2.5;a}}\\Hbig;{{\\H2.5;b}}}"},
    // heights come back as written, a relative one relative, behind the height it multiplies
    {"absolute height", "\\H2.25;abc", "{{{\\H2.25;abc}}}"},
    {"relative height", "{\\H0.75x;abc}", "{{{\\H0.75x;abc}}}"},
    {"relative after absolute", "\\H10;ABC\\H0.5x;DEF", "{{{\\H10;ABC}}{{\\H10;\\H0.5x;DEF}}}"},
    // a height reaches to the end of its group: what comes after refers to the height outside it
    {"relative heights in groups one after another", "{\\H2x;a}{\\H0.5x;b}c", "{{{\\H2x;a}}{{\\H0.5x;b}}{{\\H2.5;c}}}"},
    {"relative height behind a nested group", "{\\H2x;a{\\H3x;b}\\H0.5x;c}", "{{{\\H2x;a}}{{\\H2x;\\H3x;b}}{{\\H2x;\\H0.5x;c}}}"},
    {"a font run at the height in force", "\\H6;a \\fArial|b0|i1|c0|p34;b", "{{{\\H6;a }}{\\fArial|c0|p34|b0|i1;{\\H6;b}}}"},
    {"a font run behind a closed group", "{\\H6;a}\\fArial;b", "{{{\\H6;a}}{\\fArial|c0|b0|i0;{\\H2.5;b}}}"},
    {"a font run behind a group with a colour", "{\\C1;\\fArial;a}{\\fArial;b}",
     "{{\\fArial|c0|b0|i0;{\\H2.5\\C1;a}}{\\fArial|c0|b0|i0;{\\H2.5;b}}}"},
    {"font runs in groups one after another", "{\\fArial;\\H1.4x;a}{\\fArial;\\H1.4x;b}\\fArial;c",
     "{{\\fArial|c0|b0|i0;{\\H1.4x;ab}}{\\fArial|c0|b0|i0;{\\H2.5;c}}}"},
    // a font run that leaves a group open: the text behind the next run's group is in its font,
    // at the height and colour of that group
    {"a run behind a group left open", "\\fA;{\\H2x;a{\\fA;}b", "{{\\fA|c0|b0|i0;{\\H2x;ab}}}"},
    {"a relative height behind a run in a group left open", "\\fA;{\\H2x;a{\\fB;b}\\H0.5x;c",
     "{{\\fA|c0|b0|i0;{\\H2x;a}}{\\fB|c0|b0|i0;{\\H2x;b}}{\\fA|c0|b0|i0;{\\H2x;\\H0.5x;c}}}"},
    {"runs in groups left open, one inside the other", "\\fA;{\\H2x;a{\\fB;{\\H3x;b{\\fC;c}d}e}f",
     "{{\\fA|c0|b0|i0;{\\H2x;a}}{\\fB|c0|b0|i0;{\\H2x;\\H3x;b}}{\\fC|c0|b0|i0;{\\H2x;\\H3x;c}}"
     "{\\fB|c0|b0|i0;{\\H2x;\\H3x;d}}{\\fB|c0|b0|i0;{\\H2x;e}}{\\fA|c0|b0|i0;{\\H2x;f}}}"},
    {"the font behind a run's group", "\\fA;a{\\fB;b}c",
     "{{\\fA|c0|b0|i0;{\\H2.5;a}}{\\fB|c0|b0|i0;{\\H2.5;b}}{\\fA|c0|b0|i0;{\\H2.5;c}}}"},
    {"a colour left open behind a run's group", "\\fA;{\\C1;a{\\fB;b}c",
     "{{\\fA|c0|b0|i0;{\\H2.5\\C1;a}}{\\fB|c0|b0|i0;{\\H2.5\\C1;b}}{\\fA|c0|b0|i0;{\\H2.5\\C1;c}}}"},
    // a "}" that closes no group closes nothing: the text behind it keeps its height, none is lost
    {"a closing brace at the start", "}x", "{{{\\H2.5;x}}}"},
    {"two closing braces in a word", "x}}y", "{{{\\H2.5;xy}}}"},
    {"a closing brace behind a group", "\\A1;{a}}b", "{\\A1;{{\\H2.5;ab}}}"},
    {"contents that only begin with two braces", "{{K}}x", "{{{\\H2.5;Kx}}}"},
    // codes between a group and the group behind it reach into it and on
    {"a font code behind a group", "{}\\fA;a{b}c", "{{\\fA|c0|b0|i0;{\\H2.5;abc}}}"},
    {"a height behind a group", "{}\\H5;a{b", "{{{\\H5;ab}}}"},
    {"a colour behind an empty group", "\\C3;{\\H0.7x;}\\C1;{c", "{{{\\H2.5\\C1;c}}}"},
    // literal backslashes are text: no pass reads the letters behind them
    {"escaped stack", "a\\\\S1/2;b", "{{{\\H2.5;a\\\\S1/2;b}}}"},
    {"path", "C:\\\\temp", "{{{\\H2.5;C:\\\\temp}}}"},
    {"escaped \\U+", "\\\\U+00D8", "{{{\\H2.5;\\\\U+00D8}}}"},
    {"escaped non-breaking space", "x\\\\~y", "{{{\\H2.5;x\\\\~y}}}"},
    {"a skip-list word behind a backslash", "D:\\\\video\\\\x", "{{{\\H2.5;D:\\\\video\\\\x}}}"},
    {"\\tab behind a backslash", "C:\\\\tab\\\\y", "{{{\\H2.5;C:\\\\tab\\\\y}}}"},
    {"\\plain behind a backslash", "a\\\\plain b", "{{{\\H2.5;a\\\\plain b}}}"},
    {"a tab", "a\tb", "{{{\\H2.5;a\tb}}}"},
    {"a backslash that ends the text", "a\\\\\\", "{{{\\H2.5;a\\\\}}}\\"},
    // underline, on plain-text contents and on RtfToMText's own
    {"underline in plain text", "A\\LB\\lCD", "{{{\\H2.5;A}}{{\\H2.5;\\LB\\l}}{{\\H2.5;CD}}}"},
    {"underline to the end", "\\Lab", "{{{\\H2.5;\\Lab}\\l}}"},
    {"underline on RtfToMText's contents", "{{{\\H2.5\\C1;\\LHello\\l}}{{\\H2.5\\C1;x}}}",
     "{{{\\H2.5\\C1;\\LHello\\l}}{{\\H2.5\\C1;x}}}"},
    // colours: no code stays no code; ByBlock, ByLayer and an index come back as written
    {"no colour code", "edges 1 & 3", "{{{\\H2.5;edges 1 & 3}}}"},
    {"colours as written", "\\C0;a\\C256;b\\C18;c\\C7;d",
     "{{{\\H2.5\\C0;a}}{{\\H2.5\\C256;b}}{{\\H2.5\\C18;c}}{{\\H2.5\\C7;d}}}"},
    // a true colour: stated again behind the colour code of each run it reaches, up to the
    // colour code that ends it, which is kept as well
    {"true colour to the end", "a\\c0;b", "{{{\\H2.5;a}}\\c0;{{\\H2.5;\\c0;b}}}"},
    {"true colour behind a colour", "\\C1;a\\c0;b\\C1;c\\C2;d",
     "{{{\\H2.5\\C1;a}}\\c0;{{\\H2.5\\C1;\\c0;b}}\\C1;{{\\H2.5\\C1;c}}{{\\H2.5\\C2;d}}}"},
    {"true colour in a group", "\\C1;x{\\c255;y\\C1;w}z",
     "{{{\\H2.5\\C1;x}}{\\c255;{{\\H2.5\\C1;\\c255;y}}\\C1;{{\\H2.5\\C1;w}}}{{\\H2.5\\C1;z}}}"},
    {"true colour across font runs", "\\fArial;\\c0;x\\fArial|b0|i1;\\C1;y",
     "{\\c0;{\\fArial|c0|b0|i0;{\\H2.5;\\c0;x}}\\C1;{\\fArial|c0|b0|i1;{\\H2.5\\C1;y}}}"},
    {"text behind a group keeps the height outside it", "\\H15.5;{\\C1;T}\\P{\\C2;S}",
     "{{{\\H15.5\\C1;T}}{{\\H15.5;\\P}}{{\\H15.5\\C2;S}}}"},
    {"a font code without a name", "\\fArial;a\\f;b",
     "{{\\fArial|c0|b0|i0;{\\H2.5;a}}\\f;{\\fArial|c0|b0|i0;{\\H2.5;b}}}"},
    // lines: the control's final mark is no line; a text's own empty last line stays one
    {"two lines", "a\\Pb", "{{{\\H2.5;a\\Pb}}}"},
    {"an empty last line", "a\\P", "{{{\\H2.5;a\\P}}}"},
    {"two empty last lines", "a\\P\\P", "{{{\\H2.5;a\\P\\P}}}"},
    {"only an empty line", "\\P", "{{{\\H2.5;\\P}}}"},
    {"an empty last line in a group", "{\\C1;a\\P}", "{{{\\H2.5\\C1;a\\P}}}"},
    // other control characters: the control holds their escapes, which read as the characters
    {"a control character", "a\x05" "b", "{{{\\H2.5;a}}{{\\H2.5;\\U+0005}}{{\\H2.5;b}}}"},
    {"line ends and a vertical tab", "a\nb\r\x0B",
     "{{{\\H2.5;a}}{{\\H2.5;\\U+000A}}{{\\H2.5;b}}{{\\H2.5;\\U+000D\\U+000B}}}"},
    {"the bytes of the passes' tokens", "\x01" "a\x02\x03\x04;",
     "{{{\\H2.5;\\U+0001}}{{\\H2.5;a}}{{\\H2.5;\\U+0002\\U+0003\\U+0004}}{{\\H2.5;;}}}"},
    {"a control character inside a code", "\\S1\x03/2;x", "{{{\\H2.5;\\S1\\U+0003/2;}}{{\\H2.5;x}}}"},
    // a stack runs to its first ";" that is not escaped
    {"a stack with an escaped ; in its numerator", "\\S3\\;/4;", "{{{\\H2.5;\\S3\\;/4;}}}"},
    {"a stack that begins with an escaped ;", "\\S\\;3/4;x", "{{{\\H2.5;\\S\\;3/4;}}{{\\H2.5;x}}}"},
    // a caret that ends the text ends it again: in front of a brace it would be a caret code
    {"a caret that ends the text", "ab^", "{{{\\H2.5;ab}}}^"},
    {"a caret inside the text", "a^ b", "{{{\\H2.5;a^ b}}}"},
    // a font code over kept codes alone reaches them as code, bare
    {"a font over a character outside the code page", "\\fArial|b0|i0|c0|p34;\\U+03A9",
     "{\\fArial|b0|i0|c0|p34;{{\\H2.5;\\U+03A9}}}"},
    {"a font over codes in a group", "x{\\fArial|b0|i0|c0|p34;\\U+03A9\\U+03A3}y",
     "{{{\\H2.5;x}}{\\fArial|b0|i0|c0|p34;{{\\H2.5;\\U+03A9\\U+03A3}}}{{\\H2.5;y}}}"},
    // a face the control's font table cannot hold in the code page comes back as written
    {"a face spelled with \\U+ codes", "\\f\\U+9ED1\\U+4F53|b0|i0;x", "{{\\f\\U+9ED1\\U+4F53|b0|i0;{\\H2.5;x}}}"},
    {"two such faces of one script", "\\f\\U+9ED1\\U+4F53|b0|i0;x\\f\\U+5B8B\\U+4F53|b0|i0;y",
     "{{\\f\\U+9ED1\\U+4F53|b0|i0;{\\H2.5;x}}{\\f\\U+5B8B\\U+4F53|b0|i0;{\\H2.5;y}}}"},
    {"such a face with fields", "\\f\\U+AD74\\U+B9BC|b1|i0|c129|p34;x", "{{\\f\\U+AD74\\U+B9BC|c129|p34|b1|i0;{\\H2.5;x}}}"},
};

// MText in, what the editor writes back, on texts of any base height: every height keeps its
// text and its form, and two heights are never merged.
struct HeightRow {
  const char* name;
  double base;
  const char* mtext;
  const char* written;
};

const HeightRow kHeightRows[] = {
    // a tall text, at the scale that shows it at 12 points
    {"a text 500 units high", 500, "Plan", "{{{\\H500;Plan}}}"},
    {"a relative height on a tall text", 300, "{\\H2x;Plan} x", "{{{\\H2x;Plan}}{{\\H300; x}}}"},
    {"an absolute height on a tall text", 350, "a\\H1000;b", "{{{\\H350;a}}{{\\H1000;b}}}"},
    {"a tiny text", 0.0001, "{\\H0.7x;a}b", "{{{\\H0.7x;a}}{{\\H0.0001;b}}}"},
    {"a text of a million units", 1e6, "a{\\H0.001x;b}", "{{{\\H1000000;a}}{{\\H0.001x;b}}}"},
    // heights the control cannot show: the nearest sizes, each its own
    {"a height beyond the control's largest size", 2.5, "a{\\H1000;b}{\\H2000;c}",
     "{{{\\H2.5;a}}{{\\H1000;b}}{{\\H2000;c}}}"},
    {"heights below its smallest", 2.5, "a{\\H0.001;b}{\\H0.002;c}", "{{{\\H2.5;a}}{{\\H0.001;b}}{{\\H0.002;c}}}"},
    // two heights that come to one size stay two
    {"2.55 and 2.58", 2.5, "{\\H2.55;bb}{\\H2.58;cc}", "{{{\\H2.55;bb}}{{\\H2.58;cc}}}"},
    {"0.21 and 0.22", 2.5, "{\\H0.21;bb}{\\H0.22;cc}", "{{{\\H0.21;bb}}{{\\H0.22;cc}}}"},
    {"a relative height of the base's value", 2.5, "a{\\H1x;b}", "{{{\\H2.5;a}}{{\\H1x;b}}}"},
    {"a relative height with a capital X", 2.5, "{\\H2X;a}b", "{{{\\H2X;a}}{{\\H2.5;b}}}"},
    // a written height of the base's value keeps its spelling, and so does the base
    {"the base height spelled otherwise", 2.5, "\\H2.50;a", "{{{\\H2.50;a}}}"},
    {"both spellings", 2.5, "\\H2.50;a{\\H2.5;b}", "{{{\\H2.50;a}}{{\\H2.5;b}}}"},
    // the grammar judge's minimal cases
    {"a code alone on a base of 1000", 1000, "\x1f", "{{{\\H1000;\\U+001F}}}"},
    {"a relative height on a base of a million", 1e6, "\\H3x;\\U+8BD5", "{{{\\H3x;\\U+8BD5}}}"},
    {"a relative height of more than six digits", 0.05, "\\H5.00005x;\x07", "{{{\\H5.00005x;\\U+0007}}}"},
    {"code text alone behind a font code", 0.35, "\\fArial;\x0a", "{\\fArial;{{\\H0.35;\\U+000A}}}"},
    {"a stack with an escaped ; alone behind a font code", 273, "\\fSimSun;\\S\\;#6;", "{\\fSimSun;{{\\H273;\\S\\;#6;}}}"},
    {"a stack with an escaped ; before its end", 100, "\\S23^\\;;", "{{{\\H100;\\S23^\\;;}}}"},
};

TEST_F(KeptCodes, EveryHeightComesBackAsWrittenAtAnyBaseHeight) {
  for (const HeightRow& row : kHeightRows) {
    SCOPED_TRACE(row.name);
    EXPECT_BYTES_EQ(std::string(row.written), Trip(row.mtext, row.base)) << "mtext: " << testsupport::Readable(row.mtext);
    EXPECT_BYTES_EQ(std::string(row.written), Trip(row.written, row.base)) << "read again";
  }
}

TEST_F(KeptCodes, EachRowComesBackAsWritten) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_BYTES_EQ(std::string(row.written), Trip(row.mtext)) << "mtext: " << testsupport::Readable(row.mtext);
  }
}

// What RtfToMText gives back is a fixed point: read and written again, it stays.
TEST_F(KeptCodes, WrittenTextIsAFixedPoint) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_BYTES_EQ(std::string(row.written), Trip(row.written));
  }
}

TEST_F(KeptCodes, TheControlShowsKeptCodesInTheReservedFace) {
  Trip("{\\A1;x}\\S1/2;y\\U+00D8");
  EXPECT_EQ((std::vector<std::string>{"{\\A1;", "}\\S1/2;", "\\U+00D8"}), Marked());
  Trip("a\x07" "b");
  EXPECT_EQ((std::vector<std::string>{"\\U+0007"}), Marked()) << "a control character shows as its escape";
  Trip("C:\\\\temp \\U+0414");
  EXPECT_TRUE(Marked().empty()) << "a literal backslash and a character of the code page are text";
}

// Every marked stretch reads, as the host reads MText, as codes only.
TEST_F(KeptCodes, MarkedStretchesAreCodesToTheHost) {
  Trip("{\\A1;x}\\pxqc;\\S1/2;y\\U+00D8\\W0.8;\\~z\\N");
  for (const std::string& stretch : Marked()) {
    for (const auto& token : qhost::mtext::Tokenize(stretch)) {
      EXPECT_NE(qhost::mtext::TokenKind::kText, token.kind) << testsupport::Readable(stretch);
      EXPECT_NE(qhost::mtext::TokenKind::kUnknown, token.kind) << testsupport::Readable(stretch);
    }
  }
}

TEST_F(KeptCodes, TextTypedInTheEditorIsText) {
  Trip("");
  Type("A\\Pb C:\\Net\\Old");
  EXPECT_BYTES_EQ(std::string("{{{\\H2.5;A\\\\Pb C:\\\\Net\\\\Old}}}"), Written());
}

// Only loading makes code text: typing at a marked run's edge, a face chosen for a selection
// and a paste neither make nor clear it, but a "\U+XXXX" typed to its last digit is code.
TEST_F(KeptCodes, EditingNeitherMakesNorClearsCodeText) {
  EditorRichEdit& edit = dialog.m_richEdit;
  Trip("a\\S1/2;");
  edit.SetSel(7, 7);  // behind the stack
  Type("b");
  EXPECT_BYTES_EQ(std::string("{{{\\H2.5;a}}{{\\H2.5;\\S1/2;}}{{\\H2.5;b}}}"), Written());

  edit.SetSel(0, -1);
  edit.SetFaceName("Arial");
  EXPECT_EQ((std::vector<std::string>{"\\S1/2;"}), Marked()) << "the face went to the text only";
  EXPECT_BYTES_EQ(std::string("{{\\fArial|c0|b0|i0;{\\H2.5;a}}{\\fArial|c0|b0|i0;{\\H2.5;\\S1/2;}}"
                              "{\\fArial|c0|b0|i0;{\\H2.5;b}}}"),
                  Written());

  Trip("x");
  edit.SetSel(1, 1);
  Type("\\U+00D8 \\\\U+00D9");
  EXPECT_EQ((std::vector<std::string>{"\\U+00D8"}), Marked()) << "the second was typed behind a typed backslash";

  // A backslash that ended the text, with text typed behind it, is a backslash of the text.
  Trip("a\\");
  edit.SetSel(2, 2);
  Type("b");
  EXPECT_BYTES_EQ(std::string("{{{\\H2.5;a}}{{\\H2.5;\\\\}}{{\\H2.5;b}}}"), Written());

  Trip("\\A1;x");
  ::OpenClipboard(edit.m_hWnd);
  ::EmptyClipboard();
  const char pasted[] = "p\\U+00D8";
  HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
  std::memcpy(::GlobalLock(data), pasted, sizeof pasted);
  ::GlobalUnlock(data);
  ::SetClipboardData(CF_TEXT, data);
  ::CloseClipboard();
  edit.SetSel(4, 4);  // at the end of the marked alignment code
  edit.LimitedPaste();
  EXPECT_EQ((std::vector<std::string>{"\\A1;", "\\U+00D8"}), Marked());
}

// A true colour reaches the runs in the colour they had when it was loaded: text the user gives
// another colour is in that colour, no longer in the true colour.
TEST_F(KeptCodes, ARecolouredRunLeavesTheTrueColour) {
  EditorRichEdit& edit = dialog.m_richEdit;
  Trip("\\C1;a\\c0;bc");
  edit.SetSel(6, 7);  // "c", behind "a", the code text and "b"
  CHARFORMAT format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_COLOR;
  format.crTextColor = RGB(0, 0, 255);
  edit.SetSelectionCharFormat(format);
  EXPECT_BYTES_EQ(std::string("{{{\\H2.5\\C1;a}}\\c0;{{\\H2.5\\C1;\\c0;b}}{{\\H2.5\\C5;c}}}"), Written());
}

// The characters outside code page 1251 of a text, as the host reads them: the code points of
// its "\U+XXXX" codes in order (a literal backslash before one makes it text).
std::vector<long> CharactersOutsideTheCodePage(const std::string& mtext) {
  std::vector<long> found;
  for (const auto& token : qhost::mtext::Tokenize(mtext)) {
    if (token.kind != qhost::mtext::TokenKind::kUnicode) continue;
    if (!keptcodes::Cp1251Byte(static_cast<unsigned>(token.value))) found.push_back(static_cast<long>(token.value));
  }
  return found;
}

// Over the corpus, the host reads the same characters outside the code page in what the editor
// writes back as in the original, and every marked stretch as codes.
TEST_F(KeptCodes, TheHostReadsTheSameCharactersOutsideTheCodePage) {
  REQUIRE_SHARED_DIR(dir);
  std::istringstream in(testsupport::ReadFile(dir + "/corpus/mtext_strings.txt"));
  int withCodes = 0;
  for (std::string line; std::getline(in, line);) {
    std::string mtext;
    ASSERT_TRUE(qhost::Utf8ToCp1251(line, mtext));
    const std::vector<long> original = CharactersOutsideTheCodePage(mtext);
    withCodes += !original.empty();
    EXPECT_EQ(original, CharactersOutsideTheCodePage(Trip(mtext))) << testsupport::Readable(mtext);
    for (const std::string& stretch : Marked()) {
      // A backslash that ends the text is a character to the host; it is marked only so that it
      // comes back at the end.
      if (stretch == "\\") continue;
      for (const auto& token : qhost::mtext::Tokenize(stretch)) {
        EXPECT_NE(qhost::mtext::TokenKind::kText, token.kind) << testsupport::Readable(stretch);
      }
    }
  }
  EXPECT_GT(withCodes, 20) << "the corpus holds such characters";
}

TEST_F(KeptCodes, ABrokenCodeIsWrittenAsText) {
  // The ";" of a stack deleted: the rest no longer reads as a complete code.
  Trip("a\\S1/2;b");
  dialog.m_richEdit.SetSel(6, 7);
  dialog.m_richEdit.ReplaceSel("");
  EXPECT_BYTES_EQ(std::string("{{{\\H2.5;a}}{{\\H2.5;\\\\S1/2}}{{\\H2.5;b}}}"), Written());
  // A marked brace whose partner is gone is a literal brace.
  Trip("{\\A1;x}y");
  dialog.m_richEdit.SetSel(0, 1);
  dialog.m_richEdit.ReplaceSel("");
  EXPECT_BYTES_EQ(std::string("{\\A1;{{\\H2.5;x}}\\}{{\\H2.5;y}}}"), Written());
}

}  // namespace
