// Finding and replacing in MText contents as a reader sees the text: codes are never matched and never broken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mtextsearch {

// How contents are read: multiline text (MTEXT) with its backslash codes, braces, stacks and
// %%-symbols; single-line text (TEXT), whose only codes are the %%-symbols, %%u %%o %%k and
// \U+XXXX; a dimension's text, multiline text whose "<>" (the measurement) is a code too.
enum class TextKind { kMText, kSingleLine, kDimension };

struct SearchOptions {
  bool ignoreCase = false;  // Unicode case folding: Cyrillic and every other script
  bool wholeWord = false;   // neither side of a match touches a letter, digit or underscore
  bool regex = false;       // a PCRE2 regular expression (UTF mode); otherwise literal text
};

// The text as displayed: UTF-8, each character with the bytes of the contents that write it.
struct DisplayedText {
  struct Char {
    uint32_t offset;       // of its first byte in `utf8`
    uint32_t sourceBegin;  // the bytes of the contents that write it
    uint32_t sourceEnd;
    int32_t stack = -1;    // the stack it is part of, or -1
    uint8_t part = 0;      // in a stack: 1 the upper part, 2 the divider, 3 the lower part
  };
  struct Stack {
    uint32_t sourceBegin, sourceEnd;  // the whole code, "\S" to its ";"
    uint32_t firstChar, endChar;      // its characters
  };
  std::string utf8;
  std::vector<Char> chars;
  std::vector<Stack> stacks;
};

// `contents` as kept in memory: code page 1251 bytes, a character that code page lacks as \U+XXXX.
// A paragraph (\P, a column break \N, a raw line feed) is "\n"; \~ a space; %%d %%p %%c are
// ° ± Ø; %%nnn the character of code page 1251 byte nnn; a stack is its upper part, its divider
// (^ / #) and its lower part.
DisplayedText Display(std::string_view contents, TextKind kind);

namespace detail {
struct Compiled;
}

// A compiled pattern. Copies share the compiled form; it is never changed after construction.
class Pattern {
 public:
  // The pattern as UTF-8 text (a command line), or as code page 1251 bytes (the editor's edit
  // box). A literal pattern is taken as typed; `error` is set for a regular expression that does
  // not compile, and the pattern then matches nothing.
  static Pattern FromUtf8(std::string_view pattern, const SearchOptions& options);
  static Pattern FromCp1251(std::string_view pattern, const SearchOptions& options);

  bool valid() const { return m_compiled != nullptr; }
  const std::string& error() const { return m_error; }
  const SearchOptions& options() const { return m_options; }
  const detail::Compiled* compiled() const { return m_compiled.get(); }

 private:
  std::shared_ptr<const detail::Compiled> m_compiled;
  std::string m_error;
  SearchOptions m_options;
};

// One match in the displayed text.
struct Match {
  size_t begin, end;              // characters of the displayed text (DisplayedText::chars)
  size_t sourceBegin, sourceEnd;  // bytes of the contents, the first matched character's to the last's
  // The capture groups of a regular expression as byte ranges of DisplayedText::utf8 (group 0
  // the whole match); SIZE_MAX for a group that took no part.
  std::vector<std::pair<size_t, size_t>> groups;
};

// Every match, in order, none overlapping. A match that would cut a stack (one part of it and
// text outside it, or both parts but not all of it) is no match; nor is an empty one.
std::vector<Match> Find(const Pattern& pattern, const DisplayedText& shown);
std::vector<Match> Find(const Pattern& pattern, std::string_view contents, TextKind kind);

struct Replaced {
  std::string contents;  // code page 1251, characters the code page lacks as \U+XXXX
  size_t count = 0;    // matches replaced
  size_t refused = 0;  // matches left because the result would have read differently (then all are)
};

// Replaces `matches` (found by Find in the same contents) with `replacement`, UTF-8 text taken
// as typed: in the contents it comes out escaped ({ } \ in multiline text, a line break as \P).
// With a regular expression, $1..$99, ${n} and $$ in the replacement stand for a group's text
// and a dollar. A match inside one run keeps the run's codes; a match across runs takes the
// formatting of its first character: the replacement stands where that character stood, the
// other matched characters go, and every code between them stays.
Replaced Replace(std::string_view contents, TextKind kind, const DisplayedText& shown,
                 const std::vector<Match>& matches, std::string_view replacement, bool expandGroups);
// Every match of `pattern` replaced.
Replaced ReplaceAll(const Pattern& pattern, std::string_view contents, TextKind kind, std::string_view replacement);

// Code page 1251 bytes as UTF-8 (for a pattern or replacement typed in the editor).
std::string Cp1251ToUtf8(std::string_view bytes);

}  // namespace mtextsearch
