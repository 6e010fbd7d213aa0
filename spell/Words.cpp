// The words of a displayed text: where each begins and ends, and why some are never looked up.
#include "spell/Words.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <set>
#include <string_view>

namespace spelling::detail {
namespace {

// Units of measure as drawings write them after a number, or alone in a table's heading.
const std::set<std::string_view>& Units() {
  static const std::set<std::string_view> units{
      // Latin
      "mm", "cm", "dm", "km", "um", "in", "ft", "yd", "kg", "mg", "lb", "lbs", "oz", "kN", "MN", "Pa", "kPa",
      "MPa", "GPa", "kW", "MW", "kV", "mV", "mA", "Hz", "kHz", "MHz", "kJ", "ml", "ms", "min", "rpm", "dB",
      "lx", "mol", "psi", "sq", "pcs", "kgf", "tf",
      // Cyrillic
      u8"мм", u8"см", u8"дм", u8"м", u8"км", u8"мкм", u8"кг", u8"г", u8"мг", u8"т", u8"ц", u8"Н", u8"кН",
      u8"МН", u8"Па", u8"кПа", u8"МПа", u8"ГПа", u8"Вт", u8"кВт", u8"МВт", u8"В", u8"кВ", u8"мВ", u8"А",
      u8"мА", u8"Гц", u8"кГц", u8"Дж", u8"кДж", u8"л", u8"мл", u8"с", u8"мс", u8"мин", u8"ч", u8"сут",
      u8"шт", u8"кв", u8"куб", u8"пог", u8"град", u8"об", u8"кгс", u8"тс", u8"ед", u8"экз", u8"компл",
      u8"лк", u8"дБ", u8"ккал", u8"Гкал", u8"атм"};
  return units;
}

// Abbreviations of drawings' title blocks and notes, in small letters, that stand before a full
// stop: the columns of a title block ("Изм.", "№ докум.", "Разраб.") and common shortenings.
const std::set<std::string_view>& Shortenings() {
  static const std::set<std::string_view> words{
      u8"изм", u8"докум", u8"подп", u8"разраб", u8"пров", u8"контр", u8"утв", u8"инв", u8"подл", u8"взам",
      u8"дубл", u8"справ", u8"перв", u8"примен", u8"обознач", u8"наим", u8"кол", u8"прим", u8"поз", u8"масш",
      u8"лит", u8"нач", u8"зам", u8"гл", u8"инж", u8"техн", u8"расч", u8"нагр", u8"напряж", u8"сеч", u8"осв",
      u8"ном", u8"уст", u8"ду", u8"ст", u8"стр", u8"табл", u8"рис", u8"черт", u8"отм", u8"макс", u8"мин",
      u8"diam", u8"dia", u8"approx", u8"typ", u8"incl", u8"excl", u8"qty", u8"ref", u8"dwg", u8"rev", u8"max"
};
  return words;
}

std::string Lower(const std::string& utf8) {
  std::string out;
  icu::UnicodeString::fromUTF8(utf8).toLower().toUTF8String(out);
  return out;
}

bool IsApostrophe(UChar32 c) { return c == '\'' || c == 0x2019 || c == 0x02BC; }
bool IsHyphen(UChar32 c) { return c == '-' || c == 0x2010 || c == 0x2011; }
bool IsDigit(UChar32 c) { return u_isdigit(c) || u_charType(c) == U_OTHER_NUMBER; }
// Inside a word and never a break: accents and soft hyphens.
bool IsMark(UChar32 c) { return u_charType(c) == U_NON_SPACING_MARK || u_charType(c) == U_FORMAT_CHAR; }
bool IsWordChar(UChar32 c) { return u_isalpha(c) || IsDigit(c) || IsMark(c); }

struct Char {
  UChar32 c;
  int32_t stack;
  uint8_t part;
};

// A text between white space, its leading and trailing punctuation cut: a file name or an
// address is told by its whole.
WordKind ChunkKind(const std::vector<Char>& cs, size_t begin, size_t end) {
  // Only a file name, a path or an address holds one of these.
  if (std::none_of(cs.begin() + static_cast<long>(begin), cs.begin() + static_cast<long>(end),
                   [](const Char& c) { return c.c == '.' || c.c == '@' || c.c == '/' || c.c == '\\' || c.c == ':'; }))
    return WordKind::kChecked;
  std::u32string s;
  for (size_t k = begin; k < end; ++k) s += static_cast<char32_t>(cs[k].c);
  auto has = [&](std::u32string_view what) { return s.find(what) != std::u32string::npos; };
  size_t at = s.find(U'@');
  if (at != std::u32string::npos && at > 0 && s.find(U'.', at) != std::u32string::npos) return WordKind::kEmail;
  if (has(U"://") || s.compare(0, 4, U"www.") == 0 || has(U"\\") || s[0] == U'/' || s.compare(0, 2, U"./") == 0 ||
      s.compare(0, 2, U"~/") == 0 || (s.size() > 2 && s[1] == U':' && (s[2] == U'/' || s[2] == U'\\')))
    return WordKind::kFileName;
  // name.ext: an extension of two to four Latin letters and digits, one a letter, after a name.
  size_t dot = s.rfind(U'.');
  if (dot != std::u32string::npos && dot > 0 && s.size() - dot - 1 >= 2 && s.size() - dot - 1 <= 4) {
    auto latin = [](char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); };
    auto from = s.begin() + static_cast<long>(dot) + 1;
    bool ext = std::all_of(from, s.end(), [&](char32_t c) { return latin(c) || (c >= U'0' && c <= U'9'); }) &&
               std::any_of(from, s.end(), latin);
    if (ext && IsWordChar(static_cast<UChar32>(s[dot - 1]))) return WordKind::kFileName;
  }
  return WordKind::kChecked;
}

WordKind Classify(const std::vector<Char>& cs, size_t begin, size_t end, const std::string& utf8, bool checkCapitals,
                  Script& script) {
  size_t letters = 0, latin = 0, cyrillic = 0, upper = 0;
  bool digits = false;
  for (size_t k = begin; k < end; ++k) {
    UChar32 c = cs[k].c;
    if (IsDigit(c)) digits = true;
    if (!u_isalpha(c)) continue;
    ++letters;
    UErrorCode status = U_ZERO_ERROR;
    UScriptCode code = uscript_getScript(c, &status);
    latin += code == USCRIPT_LATIN;
    cyrillic += code == USCRIPT_CYRILLIC;
    upper += u_isupper(c) != 0;
  }
  script = latin + cyrillic == 0 ? Script::kOther : latin > cyrillic ? Script::kLatin : Script::kCyrillic;
  if (digits) return WordKind::kWithDigits;
  if (Units().count(utf8)) return WordKind::kUnit;
  if (letters == 1) return WordKind::kSingleLetter;
  if (latin + cyrillic < letters - letters / 2) return WordKind::kOtherScript;
  if (!checkCapitals && upper == letters) return WordKind::kAbbreviation;
  return WordKind::kChecked;
}

// A word hyphenated at the end of a line ("Пози-\nция", a narrow column of a table) is one word:
// the part before the hyphen and the line break, and the part after, which starts small.
void JoinHyphenatedAtBreaks(const std::vector<Char>& cs, bool checkCapitals, std::vector<Word>& words) {
  auto joinable = [](const Word& w) { return w.kind == WordKind::kChecked || w.kind == WordKind::kSingleLetter; };
  std::vector<Word> joined;
  for (size_t i = 0; i < words.size(); ++i) {
    Word w = std::move(words[i]);
    while (i + 1 < words.size() && joinable(w) && joinable(words[i + 1]) && w.end < cs.size() && IsHyphen(cs[w.end].c) &&
           u_islower(cs[words[i + 1].begin].c) && cs[w.end].stack < 0 && cs[words[i + 1].begin].stack < 0) {
      const Word& next = words[i + 1];
      bool breaks = false, blank = true;
      for (size_t k = w.end + 1; k < next.begin; ++k) {
        breaks = breaks || cs[k].c == '\n';
        blank = blank && (cs[k].c == '\n' || u_isUWhiteSpace(cs[k].c));
      }
      if (!breaks || !blank) break;
      w.utf8 += next.utf8;
      w.end = next.end;
      w.sourceEnd = next.sourceEnd;
      w.kind = Classify(cs, w.begin, w.end, w.utf8, checkCapitals, w.script);
      ++i;
    }
    joined.push_back(std::move(w));
  }
  words = std::move(joined);
}

}  // namespace

