// RtfToMText: the rich edit control's RTF document in, MText contents out. Each pass is
// one named step; each runs in one or a few sweeps over the text, giving the bytes that the
// passes give when every replacement rebuilds the whole string.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "converter/KeptCodes.h"
#include "converter/MTextRtfConverter.h"
#include "converter/RtfToMTextWords.h"
#include "converter/TextHelpers.h"

namespace {

using detail::ToCString;
using detail::View;
using std::string;
using std::string_view;
constexpr size_t npos = string_view::npos;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

string Number(long value) { return std::to_string(value); }

// The number whose decimal digits are `digits` exactly as "%i" writes it (no sign, no leading
// zero), or -1.
long CanonicalNumber(string_view digits, long limit) {
  if (digits.empty() || digits.size() > 9 || (digits[0] == '0' && digits.size() > 1)) return -1;
  long value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value < limit ? value : -1;
}

size_t DigitsEnd(string_view text, size_t from) {
  while (from < text.size() && IsDigit(text[from])) ++from;
  return from;
}

int Atoi(string_view text) {
  string copy(text);
  long value = std::strtol(copy.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

// Every `prefix` + n whose number n is matched whole and lies in [first, last] becomes
// `prefix` + replacement(n), in one sweep.
template <typename Replacement>
string ReplaceNumbers(string_view text, string_view prefix, long first, long last, Replacement replacement) {
  string out;
  out.reserve(text.size() + text.size() / 4);
  size_t from = 0;
  for (size_t hit = detail::Find(text, prefix); hit != npos; hit = detail::Find(text, prefix, hit + 1)) {
    size_t digits = hit + prefix.size();
    size_t end = DigitsEnd(text, digits);
    long n = CanonicalNumber(text.substr(digits, end - digits), last + 1);
    if (n < first) continue;
    out.append(text, from, digits - from);
    out += replacement(n);
    from = end;
    hit = end - 1;
  }
  out.append(text, from, npos);
  return out;
}

// The font references: descriptor k replaces "\f" k+2, font by font. What a replacement
// inserts can make a new reference for a later font: a descriptor that begins with digits
// makes "\f" and those digits one (a chain, followed here directly), and one that holds "\f"
// and a digit or ends with a backslash can make one anywhere (such a font gets a sweep of its
// own). All other fonts go together in one sweep, which then gives the same text.
string PutFontNames(string text, const CStringArray& descriptors) {
  const int n = descriptors.GetSize();
  auto makesReferencesAnywhere = [&](int k) {
    string_view d = View(descriptors[k]);
    for (size_t at = d.find("\\f"); at != npos; at = d.find("\\f", at + 1)) {
      if (at + 2 < d.size() && IsDigit(d[at + 2])) return true;
    }
    return !d.empty() && d.back() == '\\';
  };
  for (int first = 0; first < n;) {
    int last = first;
    if (!makesReferencesAnywhere(first)) {
      while (last + 1 < n && !makesReferencesAnywhere(last + 1)) ++last;
    }
    // What follows "\f" once font j (j - 2 in [first, last]) and the chain it starts are done.
    std::map<long, string> done;
    auto replacement = [&](long j) -> const string& {
      auto known = done.find(j);
      if (known != done.end()) return known->second;
      std::vector<string_view> tails;
      long font = j;
      for (;;) {
        string_view d = View(descriptors[static_cast<int>(font - 2)]);
        size_t digits = DigitsEnd(d, 0);
        long next = CanonicalNumber(d.substr(0, digits), last + 3);
        if (next - 2 <= font - 2) {
          string result(d);
          for (auto tail = tails.rbegin(); tail != tails.rend(); ++tail) result += *tail;
          return done[j] = std::move(result);
        }
        tails.push_back(d.substr(digits));
        font = next;
      }
    };
    text = ReplaceNumbers(text, "\\f", first + 2, last + 2, replacement);
    first = last + 1;
  }
  return text;
}

// The colour references: colour k's "cf" k becomes "C" code ";", which takes the place of the
// space that ended the control word. Text that spells a colour code keeps its spaces.
string PutColorCodes(string_view text, const CStringArray& codes) {
  const int n = codes.GetSize();
  string out;
  out.reserve(text.size() + text.size() / 8);
  size_t i = 0;
  while (i < text.size()) {
    size_t hit = text.find("cf", i);
    if (hit == npos) break;
    out.append(text, i, hit - i);
    size_t end = DigitsEnd(text, hit + 2);
    long k = CanonicalNumber(text.substr(hit + 2, end - hit - 2), n);
    if (k < 0) {
      out += 'c';
      i = hit + 1;
      continue;
    }
    out += 'C';
    out += View(codes[static_cast<int>(k)]);
    out += ';';
    i = end < text.size() && text[end] == ' ' ? end + 1 : end;
  }
  out.append(text, std::min(i, text.size()), npos);
  return out;
}

// For each skip list, where its backslashes stand, by the byte after the backslash, so that a
// candidate is compared only with the few words that begin like it.
class SkipListIndex {
 public:
  SkipListIndex() {
    for (const auto& list : rtf_to_mtext_words::kSkipLists) {
      string_view words = list.words;
      m_words.push_back(words);
      auto& starts = m_starts.emplace_back();
      for (size_t q = words.find('\\'); q != npos && q + 1 < words.size(); q = words.find('\\', q + 1)) {
        starts[static_cast<unsigned char>(words[q + 1])].push_back(q);
        m_listsByByte[static_cast<unsigned char>(words[q + 1])] |= 1u << (m_words.size() - 1);
      }
    }
  }
  // The lists holding a word whose first letter is `letter`, one bit per list.
  unsigned ListsFor(char letter) const { return m_listsByByte[static_cast<unsigned char>(letter)]; }
  // Whether `candidate` occurs in skip list `list`. After a removal at the same position the
  // candidate need not begin with a backslash any more.
  bool Contains(size_t list, string_view candidate) const {
    string_view words = m_words[list];
    if (candidate.size() < 2 || candidate[0] != '\\') return words.find(candidate) != npos;
    for (size_t q : m_starts[list][static_cast<unsigned char>(candidate[1])]) {
      if (q + candidate.size() > words.size()) continue;
      if (candidate.size() > 2 && words[q + 2] != candidate[2]) continue;  // most words part here
      if (words.compare(q, candidate.size(), candidate) == 0) return true;
    }
    return false;
  }

 private:
  std::vector<string_view> m_words;
  std::vector<std::array<std::vector<size_t>, 256>> m_starts;
  std::array<unsigned, 256> m_listsByByte{};
};

// next[p]: the first position at or after p where `marker` begins, or -1.
std::vector<long> NextOccurrences(string_view text, string_view marker) {
  std::vector<long> next(text.size() + 2, -1);
  for (size_t p = text.size() + 1; p-- > 0;) {
    bool here = p + marker.size() <= text.size() && text.compare(p, marker.size(), marker) == 0;
    next[p] = here ? static_cast<long>(p) : (p + 1 < next.size() ? next[p + 1] : -1);
  }
  return next;
}

// TextBetween over text[i..], with the markers' first occurrences looked up.
class TailReader {
 public:
  explicit TailReader(string_view text) : m_text(text) {}
  string_view Between(size_t i, const std::vector<long>& starts, size_t startLength,
                      const std::vector<long>& ends) const {
    long s = starts[i] < 0 ? -1 : starts[i] - static_cast<long>(i);
    long endAt = ends[static_cast<size_t>(static_cast<long>(i) + s + 1)];
    long e = endAt < 0 ? -1 : endAt - static_cast<long>(i);
    return detail::TextBetweenFound(m_text.substr(i), s, startLength, e, false);
  }

 private:
  string_view m_text;
};

// ReplaceAll in place; most patterns of a run are absent, and then nothing is copied. The
// spare buffer is reused from replacement to replacement.
void Replace(string& text, string_view pattern, string_view replacement, string& spare) {
  if (detail::Find(text, pattern) == npos) return;
  detail::ReplaceAllInto(spare, text, pattern, replacement);
  text.swap(spare);
}

void Replace(string& text, string_view pattern, string_view replacement) {
  string spare;
  Replace(text, pattern, replacement, spare);
}

// The height text of each size text met so far: a document has few sizes and many runs. A size
// that shows a height of the loaded text gives that height as it was written.
class HeightTexts {
 public:
  HeightTexts(const KnownHeights& known, double halfPointsPerUnit) : m_known(known), m_halfPointsPerUnit(halfPointsPerUnit) {}
  const string& Of(const string& size) {
    auto found = m_texts.find(size);
    if (found != m_texts.end()) return found->second;
    long halfPoints = CanonicalNumber(size, INT_MAX);
    auto known = halfPoints >= 0 ? m_known.find(static_cast<int>(halfPoints)) : m_known.end();
    if (known != m_known.end()) return m_texts[size] = string(View(known->second));
    const double units = std::strtod(size.c_str(), nullptr) / m_halfPointsPerUnit;
    // At today's scale one decimal, rounded to the nearest, so that a height survives the way
    // back; at another the number as far as a half-point tells it.
    if (m_halfPointsPerUnit != kHalfPointsPerDrawingUnit) return m_texts[size] = detail::HeightNumber(RoundedToHalfPoint(units));
    CString height;
    height.Format("%.1f", std::strtod(size.c_str(), nullptr) * rtf_to_mtext_words::kUnitsPerHalfPoint);
    return m_texts[size] = string(View(height));
  }

 private:
  // Four significant digits: a half-point of a text shown at 12 points is a 24th of its height.
  static double RoundedToHalfPoint(double units) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", units);
    return std::strtod(text, nullptr);
  }
  const KnownHeights& m_known;
  double m_halfPointsPerUnit;
  std::map<string, string> m_texts;
};

// An escaped backslash of the control's RTF is a literal backslash of the text: it stands as
// this byte until the MText is made, so that no pass takes the letters behind it for a word.
constexpr char kLiteralBackslash = '\x01';
// Kept code text stands in the body as this byte, its number in letters a to p and the closing
// byte, until the passes over the joined body are done.
constexpr char kCodeOpen = '\x03';
constexpr char kCodeClose = '\x04';

string HideLiteralBackslashes(string_view rtf) {
  string out;
  out.reserve(rtf.size());
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\' && i + 1 < rtf.size() && rtf[i + 1] == '\\') {
      out += kLiteralBackslash;
      ++i;
    } else {
      out += rtf[i];
    }
  }
  return out;
}

