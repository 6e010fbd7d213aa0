// Builds streams in the control's dialect: font and colour tables, run headers, paragraph marks.
#include "converter/reference/RtfDocuments.h"

#include <cstdio>

namespace rtfdocs {

namespace {

std::string Word(const char* name, int value) { return std::string("\\") + name + std::to_string(value); }

std::string RunHeader(const Format& f) {
  std::string h = "\\plain" + Word("f", f.font) + Word("fs", f.size);
  if (f.color >= 0) h += Word("cf", f.color);
  if (f.bold) h += "\\b";
  if (f.italic) h += "\\i";
  if (f.underline) h += "\\ul";
  return h + " ";
}

}  // namespace

int Document::AddFont(const Font& font) {
  m_fonts.push_back(font);
  return static_cast<int>(m_fonts.size()) + 1;
}

int Document::AddColor(const Color& color) {
  m_colors.push_back(color);
  return static_cast<int>(m_colors.size());
}

std::string EscapeText(const std::string& text) {
  static const char* const kWords[] = {"lquote", "rquote", "ldblquote", "rdblquote", "bullet", "endash", "emdash"};
  std::string out;
  for (char c : text) {
    unsigned char b = static_cast<unsigned char>(c);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (b >= 0x91 && b <= 0x97) {
      out += std::string("\\") + kWords[b - 0x91] + " ";
    } else if (b >= 0x80) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", b);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Document::Rtf() const {
  std::string rtf = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}";
  for (size_t k = 0; k < m_fonts.size(); ++k) {
    const Font& f = m_fonts[k];
    rtf += "{" + Word("f", static_cast<int>(k) + 2) + "\\" + f.family;
    if (f.charset) rtf += Word("fcharset", f.charset);
    rtf += " " + EscapeText(f.name) + ";}";
  }
  rtf += "}\r\n{\\colortbl\\red0\\green0\\blue0;";
  for (const Color& c : m_colors) rtf += Word("red", c.red) + Word("green", c.green) + Word("blue", c.blue) + ";";
  rtf += "}\r\n\\deflang1049\\pard";
  const Format* last = nullptr;
  for (const Run& run : m_runs) {
    if (!last || !(*last == run.format)) rtf += RunHeader(run.format);
    last = &run.format;
    for (char c : run.text) rtf += c == '\n' ? std::string("\r\n\\par ") : EscapeText(std::string(1, c));
  }
  if (m_runs.empty()) rtf += RunHeader(Format{});
  return rtf + "\r\n\\par }\r\n";
}

std::string SizedDocument(size_t bytes, int runs, bool cyrillic, unsigned seed) {
  static const char* const kLatin[] = {"lorem", "ipsum", "dolor", "sit", "amet", "text", "height", "layer", "drawing"};
  // Cyrillic words in code page 1251: every letter is one \'hh escape in the stream.
  static const char* const kCyrillic[] = {"\xF2\xE5\xEA\xF1\xF2", "\xF7\xE5\xF0\xF2\xE5\xE6", "\xF1\xEB\xEE\xE9",
                                          "\xE2\xFB\xF1\xEE\xF2\xE0", "\xF8\xF0\xE8\xF4\xF2", "\xEB\xE8\xED\xE8\xFF"};
  std::mt19937 rng(seed);
  Document doc;
  int arial = doc.AddFont({"fswiss", 204, "Arial"});
  int times = doc.AddFont({"froman", 204, "Times New Roman"});
  int red = doc.AddColor({255, 0, 0});
  int blue = doc.AddColor({0, 0, 255});
  const int fonts[] = {arial, times, 0};
  const int colors[] = {-1, red, blue, 0};
  // Each run gets an equal share of the text. The tables and the run headers (about 22 bytes
  // each) count towards the size; a stream of many runs is at least as long as its headers and
  // a word for each run.
  std::string text;
  size_t streamBytes = 200 + 22 * static_cast<size_t>(runs);
  int sinceParagraph = 0;
  for (int written = 0; streamBytes < bytes || written < runs; ++written) {
    const auto& words = cyrillic ? kCyrillic : kLatin;
    size_t count = cyrillic ? std::size(kCyrillic) : std::size(kLatin);
    std::string word = words[rng() % count];
    text += word + ' ';
    streamBytes += (cyrillic ? 4 * word.size() : word.size()) + 1;
    if (++sinceParagraph == 40) {
      text += '\n';
      streamBytes += 7;
      sinceParagraph = 0;
    }
  }
  size_t share = text.size() / static_cast<size_t>(runs) + 1;
  for (int r = 0; r < runs; ++r) {
    Format f;
    f.font = fonts[r % 3];
    f.size = 20 + 2 * (r % 5);
    f.color = colors[r % 4];
    f.bold = r % 2 == 1;
    f.italic = r % 3 == 1;
    f.underline = r % 5 == 2;
    size_t from = static_cast<size_t>(r) * share;
    doc.Add(f, from < text.size() ? text.substr(from, share) : std::string());
  }
  return doc.Rtf();
}

std::string RandomDocument(std::mt19937& rng, int maxRuns) {
  static const char* const kPieces[] = {
      "Hello", " ", "  ", "\t", "\n", "\xE0\xE1\xE2", "\x91", "\x93quoted\x94", "\x96", "\x97", "\x95", "\\",
      "{", "}", "\\par ", "cf1", "C7; ", "//__", "\xB7", "f2", "\\ql", "x\\'e0", "0", "12"};
  Document doc;
  int fonts = static_cast<int>(rng() % 4);
  const char* families[] = {"fswiss", "froman", "fmodern", "fscript", "fdecor", "fnil"};
  // Names that begin with a font number make chains of references.
  const char* names[] = {"Arial", "Times New Roman", "Courier New", "3D Font", "4 Corners", "5"};
  for (int k = 0; k < fonts; ++k) doc.AddFont({families[rng() % 6], static_cast<int>(rng() % 3) * 102, names[rng() % 6]});
  int colors = static_cast<int>(rng() % 4);
  for (int k = 0; k < colors; ++k) {
    int channel[] = {0, 127, 255, 38};
    doc.AddColor({channel[rng() % 4], channel[rng() % 4], channel[rng() % 4]});
  }
  int runs = 1 + static_cast<int>(rng() % static_cast<unsigned>(maxRuns));
  for (int r = 0; r < runs; ++r) {
    Format f;
    f.font = fonts ? static_cast<int>(rng() % static_cast<unsigned>(fonts + 2)) : 0;
    if (f.font == 1) f.font = 0;
    f.size = static_cast<int>(8 + rng() % 40);
    f.color = static_cast<int>(rng() % static_cast<unsigned>(colors + 2)) - 1;
    f.bold = rng() % 2;
    f.italic = rng() % 3 == 0;
    f.underline = rng() % 4 == 0;
    std::string text;
    int pieces = static_cast<int>(rng() % 6);
    for (int p = 0; p < pieces; ++p) text += kPieces[rng() % std::size(kPieces)];
    doc.Add(f, text);
  }
  return doc.Rtf();
}

}  // namespace rtfdocs
