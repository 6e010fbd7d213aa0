// What a word of the displayed text is, and which words are never checked (internal; tests may include it).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "converter/MTextSearch.h"

namespace spelling::detail {

enum class Script { kLatin, kCyrillic, kOther };

// Why a word is, or is not, looked up in a dictionary.
enum class WordKind {
  kChecked,       // looked up
  kWithDigits,    // holds a digit: a number, a mark ("М1"), a size ("10мм")
  kUnit,          // mm, м, кг, °C ...
  kFileName,      // plan.dxf, C:\drawings\a.dwg, a path or an address on the web
  kEmail,         // name@host.org
  kAbbreviation,  // capitals only (unless the options check them); a title block's "Изм." "Разраб."
  kSingleLetter,  // an axis, a point, an index
  kOtherScript,   // no dictionary for its script (Greek, mixed with symbols ...)
};

struct Word {
  size_t begin, end;              // characters of the displayed text
  size_t sourceBegin, sourceEnd;  // bytes of the contents
  std::string utf8;               // as displayed; a word hyphenated at a line break as its parts joined
  Script script;
  WordKind kind;
};

// The words of a displayed text, in order. A word is letters with apostrophes and hyphens inside
// it; it ends at a stack's parts and divider, and goes on after a hyphen that ends a line. Its
// script is the script most of its letters have.
std::vector<Word> Words(const mtextsearch::DisplayedText& shown, bool checkCapitals);

const char* KindName(WordKind kind);

}  // namespace spelling::detail
