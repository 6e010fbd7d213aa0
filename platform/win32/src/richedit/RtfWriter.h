// Writes the document as the version 1.0 control writes RTF: one dialect, byte for byte.
#pragma once

#include "Document.h"

#include <string>

namespace richedit {

// from..to of the document; the last paragraph mark is written only when `withFinalMark`.
std::string WriteRtf(const Document& document, LONG from, LONG to, bool withFinalMark);

}  // namespace richedit
