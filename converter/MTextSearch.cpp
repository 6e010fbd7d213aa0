// Patterns compiled by PCRE2, matches in the displayed text, and replacements that keep every code.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "converter/MTextSearch.h"

#include <pcre2.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "converter/KeptCodes.h"
#include "converter/MTextSearchDetail.h"

namespace mtextsearch {
namespace detail {

struct Compiled {
  pcre2_code* code = nullptr;
  ~Compiled() { pcre2_code_free(code); }
};

void AppendContentsChar(std::string& out, uint32_t cp) {
  char byte = keptcodes::Cp1251Byte(cp);
  if (byte != 0) {
    out += byte;
    return;
  }
  auto escape = [&](uint32_t unit) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\\U+%04X", static_cast<unsigned>(unit & 0xFFFF));
    out += buf;
  };
  if (cp >= 0x10000) {
    escape(0xD800 + ((cp - 0x10000) >> 10));
    escape(0xDC00 + ((cp - 0x10000) & 0x3FF));
  } else {
    escape(cp);
  }
}

std::string EncodeTyped(std::string_view utf8, TextKind kind, bool inStack) {
  std::string out;
  const bool mtext = kind != TextKind::kSingleLine;
  for (size_t i = 0; i < utf8.size();) {
    size_t length = 1;
    uint32_t cp = Utf8At(utf8, i, length);
    i += length;
    if (cp == '\r' && i < utf8.size() && utf8[i] == '\n') continue;
    bool lineBreak = cp == '\n' || cp == '\r';
    if (lineBreak && mtext && !inStack) {
      out += "\\P";
    } else if (lineBreak || (cp < 0x20 && cp != '\t')) {
      // A control character typed into a text is drawn as a space; the saver would write one as a
      // caret escape that readers take for a line break.
      out += ' ';
    } else if (mtext && (cp == '\\' || cp == '{' || cp == '}')) {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (inStack && (cp == '^' || cp == '/' || cp == '#' || cp == ';')) {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (cp == '%' && i < utf8.size() && utf8[i] == '%') {
      // "%%" would start a symbol code: the first one goes as its escape.
      out += "\\U+0025";
    } else if (!mtext && cp == '\\' && utf8.substr(i, 2) == "U+") {
      out += "\\U+005C";
    } else {
      AppendContentsChar(out, cp);
    }
  }
  return out;
}

}  // namespace detail

namespace {

using detail::Compiled;

// A literal pattern as a regular expression: every ASCII character but letters and digits
// escaped, which PCRE2 always reads as the character itself.
std::string Quoted(std::string_view literal) {
  std::string out;
  for (char c : literal) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b == 0) {
      out += "\\x{0}";
    } else {
      if (b < 0x80 && !std::isalnum(b)) out += '\\';
      out += c;
    }
  }
  return out;
}

size_t CharIndex(const DisplayedText& shown, size_t offset) {
  auto it = std::lower_bound(shown.chars.begin(), shown.chars.end(), offset,
                             [](const DisplayedText::Char& c, size_t o) { return c.offset < o; });
  return static_cast<size_t>(it - shown.chars.begin());
}

bool Covers(size_t begin, size_t end, const DisplayedText::Stack& stack) {
  return begin <= stack.firstChar && end >= stack.endChar;
}

// Whether characters [begin, end) are a match that cuts no stack: each stack it touches it holds
// whole, or it lies inside one part of one stack.
bool CutsNoStack(const DisplayedText& shown, size_t begin, size_t end) {
  const auto& first = shown.chars[begin];
  const auto& last = shown.chars[end - 1];
  if (first.stack >= 0 && !Covers(begin, end, shown.stacks[first.stack]))
    return last.stack == first.stack && first.part == last.part && first.part != 2;
  return last.stack < 0 || Covers(begin, end, shown.stacks[last.stack]);
}

size_t NextCharOffset(const std::string& utf8, size_t offset) {
  size_t length = 1;
  if (offset < utf8.size()) detail::Utf8At(utf8, offset, length);
  return offset + length;
}

// The replacement with $n, ${n} and $$ expanded from the match's groups.
std::string Expanded(std::string_view replacement, const std::string& utf8, const Match& m) {
  std::string out;
  for (size_t i = 0; i < replacement.size(); ++i) {
    char c = replacement[i];
    if (c != '$' || i + 1 >= replacement.size()) {
      out += c;
      continue;
    }
    if (replacement[i + 1] == '$') {
      out += '$';
      ++i;
      continue;
    }
    size_t k = i + 1;
    bool braced = replacement[k] == '{';
    if (braced) ++k;
    size_t digitsBegin = k;
    size_t group = 0;
    while (k < replacement.size() && k - digitsBegin < 2 && std::isdigit(static_cast<unsigned char>(replacement[k])))
      group = group * 10 + static_cast<size_t>(replacement[k++] - '0');
    if (k == digitsBegin || (braced && (k >= replacement.size() || replacement[k] != '}'))) {
      out += c;
      continue;
    }
    if (group < m.groups.size() && m.groups[group].first != SIZE_MAX)
      out.append(utf8, m.groups[group].first, m.groups[group].second - m.groups[group].first);
    i = braced ? k : k - 1;
  }
  return out;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    uint32_t cp = keptcodes::Cp1251CodePoint(b);
    detail::AppendUtf8(out, cp == 0 && b != 0 ? detail::kReplacementChar : cp);
  }
  return out;
}