const char* KindName(WordKind kind) {
  switch (kind) {
    case WordKind::kChecked: return "checked";
    case WordKind::kWithDigits: return "with digits";
    case WordKind::kUnit: return "unit";
    case WordKind::kFileName: return "file name";
    case WordKind::kEmail: return "e-mail";
    case WordKind::kAbbreviation: return "abbreviation";
    case WordKind::kSingleLetter: return "single letter";
    case WordKind::kOtherScript: return "other script";
  }
  return "?";
}

std::vector<Word> Words(const mtextsearch::DisplayedText& shown, bool checkCapitals) {
  std::vector<Char> cs;
  cs.reserve(shown.chars.size());
  for (size_t k = 0; k < shown.chars.size(); ++k) {
    int32_t i = static_cast<int32_t>(shown.chars[k].offset);
    UChar32 c = 0;
    U8_NEXT(shown.utf8.data(), i, static_cast<int32_t>(shown.utf8.size()), c);
    cs.push_back({c, shown.chars[k].stack, shown.chars[k].part});
  }
  auto sameRun = [&](size_t a, size_t b) { return cs[a].stack == cs[b].stack && cs[a].part == cs[b].part; };
  auto wordAt = [&](size_t k) { return k < cs.size() && IsWordChar(cs[k].c); };

  std::vector<Word> words;
  size_t k = 0;
  while (k < cs.size()) {
    // A chunk: up to the next white space, with its punctuation cut off at both ends.
    while (k < cs.size() && (u_isUWhiteSpace(cs[k].c) || cs[k].c == '\n')) ++k;
    size_t chunkEnd = k;
    while (chunkEnd < cs.size() && !u_isUWhiteSpace(cs[chunkEnd].c) && cs[chunkEnd].c != '\n') ++chunkEnd;
    size_t first = k, last = chunkEnd;
    while (first < last && !IsWordChar(cs[first].c)) ++first;
    while (last > first && !IsWordChar(cs[last - 1].c)) --last;
    const WordKind chunk = first < last ? ChunkKind(cs, first, last) : WordKind::kChecked;

    for (size_t w = first; w < last;) {
      if (!IsWordChar(cs[w].c)) {
        ++w;
        continue;
      }
      size_t end = w + 1;
      while (end < last && sameRun(end - 1, end)) {
        if (IsWordChar(cs[end].c)) {
          ++end;
        } else if ((IsApostrophe(cs[end].c) || IsHyphen(cs[end].c)) && wordAt(end + 1) && sameRun(end, end + 1)) {
          end += 2;
        } else {
          break;
        }
      }
      Word word;
      word.begin = w;
      word.end = end;
      word.sourceBegin = shown.chars[w].sourceBegin;
      word.sourceEnd = shown.chars[end - 1].sourceEnd;
      const size_t from = shown.chars[w].offset;
      const size_t to = end < shown.chars.size() ? shown.chars[end].offset : shown.utf8.size();
      word.utf8 = shown.utf8.substr(from, to - from);
      word.kind = Classify(cs, w, end, word.utf8, checkCapitals, word.script);
      if (word.kind == WordKind::kChecked && end < cs.size() && cs[end].c == '.' && Shortenings().count(Lower(word.utf8)))
        word.kind = WordKind::kAbbreviation;
      if (chunk != WordKind::kChecked) word.kind = chunk;
      words.push_back(std::move(word));
      w = end;
    }
    k = chunkEnd;
  }
  JoinHyphenatedAtBreaks(cs, checkCapitals, words);
  return words;
}

}  // namespace spelling::detail