// The code text of a marked run as the user sees it, or false when the run holds anything but
// characters and escaped backslashes and braces (a paragraph mark, a control word).
bool MarkedCode(string_view text, string& code) {
  code.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == kLiteralBackslash) {
      code += '\\';
    } else if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '{' || text[i + 1] == '}')) {
      code += text[++i];
    } else if (c == '\\' || c == kCodeOpen || c == kCodeClose) {
      return false;
    } else {
      code += c;
    }
  }
  return true;
}

// Every "\par " whose backslash is not escaped becomes "\P". When an odd number of backslashes
// stands before it, its backslash is escaped and the user typed backslash-par ("\\par "); when
// an even number does (none, or a typed backslash ending the paragraph: "\\\par "), it is the
// paragraph mark. A "//__" in the text still becomes "\\par ", as when it hid the user's own.
string ParagraphBreaks(string_view text) {
  constexpr string_view kPar = "\\par ";
  string out;
  size_t from = 0;
  for (size_t hit = detail::Find(text, kPar); hit != npos; hit = detail::Find(text, kPar, hit + kPar.size())) {
    if (detail::Escaped(text, hit)) continue;
    out.append(text, from, hit - from);
    out += "\\P";
    from = hit + kPar.size();
  }
  out.append(text, from, npos);
  Replace(out, "//__", "\\\\par ");
  return out;
}

