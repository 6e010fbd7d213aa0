// The character helpers the displayed text and the replacements share (internal; tests may include it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "converter/MTextSearch.h"

namespace mtextsearch::detail {

constexpr uint32_t kReplacementChar = 0xFFFD;

void AppendUtf8(std::string& out, uint32_t cp);
// The character at `i` of UTF-8 text and its length; a byte that starts no well-formed character
// is U+FFFD of length 1.
uint32_t Utf8At(std::string_view s, size_t i, size_t& length);

// The character of the escape "\U+XXXX" at `i` (a surrogate pair of two escapes as one
// character, a lone surrogate as U+FFFD) and the escape's length; -1 when none stands there.
long UnicodeEscapeAt(std::string_view s, size_t i, size_t& length);

// One character as the contents hold it: a code page 1251 byte, or "\U+XXXX".
void AppendContentsChar(std::string& out, uint32_t cp);

// Typed text (UTF-8) as contents of `kind` that display as that text: braces and backslashes
// escaped, a line break as \P, a character code page 1251 lacks as \U+XXXX. `inStack`: it goes
// into a part of a stack, where ^ / # and ; are escaped too and a line break is a space.
std::string EncodeTyped(std::string_view utf8, TextKind kind, bool inStack);

}  // namespace mtextsearch::detail
