// MTextToRtf's font and colour passes: font keys and numbers, the font table, the colour pass
// that ends codes with a space, and the colour table.
#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "converter/KeptCodes.h"
#include "converter/MTextRtfConverter.h"
#include "converter/MTextToRtfSteps.h"
#include "converter/RtfToMTextWords.h"

using namespace mtext_to_rtf;

namespace {
constexpr size_t npos = std::string::npos;
}  // namespace

namespace {

bool IsFontCodeAt(std::string_view text, size_t i) {
  return i + 1 < text.size() && text[i] == '\\' && (text[i + 1] == 'f' || text[i + 1] == 'F');
}

// The font description behind a font code at i: up to the next ";", or to the end without one. A code cut
// short (no ";" before the next font code) ends at the next font code: its spec would otherwise
// hold every code behind it, and a text of such codes would give a font table of the square of
// its length.
std::string_view FontSpecAt(std::string_view text, size_t i) {
  size_t end = i + 2;
  while (end < text.size() && text[end] != ';' && text[end] != kKeptCodeOpen && !IsFontCodeAt(text, end)) ++end;
  return text.substr(i + 2, end - i - 2);
}

// The key behind a colour code at i: the shorter of the texts up to the next space and up to
// the next backslash, which is the text up to whichever comes first.
std::string_view ColourKeyAt(std::string_view text, size_t i) {
  size_t end = text.find_first_of(" \\\x01", i + 2);
  return text.substr(i + 2, end == std::string_view::npos ? std::string_view::npos : end - i - 2);
}

}  // namespace

void MTextRtfConverter::CollectFontKeys() {
  const std::string text = Bytes(workText);
  std::unordered_set<std::string> known;
  for (int k = 0; k < fontKeys.GetSize(); ++k) known.insert(Bytes(fontKeys[k]));
  for (size_t i = text.find('\\'); i != std::string::npos; i = text.find('\\', i + 1)) {
    if (!IsFontCodeAt(text, i)) continue;
    std::string key(FontSpecAt(text, i));
    for (const char* flag : {"|b1", "|i1", "|b0", "|i0"}) {
      if (key.find(flag) != std::string::npos) key = detail::ReplaceAll(key, flag, "");
    }
    if (known.insert(key).second) fontKeys.Add(detail::ToCString(key));
  }
}

// A font code whose bold or italic flags stand in front of its other fields (the character set
// or pitch, in whatever order other programs write them) is rewritten with the flags behind, as
// RtfToMText writes it: its key, the face and fields without the flags, then stands whole in
// front of them.
void MTextRtfConverter::ReorderFontSpecs() {
  std::string text = Bytes(workText);
  bool changed = false;
  // Every rewrite keeps the length, so positions stay where they were.
  for (size_t i = text.find('\\'); i != std::string::npos; i = text.find('\\', i + 1)) {
    if (!IsFontCodeAt(text, i)) continue;
    const std::string_view spec = FontSpecAt(text, i);
    const std::string ordered = FlagsBehindFields(spec);
    if (ordered == spec) continue;
    text.replace(i + 2, ordered.size(), ordered);
    changed = true;
  }
  if (changed) workText = detail::ToCString(text);
}

// Longer keys first: a key that begins another ("Arial|c0", "Arial|c0|p0") would otherwise take
// the start of the other's codes, whose rest became text.
void MTextRtfConverter::ReplaceFontCodes() {
  ReplaceAllIn(workText, "\\\\f", "//__");
  std::vector<int> order(static_cast<size_t>(fontKeys.GetSize()));
  for (int k = 0; k < fontKeys.GetSize(); ++k) order[static_cast<size_t>(k)] = k;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return fontKeys[a].GetLength() > fontKeys[b].GetLength(); });
  for (int k : order) {
    const std::string key = Bytes(fontKeys[k]);
    const std::string number = DecimalText(k + 1);
    if (key.size() >= 4 && key.compare(key.size() - 4, 4, ".shx") == 0) {
      ReplaceAllIn(workText, "\\F" + key, "\\f" + number);
    } else if (key.find('|') != std::string::npos) {
      ReplaceAllIn(workText, "\\f" + key, "\\f" + number);
    } else {
      ReplaceAllIn(workText, "\\f" + key + ";", "\\f" + number + ";");
      // A name with bold or italic fields only ("\fArial Narrow|b1;").
      ReplaceAllIn(workText, "\\f" + key + "|", "\\f" + number + "|");
    }
  }
  ReplaceAllIn(workText, "//__", "\\\\f");
}