// What the runs of one body share: the height texts, the buffers the passes reuse, the marked
// code met so far and the font of the last run of text.
struct RunWork {
  RunWork(const KnownHeights& known, double halfPointsPerUnit, int codeFont)
      : heights(known, halfPointsPerUnit), codeFont(codeFont) {}
  HeightTexts heights;
  string header, text, spare;
  long codeFont;
  std::vector<string> codes;
  string lastFont = "0";
  // A true-colour code (\c) kept as bare code, and the control colour of the first run behind
  // it; the marked groups around it keep the ones in force outside them.
  struct TrueColour {
    string code;
    string colour;
    bool colourSeen = false;
  };
  TrueColour trueColour;
  std::vector<TrueColour> trueColoursOutside;
};

CString ConvertRunText(string_view run, RunWork& work);

// The token that stands for kept code text in the body.
string CodeToken(RunWork& work, string code) {
  work.codes.push_back(std::move(code));
  return keptcodes::Token(kCodeOpen, work.codes.size() - 1, kCodeClose);
}

// A bare code as it reaches the true colour: a "\c" code sets it, a "\C" code clears it, a
// marked group keeps the one in force outside it.
void KeepTrueColour(const string& piece, RunWork& work) {
  if (piece == "{") {
    work.trueColoursOutside.push_back(work.trueColour);
  } else if (piece == "}" && !work.trueColoursOutside.empty()) {
    work.trueColour = std::move(work.trueColoursOutside.back());
    work.trueColoursOutside.pop_back();
  } else if (piece.compare(0, 2, "\\c") == 0) {
    work.trueColour = RunWork::TrueColour{piece, string(), false};
  } else if (piece.compare(0, 2, "\\C") == 0) {
    work.trueColour.code.clear();  // a colour code kept where it ended the true colour's reach
  }
}

