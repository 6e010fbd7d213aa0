#include "ReaderSupport.h"
#include <cstdio>
#include "support/Bytes.h"
TEST(Scratch, Print) {
  const char* cases[] = {
   "{{\\fArial|c204|p34|b1|i0;{\\H2.5\\C1;Hello\\P}}}",
   "{{\\fArial|c204|p34|b0|i1;{\\H1.6\\C256;\\LA\\l}}{\\fTimes New Roman|c204|p18|b0|i0;{\\H2.0\\C7;B\\P}}}",
   "{{\\fSymbol|b0|i0;{\\H2.5\\C0;a}}}",
   "{{\\fArial|c204|p34|b0|i0;{\\H2.5\\C139;x}}}",
   "{{{\\H2.5\\C7;plain \\\\P text}}}",
   "{{\\fArial|c204|p34|b0|i0;{\\H10\\C3;y}}}",
   "\\fArial|b1|i0|c204|p34;A\\fArial|b0|i0|c204|p34;B",
   "\\Ftxt.shx;abc\\H2;d", "\\Ftxt.shx;abc", "\\fArial;abc", "a\\fArial", "\\C1;x\\C12;y", "\\C0;z", "text",
   "a\\\\Pb", "\\{x\\}", "\\Lword\\l", "{{\\L x}}",
   "{\\C1;a}{\\C2;b}c", "{\\H2;a}}}", "x}}", "a\\H0.5x;b\\H2x;c", "a\\H0.5x;b\\H3;c\\H2x;d",
   "\\C3;\\fA;x\\fB;y", "\\C12;\\fA;x\\fB;y", "\\fA;\\H2;x\\fB;y", "\\fA;z\\H2;x", "\\fA;x\\fB;y\\H1;", "\\fA;x\\fB;\\C1;y",
   "{\\fArial;\\H2;x}", "\\C2;\\fArial", "abc\\H", "{\\C1;a} b {\\C2;c} b", "\\H2.5;a{\\H1.5;b}c",
  };
  for (auto c : cases) {
    std::string a = readertest::Read(c);
    std::string body = a.substr(a.find("}}") + 2);
    printf("%s\n  %s\n", c, testsupport::Readable(body).c_str());
  }
}