namespace {

// The face the control shows a font of a name it cannot hold in its code page in: a name spelled
// with "\U+XXXX" codes (a Chinese face in a drawing of an ANSI code page) becomes a face that has
// the characters of its script; empty for a name the control holds.
std::string StandInFace(std::string_view name) {
  size_t at = name.find("\\U+");
  if (at == std::string_view::npos) at = name.find("\\u+");
  const std::string digits(at == std::string_view::npos ? std::string_view() : name.substr(at + 3, 4));
  if (digits.size() != 4 || digits.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos) return std::string();
  const unsigned point = static_cast<unsigned>(std::strtoul(digits.c_str(), nullptr, 16));
  if (point >= 0x3040 && point <= 0x30FF) return "MS Gothic";  // kana
  if ((point >= 0x1100 && point <= 0x11FF) || (point >= 0x3130 && point <= 0x318F) || (point >= 0xAC00 && point <= 0xD7AF))
    return "Gulim";
  if ((point >= 0x2E80 && point <= 0x9FFF) || (point >= 0xF900 && point <= 0xFAFF)) return "SimSun";
  return "Arial Unicode MS";
}

std::string_view FaceOfKey(std::string_view key) { return key.substr(0, key.find('|')); }

}  // namespace

// Each font key whose name the control cannot hold has a stand-in face of its own: one that a
// name of the text or an earlier stand-in has is numbered, so that the control keeps the fonts apart.
void MTextRtfConverter::ChooseStandInFaces() {
  std::unordered_set<std::string> taken;
  for (int k = 0; k < fontKeys.GetSize(); ++k) taken.emplace(FaceOfKey(View(fontKeys[k])));
  m_standInFaces.assign(static_cast<size_t>(fontKeys.GetSize()), std::string());
  for (int k = 0; k < fontKeys.GetSize(); ++k) {
    const std::string face = StandInFace(FaceOfKey(View(fontKeys[k])));
    if (face.empty()) continue;
    std::string chosen = face;
    for (int n = 2; taken.count(chosen); ++n) chosen = face + " " + DecimalText(n);
    taken.insert(chosen);
    m_standInFaces[static_cast<size_t>(k)] = chosen;
  }
}

// A font key with its name as the control's font table holds it.
std::string MTextRtfConverter::TableKey(int k) const {
  const std::string key = Bytes(fontKeys[k]);
  const std::string& face = m_standInFaces[static_cast<size_t>(k)];
  return face.empty() ? key : face + key.substr(FaceOfKey(key).size());
}

CString MTextRtfConverter::BuildFontTable() {
  ChooseStandInFaces();
  CString table = kFontTableHead;
  for (int k = 0; k < fontKeys.GetSize(); ++k) table += FontTableEntry(detail::ToCString(TableKey(k)), k + 1);
  // The reserved face of kept codes comes last, as an ordinary entry.
  if (m_marksCode) table += FontTableEntry(keptcodes::kCodeFace, fontKeys.GetSize() + 1);
  return table + "}";
}

// The descriptor RtfToMText reads back from the control's entry for a font key: the name, the
// character set as a number, and the pitch that the family word stands for. Empty for a key whose
// entry the control does not give back as a descriptor of its name (a shape font, a key without
// fields, a name with a brace or a backslash).
namespace {
std::string DescriptorReadBack(std::string_view key) {
  const size_t bar = key.find('|');
  if (bar == std::string_view::npos || key.find_first_of("{}\\") != std::string_view::npos) return std::string();
  const std::string entry(View(FontTableEntry(detail::ToCString(std::string(key)), 0)));
  const size_t charset = entry.find("\\fcharset");
  const size_t space = entry.find(' ');
  if (charset == std::string::npos || space == std::string::npos || charset > space) return std::string();
  const std::string family = entry.substr(5, charset - 5);  // behind "{\f0\"
  const std::string number = entry.substr(charset + 9, space - charset - 9);
  std::string read = std::string(key.substr(0, bar)) + "|c" +
                     DecimalText(LeadingInteger(number.c_str(), static_cast<int>(number.size())));
  for (const auto& f : rtf_to_mtext_words::kFontFamilies) {
    if (family == f.word) read += f.pitch;
  }
  return read;
}

// The descriptor RtfToMText is to give back for a font key: as read back, with the key's own
// pitch field ("|p0", "|p7") in place of the family word's.
std::string DescriptorKept(std::string_view key, std::string read) {
  const size_t pitch = read.find("|p");
  if (pitch != std::string::npos) read.erase(pitch);
  const size_t own = key.find("|p");
  if (own != std::string_view::npos) read += key.substr(own, key.find('|', own + 1) - own);
  return read;
}
}  // namespace

// Each font key that RtfToMText would read back as another descriptor is known by that one,
// unless another key reads back as the same: the control holds the two as one font.
void MTextRtfConverter::KnowFonts() {
  std::unordered_map<std::string, std::string> keyOf;  // kept, by descriptor read back; "" when shared
  for (int k = 0; k < fontKeys.GetSize(); ++k) {
    const std::string key = Bytes(fontKeys[k]);
    const std::string tableKey = TableKey(k);
    std::string read = DescriptorReadBack(tableKey);
    if (read.empty() && tableKey != key) read = tableKey + "|c0";  // a key without fields
    if (read.empty()) continue;
    // A stand-in face gives its font back as written.
    std::string kept = tableKey != key ? key : DescriptorKept(key, read);
    auto known = keyOf.emplace(read, kept);
    if (!known.second && known.first->second != kept) known.first->second.clear();
  }
  for (const auto& [read, key] : keyOf) {
    if (!key.empty() && read != key) knownFonts.emplace(detail::ToCString(read), detail::ToCString(key));
  }
}