// The true colour in force in front of a run of text: the run's colour code, which RtfToMText
// states in every run, would clear it, so it is stated again behind that code. It reaches the
// runs in the control colour of the first run behind it; a run in another colour had a colour
// code of its own in between (or the user gave it one), which cleared the true colour.
string TrueColourBehindColourCode(string_view header, RunWork& work) {
  RunWork::TrueColour& in = work.trueColour;
  if (in.code.empty()) return string();
  const size_t cf = header.find("\\cf");
  const string colour(cf == npos ? string_view() : header.substr(cf, DigitsEnd(header, cf + 3) - cf));
  if (!in.colourSeen) {
    in.colour = colour;
    in.colourSeen = true;
  }
  if (colour == in.colour) return CodeToken(work, in.code);
  in.code.clear();
  return string();
}

// The codes of one stretch of a marked run (no paragraph mark in it). Codes that stand where a
// character would are written inside a run group with the run's height and colour and the font
// of the text before them; the others bare, between the groups, so that their reach is what it
// was. A stretch that does not read as complete codes is written as the text it shows.
// A code that runs to the end of its stretch reads so only at the end of the text (`atEnd`, where
// only empty lines may follow); a backslash or caret only where nothing follows (`last`).
CString ConvertMarkedStretch(const string& asText, string_view text, bool atEnd, bool last, RunWork& work) {
  string code;
  std::vector<keptcodes::Piece> pieces;
  if (!MarkedCode(text, code) || !keptcodes::ReadsAsKeptCodes(code, pieces) ||
      (!last && pieces.back().kind == keptcodes::PieceKind::kLoneEnd) ||
      (!atEnd && keptcodes::NeedsTerminator(string_view(code).substr(pieces.back().begin)))) {
    return ConvertRunText(asText + string(text), work);
  }
  CString out;
  string inlineCodes;
  auto flush = [&] {
    if (inlineCodes.empty()) return;
    out += ConvertRunText(asText + CodeToken(work, inlineCodes), work);
    inlineCodes.clear();
  };
  for (const auto& p : pieces) {
    string piece = code.substr(p.begin, p.end - p.begin);
    if (keptcodes::NeedsTerminator(piece)) piece += ';';
    if (keptcodes::IsInline(p.kind)) {
      inlineCodes += piece;
      continue;
    }
    flush();
    KeepTrueColour(piece, work);
    out += ToCString(CodeToken(work, piece));
  }
  flush();
  return out;
}

// A run in the reserved face: its stretches of code, and its paragraph marks as a run of text.
CString ConvertMarkedRun(string_view header, string_view text, RunWork& work) {
  const string codeFont = "\\f" + std::to_string(work.codeFont);
  const size_t fontAt = header.find(codeFont);
  string asText(header.substr(0, fontAt));
  asText += "\\f" + work.lastFont;
  asText += header.substr(fontAt + codeFont.size());
  asText += ' ';
  // Closing braces that end the document stand behind the last paragraph mark: RTF syntax.
  size_t syntax = text.size();
  while (syntax > 0 && text[syntax - 1] == '}' && (syntax < 2 || text[syntax - 2] != '\\')) --syntax;
  const string_view closing = text.substr(syntax);
  text = text.substr(0, syntax);
  constexpr string_view kPar = "\\par ";
  CString out;
  size_t from = 0;
  // Whether only paragraph marks and the document's end follow a position.
  auto endFollows = [&](size_t at) {
    if (closing.empty()) return false;
    while (text.compare(at, kPar.size(), kPar) == 0) at += kPar.size();
    return at >= text.size();
  };
  for (size_t par = text.find(kPar); par != npos; par = text.find(kPar, from)) {
    if (par > from) out += ConvertMarkedStretch(asText, text.substr(from, par - from), endFollows(par), false, work);
    out += ConvertRunText(asText + string(kPar), work);
    from = par + kPar.size();
  }
  if (from < text.size()) out += ConvertMarkedStretch(asText, text.substr(from), !closing.empty(), !closing.empty(), work);
  return out + ToCString(closing);
}

