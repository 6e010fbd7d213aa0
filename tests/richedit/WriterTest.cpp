// Text typed and formatted in the control, streamed out and converted by the MText writer.
#include "EngineFixture.h"
#include "converter/MTextRtfConverter.h"
#include "host/HostColors.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace qplatform;

namespace {

std::string ToMText(const std::string& rtf) {
  HostColors colors;
  MTextRtfConverter converter(colors);
  const CString mtext = converter.RtfToMText(CString(rtf.data(), static_cast<int>(rtf.size())));
  return std::string(mtext.GetString(), mtext.GetLength());
}

}  // namespace

TEST(RichEditToMText, TypedAndFormattedTextConvertsToTheExpectedMText) {
  struct Case {
    const char* name;
    std::function<void(EngineFixture&)> edit;
    std::string mtext;
  };
  const std::vector<Case> cases = {
      // As the editor formats: a face with its character set and family, a size, a colour.
      {"one bold run",
       [](EngineFixture& f) {
         TypeText(f.send, "Hello");
         Format(f, 0, -1, FaceFormat("Arial", 204, 0x22));
         Format(f, 0, -1, SizeFormat(200));
         Format(f, 0, -1, ColorFormat(RGB(255, 0, 0)));
         Format(f, 0, -1, MakeCharFormat(CFM_BOLD, CFE_BOLD));
       },
       "{{\\fArial|c204|p34|b1|i0;{\\H1.7\\C1;Hello}}}"},
      {"two paragraphs, italic and underlined",
       [](EngineFixture& f) {
         TypeText(f.send, "One\nTwo");
         Format(f, 0, -1, FaceFormat("Arial", 204, 0x22));
         Format(f, 0, -1, SizeFormat(300));
         Format(f, 0, 5, ColorFormat(RGB(255, 0, 0)));
         Format(f, 0, 5, MakeCharFormat(CFM_BOLD, CFE_BOLD));
         Format(f, 5, 8, ColorFormat(RGB(0, 255, 0)));
         Format(f, 5, 8, MakeCharFormat(CFM_ITALIC | CFM_UNDERLINE, CFE_ITALIC | CFE_UNDERLINE));
       },
       "{{\\fArial|c204|p34|b1|i0;{\\H2.5\\C1;One\\P}}{\\fArial|c204|p34|b0|i1;{\\H2.5\\C3;\\LTwo}\\l}}"},
      // Cyrillic text, a tab and the typographic quotes pass as bytes.
      {"code page 1251 text",
       [](EngineFixture& f) {
         TypeText(f.send, "\xCF\xF0\xE8\x93\t\x94");
         Format(f, 0, -1, FaceFormat("Times New Roman", 204, 0x12));
         Format(f, 0, -1, SizeFormat(240));
         Format(f, 0, -1, ColorFormat(RGB(0, 0, 255)));
       },
       "{{\\fTimes New Roman|c204|p18|b0|i0;{\\H2.0\\C5;\xCF\xF0\xE8\x93\t\x94}}}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineFixture f;
    c.edit(f);
    const std::string rtf = StreamOutRtf(f.send);
    SCOPED_TRACE("rtf: " + testsupport::Readable(rtf));
    EXPECT_BYTES_EQ(c.mtext, ToMText(rtf));
  }
}
