// Internals of MTextToRtf's pass files: rewrites of the working text through the fast helpers.
#pragma once

#include <afx.h>

#include <string.h>

#include <cstdint>
#include <vector>

#include <string>
#include <string_view>

#include "converter/MTextToRtfSupport.h"
#include "converter/TextHelpers.h"

namespace mtext_to_rtf {

// Whether the pattern stands in the text. A short pattern is looked for at each place its last
// byte stands (the letter of a code, where the first is a backslash that texts dense in codes
// hold every few bytes); a long one in time linear in both (the plain search compares the
// pattern afresh at each place its first byte stands).
inline bool Contains(std::string_view text, std::string_view pattern) {
  if (pattern.size() >= 16) return memmem(text.data(), text.size(), pattern.data(), pattern.size()) != nullptr;
  if (pattern.empty()) return true;
  if (pattern.size() > text.size()) return false;
  const size_t last = pattern.size() - 1;
  const char* at = text.data() + last;
  const char* const end = text.data() + text.size();
  while (at < end) {
    const char* hit = static_cast<const char*>(memchr(at, pattern[last], static_cast<size_t>(end - at)));
    if (hit == nullptr) return false;
    if (memcmp(hit - last, pattern.data(), last) == 0) return true;
    at = hit + 1;
  }
  return false;
}

// Replaces every occurrence of `pattern` (which begins with an escaped backslash) whose two
// backslashes form one escaped pair: its first backslash must not close a pair of its own.
// Occurrences are taken from left to right and do not overlap.
inline std::string ReplaceEscaped(std::string_view text, std::string_view pattern, std::string_view replacement) {
  std::string out;
  size_t from = 0;
  for (size_t hit = text.find(pattern); hit != std::string_view::npos; hit = text.find(pattern, hit + 1)) {
    if (hit < from || detail::Escaped(text, hit)) continue;
    out.append(text, from, hit - from);
    out.append(replacement);
    from = hit + pattern.size();
  }
  out.append(text, from, std::string_view::npos);
  return out;
}

// ReplaceAll on the text in place: every occurrence of `pattern` becomes `replacement`. A
// pattern that begins with an escaped backslash ("\\P") names a literal backslash before a code
// letter; it does not match where its first backslash closes a pair of its own, as in "a\\\P" (a
// typed backslash, then a paragraph break), or the code behind the pair would be hidden and
// reach the control as an unknown word.
inline void ReplaceAllIn(CString& text, std::string_view pattern, std::string_view replacement) {
  // Most patterns are absent.
  if (!Contains(detail::View(text), pattern)) return;
  if (StartsWithEscapedBackslash(pattern)) {
    text = detail::ToCString(ReplaceEscaped(detail::View(text), pattern, replacement));
    return;
  }
  text = detail::ToCString(detail::ReplaceAll(detail::View(text), pattern, replacement));
}

template <size_t N>
void ApplyRewrites(CString& text, const Rewrite (&rewrites)[N]) {
  for (const Rewrite& r : rewrites) ReplaceAllIn(text, r.from, r.to);
}

inline std::string Bytes(const CString& text) { return std::string(detail::View(text)); }

// Hashes of every prefix of a text, so that any piece of it hashes in constant time.
class Hashes {
 public:
  explicit Hashes(std::string_view text = {}) { Assign(text); }
  // Hashes of another text, in the memory these held.
  void Assign(std::string_view text) {
    m_prefix.resize(text.size() + 1);
    m_prefix[0] = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      m_prefix[i + 1] = m_prefix[i] * kBase + static_cast<unsigned char>(text[i]) + 1;
    }
  }
  std::uint64_t Of(size_t first, size_t end) const { return m_prefix[end] - m_prefix[first] * Power(end - first); }

 private:
  static constexpr std::uint64_t kBase = 1000003;
  static std::uint64_t Power(size_t n) {
    static std::vector<std::uint64_t> powers{1};
    while (powers.size() <= n) powers.push_back(powers.back() * kBase);
    return powers[n];
  }
  std::vector<std::uint64_t> m_prefix;
};

inline std::string DecimalText(long long n) { return std::to_string(n); }

inline std::string_view View(const CString& text) { return detail::View(text); }

}  // namespace mtext_to_rtf
