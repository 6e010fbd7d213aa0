// Documents in the rich edit control's RTF dialect, built from runs: for tests, benchmarks and
// fuzz seeds that need the control's exact bytes without a control.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace rtfdocs {

struct Font {
  std::string family;  // "fswiss", "froman", ... as written after \fN
  int charset;         // 0: no \fcharset word
  std::string name;
};

struct Color {
  int red, green, blue;
};

struct Format {
  int font = 0;     // 0 is the control's default font; 2 and up index the added fonts
  int size = 17;    // half-points
  int color = -1;   // -1: automatic colour (no \cf)
  bool bold = false, italic = false, underline = false;
  bool operator==(const Format& o) const {
    return font == o.font && size == o.size && color == o.color && bold == o.bold && italic == o.italic &&
           underline == o.underline;
  }
};

struct Run {
  Format format;
  std::string text;  // code page 1251 bytes; '\n' is a paragraph mark, '\t' a tab
};

class Document {
 public:
  // Returns the RTF font number (2, 3, ...).
  int AddFont(const Font& font);
  // Returns the RTF colour number (1, 2, ...); colour 0 is black.
  int AddColor(const Color& color);
  void Add(const Format& format, const std::string& text) { m_runs.push_back({format, text}); }
  // The whole stream as the control writes it, CR LF included.
  std::string Rtf() const;

 private:
  std::vector<Font> m_fonts;
  std::vector<Color> m_colors;
  std::vector<Run> m_runs;
};

// The text escapes of the dialect: \\ \{ \}, \'hh for bytes from 0x80 (lowercase), the seven
// character words, \tab for a tab.
std::string EscapeText(const std::string& text);

// A document of about `bytes` bytes of stream (or as long as the headers of its runs need) with
// `runs` runs (at least one), Latin or Cyrillic text, paragraphs every forty words; the same seed
// gives the same bytes.
std::string SizedDocument(size_t bytes, int runs, bool cyrillic, unsigned seed = 1);

// A document of random runs over a few fonts and colours, with random texts that include the
// bytes and words RtfToMText treats specially.
std::string RandomDocument(std::mt19937& rng, int maxRuns);

}  // namespace rtfdocs
