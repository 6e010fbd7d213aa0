// MText contents of any size in the two shapes that made MTextToRtf grow worst: realistic mixed
// contents, and contents of nothing but paragraph breaks and relative-height groups. The scaling
// benchmark measures them; MTextToRtf's tests hold its output on them.
#pragma once

#include <cstddef>
#include <string>

namespace mtextshapes {

inline const char* const kWords[] = {"drawing", "\xf7\xe5\xf0\xf2\xe5\xe6", "layer", "\xf2\xe5\xea\xf1\xf2", "scale",
                                     "1:100",   "\xeb\xe8\xf1\xf2",         "note",  "\xf0\xe0\xe7\xec\xe5\xf0", "A-3"};

// The host's codes as drawings hold them: fonts with flags, heights absolute and relative,
// colours, underline, groups inside font groups, paragraph breaks, stacks and escapes.
inline const char* const kMixedCodes[] = {"\\fArial|b0|i0|c204|p34;", "{\\H2.5;", "{\\C1;", "} ", "\\P",
                                          "{\\fTimes New Roman|b1|i0|c204|p18;{\\C3;", "}} ", "\\H0.8x;", "\\L",
                                          "\\l", "{\\H1.5x;\\C5;", "} ", "\\S1/2;", "\\~", "%%d", "\\\\"};

inline std::string Mixed(size_t bytes) {
  std::string m;
  for (size_t n = 0; m.size() < bytes; ++n) {
    if (n % 3 == 0) m += kMixedCodes[(n / 3) % (sizeof kMixedCodes / sizeof *kMixedCodes)];
    m += kWords[n % 10];
    m += ' ';
  }
  return m;
}

// "{\H1.5x;words}\Pwords\P..." and nothing else.
inline std::string BreaksAndHeights(size_t bytes) {
  std::string m;
  for (size_t n = 0; m.size() < bytes; ++n) {
    m += n % 2 ? "\\P" : "{\\H1.5x;";
    m += kWords[n % 10];
    m += ' ';
    m += kWords[(n + 3) % 10];
    if (n % 2 == 0) m += "}";
  }
  return m;
}

}  // namespace mtextshapes