CString MTextRtfConverter::ColourPass() {
  ReplaceAllIn(workText, "\\par", kParagraphToken);
  TerminateCodesWithSpaces();
  CollectColourKeys();
  CString table = kColourTableHead;
  for (int k = 0; k < colourKeys.GetSize(); ++k) {
    table += ColourTableEntryOfKey(colourKeys[k], m_colors);
  }
  ReplaceAllIn(workText, kParagraphToken, "\\par");
  return table + "}";
}

namespace {

// Calls each(b, e) for every backslash b that a ";" follows, with e the first such ";", in the
// order of b.
template <class Each>
void ForEachCodeToSemicolon(std::string_view text, Each each) {
  size_t first = npos;  // the first backslash since the last ";"
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && first == npos) first = i;
    if (text[i] != ';' || first == npos) continue;
    for (size_t b = first; b < i; ++b) {
      if (text[b] == '\\') each(b, i);
    }
    first = npos;
  }
}

}  // namespace

// Step for step, the text from each backslash to the first ";" behind it is recorded, and then
// every recorded text followed by ";" gets a space in place of the ";", one text after another.
// The ";" of each such recorded text is where it was recorded, so every ";" that has a backslash
// since the ";" before it becomes a space. Only where a recorded text also stands in the result
// across a ";" turned into a space (or in front of a ";" with no backslash before it) can a
// replacement reach further; then the replacements are made one by one.
void MTextRtfConverter::TerminateCodesWithSpaces() {
  const std::string text = Bytes(workText);
  std::string result = text;
  std::vector<std::pair<size_t, size_t>> recorded;  // from a backslash to its ";"
  ForEachCodeToSemicolon(text, [&](size_t b, size_t e) {
    recorded.emplace_back(b, e);
    result[e] = ' ';
  });
  if (recorded.empty()) return;

  // A recorded text can stand in the result only in front of a ";" left there, from a backslash
  // since the ";" left before it.
  std::vector<std::pair<size_t, size_t>> candidates;
  ForEachCodeToSemicolon(result, [&](size_t b, size_t e) { candidates.emplace_back(b, e); });
  bool reachesFurther = false;
  if (!candidates.empty()) {
    Hashes hashes(result);
    std::unordered_multimap<std::uint64_t, size_t> known;  // hash of a recorded text -> its index
    for (size_t k = 0; k < recorded.size(); ++k) {
      known.emplace(hashes.Of(recorded[k].first, recorded[k].second) ^ (recorded[k].second - recorded[k].first), k);
    }
    for (const auto& [b, e] : candidates) {
      auto range = known.equal_range(hashes.Of(b, e) ^ (e - b));
      for (auto it = range.first; it != range.second && !reachesFurther; ++it) {
        const auto& r = recorded[it->second];
        reachesFurther = r.second - r.first == e - b && result.compare(b, e - b, result, r.first, e - b) == 0;
      }
      if (reachesFurther) break;
    }
  }
  if (!reachesFurther) {
    workText = detail::ToCString(result);
    return;
  }
  std::string current = text;
  for (const auto& r : recorded) {
    std::string code = text.substr(r.first, r.second - r.first);
    current = detail::ReplaceAll(current, code + ";", code + " ");
  }
  workText = detail::ToCString(current);
}

void MTextRtfConverter::CollectColourKeys() {
  const std::string text = Bytes(workText);
  std::unordered_set<std::string_view> known;
  std::vector<std::string> held;
  held.reserve(colourKeys.GetSize());
  for (int k = 0; k < colourKeys.GetSize(); ++k) known.insert(held.emplace_back(Bytes(colourKeys[k])));
  for (size_t i = text.find("\\C"); i != std::string::npos; i = text.find("\\C", i + 1)) {
    std::string_view key = ColourKeyAt(text, i);
    if (known.insert(key).second) colourKeys.Add(detail::ToCString(key));
  }
}

// Each colour code becomes "\cf" and the number of its own key, as a whole ("\C12" is never
// taken for "\C1" and a "2").
void MTextRtfConverter::ReplaceColourCodes() {
  ReplaceAllIn(workText, "\\\\C", "//__");
  const std::string text = Bytes(workText);
  std::unordered_map<std::string_view, int> numbers;
  std::vector<std::string> held;
  held.reserve(colourKeys.GetSize());
  for (int k = colourKeys.GetSize() - 1; k >= 0; --k) numbers[held.emplace_back(Bytes(colourKeys[k]))] = k + 1;
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t i = text.find("\\C"); i != std::string::npos; i = text.find("\\C", std::max(from, i + 1))) {
    std::string_view key = ColourKeyAt(text, i);
    auto it = numbers.find(key);
    if (it == numbers.end()) continue;
    out.append(text, from, i - from);
    out += "\\cf" + DecimalText(it->second);
    from = i + 2 + key.size();
  }
  out.append(text, from, std::string::npos);
  workText = detail::ToCString(out);
  ReplaceAllIn(workText, "//__", "\\\\C");
}
