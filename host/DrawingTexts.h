// The texts of the whole drawing as the drawing-wide commands walk, list, show and rewrite them.
#pragma once

#include <acadstrc.h>
#include <dbid.h>
#include <gepnt3d.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "converter/MTextSearch.h"

namespace drawingtexts {

// An MText, a dimension's text or a single-line text of the drawing.
struct DrawingText {
  AcDbObjectId id;
  std::string block;   // the block table record: *Model_Space, a paper space or a block
  std::string layer;
  std::string handle;
  mtextsearch::TextKind kind = mtextsearch::TextKind::kMText;
  std::string contents;  // code page 1251, as the drawing keeps it
  AcGePoint3d position;  // where a zoom centres
  double size = 0.0;     // the text's height, or the drawing's text size for a dimension
};

// Every text of model space, the paper spaces and the blocks, in the block table's order; the
// texts a dimension's own block draws are left out (the dimension is visited instead).
void ForEachText(const std::function<void(DrawingText&&)>& visit);

// Writes new contents into the text; a dimension's block is made again to show them.
Acad::ErrorStatus WriteText(const DrawingText& text, const std::string& contents);

// UTF-8 as the command line's code page 1251 (a character it lacks as \U+XXXX).
std::string ForPrompt(std::string_view utf8);

// The displayed line around the characters [begin, end) of the text, cut to a few words on each
// side, those characters in « ».
std::string LineAround(const DrawingText& text, size_t begin, size_t end);

// One numbered line of a command's list: number, space, layer, handle and what was found there.
void PrintListed(size_t number, const DrawingText& text, const std::string& what);

// The list position (from 0) that a typed number names, when it is one of 1..count.
bool ListNumber(const std::string& word, size_t count, size_t& index);

// Zooms the current space to the text, or says why it cannot.
void ZoomTo(const DrawingText& text);

}  // namespace drawingtexts
