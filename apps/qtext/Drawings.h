// One drawing searched, and for replace changed and saved: what qtext does with each file.
#pragma once

#include <cstddef>
#include <string>

#include "apps/qtext/Options.h"
#include "converter/MTextSearch.h"

namespace qtext {

// What one file gave.
struct FileResult {
  bool failed = false;   // could not be read, or not written
  bool changed = false;  // replace: a text changed (written unless --dry-run)
  size_t texts = 0;      // texts with a match
  size_t matches = 0;    // matches found (find) or replaced (replace)
  std::string out;       // for standard output
  std::string err;       // for standard error
};

// Searches the drawing at `path`; replace writes it, when a text changed, to `destination`.
FileResult ProcessDrawing(const Options& options, const mtextsearch::Pattern& pattern, const std::string& path,
                          const std::string& destination);

// A displayed text on one line of output: a line break as "↵", other control characters as
// "?", so that text from a drawing never moves a terminal's cursor.
std::string OneLine(const std::string& utf8);

}  // namespace qtext