CString ConvertRunText(string_view run, RunWork& work) {
  string& header = work.header;
  string& text = work.text;
  string& spare = work.spare;
  header.assign(detail::TextBetween(run, "", " "));
  text.assign(detail::TextBetween(run, " ", ""));
  Replace(header, "\\plain", "", spare);
  string font(detail::TextBetween(header, "\\f", "\\"));
  if (work.codeFont >= 0 && CanonicalNumber(font, LONG_MAX) == work.codeFont) {
    string markedHeader = header, markedText = text;
    return ConvertMarkedRun(markedHeader, markedText, work);
  }
  work.lastFont = font;
  string size(detail::TextBetween(header, "\\fs", "\\"));
  // A run without a colour is in the control's automatic colour, the entity's own: it gets no
  // colour code, and its height code ends with its own ";".
  const bool automatic = header.find("cf") == npos;
  Replace(header, "\\fs" + size, "{\\H" + work.heights.Of(size) + (automatic ? ";" : ""), spare);
  string fields = header.find("\\b") != npos ? "|b1" : "|b0";
  fields += header.find("\\i") != npos ? "|i1;" : "|i0;";
  Replace(header, "\\f" + font, "\\f" + font + fields, spare);
  Replace(header, "\\b", "", spare);
  Replace(header, "\\i", "", spare);
  text = TrueColourBehindColourCode(header, work) + ParagraphBreaks(text);
  if (header.find("\\ul") != npos) {
    Replace(header, "\\ul", "\\L", spare);
    text += "\\l";
  }
  // The space ends the run's last control word; behind a ";" there is none to end.
  const bool separated = header.empty() || header.back() != ';';
  const int length = static_cast<int>(header.size() + text.size() + 3 + separated);
  CString converted;
  char* out = converted.GetBufferSetLength(length);
  *out++ = '{';
  out = std::copy(header.begin(), header.end(), out);
  if (separated) *out++ = ' ';
  out = std::copy(text.begin(), text.end(), out);
  *out++ = '}';
  *out = '}';
  converted.ReleaseBuffer(length);
  return converted;
}

// The kept code text in place of its tokens, and every literal backslash as "\\\\". A marked
// brace is code only with its partner: one left alone is written as a literal brace. A marked
// backslash is code only at the end of the text.
string PutBackCodeText(string_view body, const std::vector<string>& codes) {
  std::vector<bool> literal(codes.size(), false);
  std::vector<size_t> open;
  for (size_t n = 0; n < codes.size(); ++n) {
    if (codes[n] == "{") open.push_back(n);
    if (codes[n] != "}") continue;
    if (open.empty()) literal[n] = true;
    else open.pop_back();
  }
  for (size_t n : open) literal[n] = true;
  string out;
  out.reserve(body.size() + body.size() / 8);
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == kLiteralBackslash) {
      out += "\\\\";
      continue;
    }
    size_t close = c == kCodeOpen ? body.find(kCodeClose, i) : npos;
    size_t n = close == npos ? npos : keptcodes::TokenNumber(body.substr(i + 1, close - i - 1));
    if (n >= codes.size()) {  // text of the user's own, not a token
      out += c;
      continue;
    }
    i = close;
    // A backslash or caret that ended the text ends it again, behind the groups' closing braces.
    if ((codes[n] == "\\" || codes[n] == "^") && body.find_first_not_of('}', i + 1) == npos) {
      out.append(body, i + 1, npos);
      out += codes[n];
      break;
    }
    out += literal[n] ? "\\" + codes[n] : codes[n];
  }
  return out;
}

