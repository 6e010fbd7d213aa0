// Reads any RTF into a document, as the version 1.0 control does: never fails, skips what it cannot use.
#pragma once

#include "Document.h"

#include <string>

namespace richedit {

// Each \par ends a paragraph with its own mark. What follows the last \par is the document's last
// paragraph; its mark takes the format of its last character or, when it holds no text, the format
// in force at the end of the stream. `defaultFormat` is where \plain returns to.
Document ReadRtf(const std::string& rtf, const CharFormat& defaultFormat);

}  // namespace richedit
