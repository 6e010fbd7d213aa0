// Golden drawings stored as the differences from the drawing a session starts from.
//
// The format is a unified diff without context lines. The texts are taken as lines split at
// each LF (a CR stays part of its line, so CRLF files round-trip byte for byte; a text that ends
// with LF has an empty last line). Each hunk reads
//   @@ -<first input line it removes or inserts before>,<lines removed> +<first output line>,<lines added>
//   -<a removed line, as it is in the input>
//   +<an added line>
// with line numbers from 1, every line of the hunk ending with LF. No differences: an empty text.
#pragma once

#include <stdexcept>
#include <string>

namespace linediff {

// The differences that turn `from` into `to`.
std::string Diff(const std::string& from, const std::string& to);

// `from` with the differences applied. Throws std::runtime_error when the differences are
// malformed or do not fit `from` (a removed line that is not there, hunks out of order).
std::string Apply(const std::string& from, const std::string& diff);

}  // namespace linediff