Pattern Pattern::FromUtf8(std::string_view text, const SearchOptions& options) {
  Pattern pattern;
  pattern.m_options = options;
  if (text.empty()) {
    pattern.m_error = "the pattern is empty";
    return pattern;
  }
  std::string expression = options.regex ? std::string(text) : Quoted(text);
  if (options.wholeWord) expression = "(?<!\\w)(?:" + expression + ")(?!\\w)";
  uint32_t flags = PCRE2_UTF | PCRE2_UCP | (options.ignoreCase ? PCRE2_CASELESS : 0) |
                   (options.regex ? PCRE2_MULTILINE : 0);
  int code = 0;
  PCRE2_SIZE offset = 0;
  pcre2_code* compiled = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.data()), expression.size(), flags,
                                       &code, &offset, nullptr);
  if (compiled == nullptr) {
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(code, message, sizeof message);
    pattern.m_error = reinterpret_cast<const char*>(message);
    if (options.regex) pattern.m_error += " at offset " + std::to_string(offset);
    return pattern;
  }
  // Without a JIT (some platforms) the interpreter matches the same.
  pcre2_jit_compile(compiled, PCRE2_JIT_COMPLETE);
  auto holder = std::make_shared<Compiled>();
  holder->code = compiled;
  pattern.m_compiled = std::move(holder);
  return pattern;
}

Pattern Pattern::FromCp1251(std::string_view text, const SearchOptions& options) {
  return FromUtf8(Cp1251ToUtf8(text), options);
}