// CStringArray::Add without copying the converted run once more.
void AddRun(CStringArray& runs, CString run) {
  int at = runs.GetSize();
  runs.SetSize(at + 1);
  runs.ElementAt(at) = std::move(run);
}

}  // namespace

CString MTextRtfConverter::RtfToMText(CString rtf) {
  string document = detail::DecodeHexEscapes(HideLiteralBackslashes(View(rtf)));
  colorTableText = ToCString(detail::TextBetween(document, "{\\colortbl", ";}"));
  ParseColorTable();
  fontTableText = ToCString(detail::TextBetween(document, "fonttbl", "}}"));
  ParseFontTable();
  for (int k = 0; k < fontDescriptors.GetSize(); ++k) {
    auto known = knownFonts.find(fontDescriptors[k]);
    if (known != knownFonts.end()) fontDescriptors[k] = known->second;
    if (View(fontDescriptors[k]).rfind(string(keptcodes::kCodeFace) + "|", 0) == 0) m_codeFont = k + 2;
  }
  bodyText = ToCString(detail::TextBetween(document, "\\deflang", ""));
  document.clear();
  ConvertBody();

  string body;
  for (int k = 0; k < runTexts.GetSize(); ++k) body += View(runTexts[k]);
  // Text in the control's default font is in the text style's font and carries no font code. On
  // a TrueType style its bold and italic need that face's code; on a shape font they are lost
  // (the editor does not offer them there).
  for (const char* code : rtf_to_mtext_words::kDefaultFontCodes) {
    if (defaultFace.IsEmpty() || string_view(code) == rtf_to_mtext_words::kDefaultFontCodes[0]) Replace(body, code, "");
  }
  body = PutFontNames(std::move(body), fontDescriptors);
  body = PutColorCodes(body, colorCodes);
  body = ReplaceNumbers(body, "\\f", 1, 1, [](long) { return string_view("Symbol"); });
  Replace(body, rtf_to_mtext_words::kSymbolBulletGroup, "");
  Replace(body, "C139;", "C256;");
  Replace(body, "\\L ", "\\L");
  if (!defaultFace.IsEmpty()) Replace(body, "\\f0|", "\\f" + string(View(defaultFace)) + "|");
  body.insert(body.begin(), '{');
  return ToCString(PutBackCodeText(body, m_codes));
}

void MTextRtfConverter::ParseColorTable() {
  string text(View(colorTableText));
  for (const char* word : {"red", "green", "blue", ";"}) text = detail::ReplaceAll(text, word, "");
  int counter = 0;
  int channels[3] = {0, 0, 0};
  for (size_t i = text.find('\\'); i != npos; i = text.find('\\', i + 1)) {
    size_t j = text.find('\\', i + 1);
    channels[counter++] = Atoi(string_view(text).substr(i + 1, j == npos ? npos : j - i - 1));
    if (counter == 3) {
      counter = 0;
      colorCodes.Add(Number(m_colors.NearestIndex(channels[0], channels[1], channels[2])).c_str());
    }
  }
}

void MTextRtfConverter::ParseFontTable() {
  string text = detail::ReplaceAll(string(View(fontTableText)) + "}", rtf_to_mtext_words::kFixedFontEntries, "");
  const auto fontWord = NextOccurrences(text, "\\f");
  const auto space = NextOccurrences(text, " ");
  const auto semicolon = NextOccurrences(text, ";");
  const auto charsetWord = NextOccurrences(text, "fcharset");
  const auto destination = NextOccurrences(text, "{\\*\\");
  const auto slash = NextOccurrences(text, "\\");
  const TailReader tail(text);
  const auto cap = [](string_view field) { return field.substr(0, rtf_to_mtext_words::kMaxFontField); };
  for (size_t i = text.find('{'); i != npos; i = text.find('{', i + 1)) {
    if (destination[i] == static_cast<long>(i)) continue;
    string descriptor(cap(tail.Between(i, space, 1, semicolon)));
    descriptor += "|c";
    string_view words = tail.Between(i, fontWord, 2, space);
    size_t wordsAt = static_cast<size_t>(words.data() - text.data());
    long charset = charsetWord[wordsAt];
    if (charset >= 0 && static_cast<size_t>(charset) + 8 <= wordsAt + words.size()) {
      string_view a = tail.Between(i, charsetWord, 8, destination);
      string_view b = tail.Between(i, charsetWord, 8, space);
      descriptor += cap(a.size() <= b.size() ? a : b);
    } else {
      descriptor += '0';  // the control writes no "\fcharset" for character set 0
    }
    // The family word ends at the next backslash or at the space before the name.
    long first = slash[std::min(i + 3, text.size() + 1)];
    long next = first < 0 ? -1 : slash[static_cast<size_t>(first) + 1];
    long blank = first < 0 ? -1 : space[static_cast<size_t>(first) + 1];
    if (blank >= 0 && (next < 0 || blank < next)) next = blank;
    if (next >= 0) {
      string_view word = string_view(text).substr(static_cast<size_t>(first) + 1, static_cast<size_t>(next - first - 1));
      for (const auto& family : rtf_to_mtext_words::kFontFamilies) {
        if (word == family.word) descriptor += family.pitch;
      }
    }
    fontDescriptors.Add(ToCString(descriptor));
  }
}

