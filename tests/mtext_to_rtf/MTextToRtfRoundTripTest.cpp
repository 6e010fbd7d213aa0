// The round trip of RtfToMText's own contents: MText -> MTextToRtf's RTF -> the control ->
// RtfToMText -> the same MText. Until the control exists, each case pins MTextToRtf's document and
// the stream the control writes for it (in its dialect: same runs, fonts, sizes and colours),
// and checks that RtfToMText turns that stream back into the contents.
#include <string>
#include <vector>

#include "MTextToRtfFixture.h"
#include "converter/MTextRtfConverter.h"
#include "host/HostColors.h"
#include "support/Bytes.h"

namespace {

const std::string kReaderHead = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}";
const std::string kStreamHead =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}";

struct RoundTrip {
  const char* mtext;
  std::string rtf;     // MTextToRtf(mtext) at base height 2.5
  std::string stream;  // what the control streams out after reading rtf
  const char* back;    // RtfToMText(stream): mtext itself but for the mapped colours below
};

std::string WriterOf(const std::string& stream) {
  HostColors colors;
  MTextRtfConverter converter(colors);
  CString mtext = converter.RtfToMText(CString(stream.data(), static_cast<int>(stream.size())));
  return std::string(mtext.GetString(), static_cast<size_t>(mtext.GetLength()));
}