std::vector<Match> Find(const Pattern& pattern, const DisplayedText& shown) {
  std::vector<Match> matches;
  if (!pattern.valid() || shown.chars.empty()) return matches;
  pcre2_code* code = pattern.compiled()->code;
  std::unique_ptr<pcre2_match_data, void (*)(pcre2_match_data*)> data(
      pcre2_match_data_create_from_pattern(code, nullptr), pcre2_match_data_free);
  const std::string& text = shown.utf8;
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  for (size_t start = 0; start < text.size();) {
    int rc = pcre2_match(code, subject, text.size(), start, 0, data.get(), nullptr);
    if (rc < 0) break;
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data.get());
    size_t from = ov[0], to = ov[1];
    size_t begin = CharIndex(shown, from), end = CharIndex(shown, to);
    if (to <= from || from < start || !CutsNoStack(shown, begin, end)) {
      start = NextCharOffset(text, std::max<size_t>(from, start));
      continue;
    }
    Match m{begin, end, shown.chars[begin].sourceBegin, shown.chars[end - 1].sourceEnd, {}};
    const auto& first = shown.chars[begin];
    const auto& last = shown.chars[end - 1];
    if (first.stack >= 0 && Covers(begin, end, shown.stacks[first.stack]))
      m.sourceBegin = shown.stacks[first.stack].sourceBegin;
    if (last.stack >= 0 && Covers(begin, end, shown.stacks[last.stack]))
      m.sourceEnd = shown.stacks[last.stack].sourceEnd;
    size_t groups = rc == 0 ? pcre2_get_ovector_count(data.get()) : static_cast<size_t>(rc);
    for (size_t g = 0; g < groups; ++g) {
      bool unset = ov[2 * g] == PCRE2_UNSET || ov[2 * g + 1] < ov[2 * g];
      m.groups.emplace_back(unset ? SIZE_MAX : ov[2 * g], unset ? SIZE_MAX : ov[2 * g + 1]);
    }
    matches.push_back(std::move(m));
    start = to;
  }
  return matches;
}

std::vector<Match> Find(const Pattern& pattern, std::string_view contents, TextKind kind) {
  return Find(pattern, Display(contents, kind));
}

Replaced Replace(std::string_view contents, TextKind kind, const DisplayedText& shown,
                 const std::vector<Match>& matches, std::string_view replacement, bool expandGroups) {
  struct Edit {
    size_t begin, end;
    std::string text;
  };
  std::vector<Edit> edits;
  std::string expected;  // the displayed text the result must have
  size_t shownAt = 0;
  for (const Match& m : matches) {
    std::string typed = expandGroups ? Expanded(replacement, shown.utf8, m) : std::string(replacement);
    const auto& first = shown.chars[m.begin];
    bool inStack = first.stack >= 0 && !Covers(m.begin, m.end, shown.stacks[first.stack]);
    std::string encoded = detail::EncodeTyped(typed, kind, inStack);
    expected.append(shown.utf8, shownAt, first.offset - shownAt);
    expected += Display(inStack ? "\\S" + encoded + ";" : encoded, inStack ? TextKind::kMText : kind).utf8;
    shownAt = m.end < shown.chars.size() ? shown.chars[m.end].offset : shown.utf8.size();
    // The replacement where the first character stood; the other characters go, codes stay.
    for (size_t k = m.begin; k < m.end; ++k) {
      const auto& c = shown.chars[k];
      std::string text = k == m.begin ? encoded : std::string();
      if (c.stack >= 0 && Covers(m.begin, m.end, shown.stacks[c.stack])) {
        const auto& stack = shown.stacks[c.stack];
        edits.push_back({stack.sourceBegin, stack.sourceEnd, std::move(text)});
        k = stack.endChar - 1;
      } else {
        edits.push_back({c.sourceBegin, c.sourceEnd, std::move(text)});
      }
    }
  }
  expected.append(shown.utf8, shownAt, std::string::npos);
  Replaced result;
  size_t at = 0;
  for (const Edit& e : edits) {
    result.contents.append(contents.substr(at, e.begin - at));
    result.contents += e.text;
    at = e.end;
  }
  result.contents.append(contents.substr(at));
  // Taking characters out can join what is left into a code ("%%" and "d", a backslash and a
  // letter): such a result would read differently, so the contents stay as they were.
  if (Display(result.contents, kind).utf8 != expected) {
    result.contents = std::string(contents);
    result.refused = matches.size();
    return result;
  }
  result.count = matches.size();
  return result;
}

Replaced ReplaceAll(const Pattern& pattern, std::string_view contents, TextKind kind, std::string_view replacement) {
  DisplayedText shown = Display(contents, kind);
  std::vector<Match> matches = Find(pattern, shown);
  if (matches.empty()) return {std::string(contents), 0, 0};
  return Replace(contents, kind, shown, matches, replacement, pattern.options().regex);
}

}  // namespace mtextsearch
