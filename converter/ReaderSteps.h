// Internals of the reader's pass files: rewrites of the working text through the fast helpers.
#pragma once

#include <afx.h>

#include <string>
#include <string_view>

#include "converter/ReaderSupport.h"
#include "converter/TextHelpers.h"

namespace reader {

// Every occurrence of `from` in the text becomes `to`.
inline void ReplaceIn(CString& text, std::string_view from, std::string_view to) {
  if (text.Find(CString(from.data(), static_cast<int>(from.size()))) < 0) return;
  text = detail::ToCString(detail::ReplaceAll(detail::View(text), to, from));
}

template <size_t N>
void ApplyRewrites(CString& text, const Rewrite (&rewrites)[N]) {
  for (const Rewrite& r : rewrites) ReplaceIn(text, r.from, r.to);
}

inline std::string Bytes(const CString& text) { return std::string(detail::View(text)); }

inline std::string DecimalText(long long n) { return std::to_string(n); }

inline std::string_view View(const CString& text) { return detail::View(text); }

}  // namespace reader