const std::vector<RoundTrip> kRoundTrips = {
    // Bold Arial, 2.5 units (30 half-points), red.
    {"{{\\fArial|c204|p34|b1|i0;{\\H2.5\\C1;Hello}}}",
     kReaderHead + "{\\f1\\fswiss\\fcharset204 Arial;}}{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"
                   "{{\\f1\\b {\\fs30\\cf1 Hello}}}",
     kStreamHead + "{\\f2\\fswiss\\fcharset204 Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
                   "\\deflang1049\\pard\\plain\\f2\\fs30\\cf1\\b Hello\r\n\\par }\r\n",
     "{{\\fArial|c204|p34|b1|i0;{\\H2.5\\C1;Hello}}}"},
    // Two runs: italic underlined Arial by layer, then Times New Roman in colour 7.
    {"{{\\fArial|c204|p34|b0|i1;{\\H1.6\\C256;\\LA\\l}}{\\fTimes New Roman|c204|p18|b0|i0;{\\H2.0\\C7;B}}}",
     kReaderHead + "{\\f1\\fswiss\\fcharset204 Arial;}{\\f2\\froman\\fcharset204 Times New Roman;}}"
                   "{\\colortbl\\red0\\green0\\blue0;\\red19\\green38\\blue38;\\red255\\green255\\blue255;}"
                   "{{\\f1\\i {\\fs19\\cf1 \\ul A\\ulnone }}{\\f2 {\\fs24\\cf2 B}}}",
     kStreamHead + "{\\f2\\fswiss\\fcharset204 Arial;}{\\f3\\froman\\fcharset204 Times New Roman;}}\r\n"
                   "{\\colortbl\\red0\\green0\\blue0;\\red19\\green38\\blue38;\\red255\\green255\\blue255;}\r\n"
                   "\\deflang1049\\pard\\plain\\f2\\fs19\\cf1\\i\\ul A\\plain\\f3\\fs24\\cf2 B\r\n\\par }\r\n",
     "{{\\fArial|c204|p34|b0|i1;{\\H1.6\\C256;\\LA\\l}}{\\fTimes New Roman|c204|p18|b0|i0;{\\H2.0\\C7;B}}}"},
    // The Symbol font is the control's font 1.
    {"{{\\fSymbol|b0|i0;{\\H2.5\\C1;a}}}",
     kReaderHead + "{\\f1 Symbol;}}{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}{{\\f1 {\\fs30\\cf1 a}}}",
     kStreamHead + "}\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
                   "\\deflang1049\\pard\\plain\\f1\\fs30\\cf1 a\r\n\\par }\r\n",
     "{{\\fSymbol|b0|i0;{\\H2.5\\C1;a}}}"},
    // Text in the control's default font carries no font code.
    {"{{{\\H2.5\\C1;plain}}}",
     kReaderHead + "}{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}{{{\\fs30\\cf1 plain}}}",
     kStreamHead + "}\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
                   "\\deflang1049\\pard\\plain\\f0\\fs30\\cf1 plain\r\n\\par }\r\n",
     "{{{\\H2.5\\C1;plain}}}"},
    // Heights of 10 and 1.7 units (120 and 20 half-points), two paragraphs, Cyrillic text.
    {"{{\\fArial|c204|p34|b0|i0;{\\H10.0\\C3;\xcf\xf0\xe8\\P}}{\\fArial|c204|p34|b1|i0;{\\H1.7\\C3;z}}}",
     kReaderHead + "{\\f1\\fswiss\\fcharset204 Arial;}}{\\colortbl\\red0\\green0\\blue0;\\red0\\green255\\blue0;}"
                   "{{\\f1 {\\fs120\\cf1 \xcf\xf0\xe8\\par }}{\\f1\\b {\\fs20\\cf1 z}}}",
     kStreamHead + "{\\f2\\fswiss\\fcharset204 Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;\\red0\\green255\\blue0;}\r\n"
                   "\\deflang1049\\pard\\plain\\f2\\fs120\\cf1 \\'cf\\'f0\\'e8\r\n\\par \\plain\\f2\\fs20\\cf1\\b z\r\n\\par }\r\n",
     "{{\\fArial|c204|p34|b0|i0;{\\H10.0\\C3;\xcf\xf0\xe8\\P}}{\\fArial|c204|p34|b1|i0;{\\H1.7\\C3;z}}}"},
    // Escaped braces and a typed backslash-P stay text all the way.
    {"{{\\fArial|c204|p34|b0|i0;{\\H2.5\\C1;\\{x\\} \\\\P}}}",
     kReaderHead + "{\\f1\\fswiss\\fcharset204 Arial;}}{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"
                   "{{\\f1 {\\fs30\\cf1 \\{x\\} \\\\P}}}",
     kStreamHead + "{\\f2\\fswiss\\fcharset204 Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
                   "\\deflang1049\\pard\\plain\\f2\\fs30\\cf1 \\{x\\} \\\\P\r\n\\par }\r\n",
     "{{\\fArial|c204|p34|b0|i0;{\\H2.5\\C1;\\{x\\} \\\\P}}}"},
    // By block is shown next to white and comes back as by block; colour 139 is the colour that
    // by layer is shown in, and comes back as 256.
    {"{{\\fArial|c204|p34|b0|i0;{\\H2.5\\C0;x}}}",
     kReaderHead + "{\\f1\\fswiss\\fcharset204 Arial;}}{\\colortbl\\red0\\green0\\blue0;\\red254\\green254\\blue254;}"
                   "{{\\f1 {\\fs30\\cf1 x}}}",
     kStreamHead +
         "{\\f2\\fswiss\\fcharset204 Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;\\red254\\green254\\blue254;}\r\n"
                   "\\deflang1049\\pard\\plain\\f2\\fs30\\cf1 x\r\n\\par }\r\n",
     "{{\\fArial|c204|p34|b0|i0;{\\H2.5\\C0;x}}}"},
    {"{{\\fArial|c204|p34|b0|i0;{\\H2.5\\C139;x}}}",
     kReaderHead + "{\\f1\\fswiss\\fcharset204 Arial;}}{\\colortbl\\red0\\green0\\blue0;\\red19\\green38\\blue38;}"
                   "{{\\f1 {\\fs30\\cf1 x}}}",
     kStreamHead + "{\\f2\\fswiss\\fcharset204 Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;\\red19\\green38\\blue38;}\r\n"
                   "\\deflang1049\\pard\\plain\\f2\\fs30\\cf1 x\r\n\\par }\r\n",
     "{{\\fArial|c204|p34|b0|i0;{\\H2.5\\C256;x}}}"},
};

}  // namespace

TEST(MTextToRtfRoundTrip, WritersContentsComeBack) {
  for (const RoundTrip& c : kRoundTrips) {
    SCOPED_TRACE(testsupport::Readable(c.mtext));
    EXPECT_BYTES_EQ(c.rtf, mtext_to_rtf_test::Read(c.mtext));
    EXPECT_BYTES_EQ(c.back, WriterOf(c.stream));
  }
}