void MTextRtfConverter::ConvertBody() {
  string body(View(bodyText));
  // CR and LF are the control's line breaks in the stream, not text; in MText a line feed
  // would be a line break of its own.
  body.erase(std::remove_if(body.begin(), body.end(), [](char c) { return c == '\r' || c == '\n'; }), body.end());
  body = detail::WithoutFinalParagraphMark(body);
  body = string(detail::TextBetween(body, "\\pard", ""));
  for (const char* word : rtf_to_mtext_words::kTabWords) Replace(body, word, "\t");
  // Quotes, dashes and the bullet written as words keep their bytes; the skip lists below
  // would drop some of them.
  for (const auto& word : rtf_to_mtext_words::kCharacterWords) Replace(body, word.word, string(1, word.byte));
  bodyText = StripControlWords(ToCString(body));

  string_view stripped = View(bodyText);
  RunWork work(knownHeights, halfPointsPerUnit, m_codeFont);
  // The first run also holds whatever stands before the first "\plain".
  size_t first = detail::Find(stripped, "\\plain");
  if (first == npos) return;
  size_t runStart = 0;
  for (size_t next = detail::Find(stripped, "\\plain", first + 1); next != npos;
       next = detail::Find(stripped, "\\plain", next + 1)) {
    AddRun(runTexts, ConvertRunText(stripped.substr(runStart, next - runStart), work));
    runStart = next;
  }
  // A last run that holds only the document's closing braces formatted the control's final
  // mark, which is no text: the braces alone.
  string_view last = stripped.substr(runStart);
  string_view lastText = detail::TextBetween(last, " ", "");
  if (runStart > 0 && lastText.find_first_not_of('}') == npos) AddRun(runTexts, ToCString(lastText));
  else AddRun(runTexts, ConvertRunText(last, work));
  m_codes = std::move(work.codes);
}

CString MTextRtfConverter::ConvertRun(CString run) {
  RunWork work(knownHeights, halfPointsPerUnit, m_codeFont);
  return ConvertRunText(View(run), work);
}

CString MTextRtfConverter::StripControlWords(CString input) {
  static const SkipListIndex index;
  string text(View(input));
  for (size_t i = text.find('\\'); i != npos && i < text.size(); i = text.find('\\', i + 1)) {
    char delimiter = 0;
    // Until a removal changes the text at i, only lists with a word beginning with the letter
    // after this backslash can hold the candidate.
    const unsigned possible = i + 1 < text.size() ? index.ListsFor(text[i + 1]) : ~0u;
    for (size_t list = 0; list < std::size(rtf_to_mtext_words::kSkipLists); ++list) {
      if (i >= text.size()) break;  // an empty candidate marks nothing
      if (!delimiter && !(possible & (1u << list))) continue;
      string_view candidate = string_view(text).substr(i, static_cast<size_t>(rtf_to_mtext_words::kSkipLists[list].length));
      if (!index.Contains(list, candidate)) continue;
      if (!delimiter) {
        size_t slash = text.find('\\', i + 1), space = text.find(' ', i + 1);
        delimiter = space != npos && (slash == npos || space < slash) ? ' ' : '\\';
      }
      text = detail::CutSpans(text, string(candidate), string_view(&delimiter, 1));
    }
  }
  return ToCString(text);
}
