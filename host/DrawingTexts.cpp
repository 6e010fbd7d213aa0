// The drawing's texts for the drawing-wide commands: walked in every space and block, listed
// with the line around what was found, zoomed to and written back.
#include "host/DrawingTexts.h"

#include <acedads.h>
#include <adscodes.h>
#include <dbapserv.h>
#include <dbdim.h>
#include <dbents.h>
#include <dbmtext.h>
#include <dbsymtb.h>

#include <cstdlib>
#include <cstring>

#include "converter/MTextSearchDetail.h"
#include "host/DrawingAdapter.h"

namespace drawingtexts {

namespace {

using mtextsearch::TextKind;

// Characters of the displayed line shown on each side of what was found.
constexpr size_t kContextChars = 24;
// How much of the drawing a zoom shows around a text, in its heights.
constexpr double kZoomHeights = 12.0;

std::string TakeHostString(char* text) {
  std::string copy(text ? text : "");
  acutDelString(text);
  return copy;
}

// The text an entity shows and how to read it; false for an entity that shows none.
bool ReadText(const AcDbEntity& entity, DrawingText& found) {
  if (const AcDbMText* mtext = AcDbMText::cast(&entity)) {
    found.kind = TextKind::kMText;
    found.contents = TakeHostString(mtext->contents());
    found.position = mtext->location();
    found.size = mtext->textHeight();
  } else if (const AcDbDimension* dimension = AcDbDimension::cast(&entity)) {
    found.kind = TextKind::kDimension;
    found.contents = TakeHostString(dimension->dimensionText());
    found.position = dimension->textPosition();
    double size = 0.0;
    found.size = GetVarReal("TEXTSIZE", size) == 0 && size > 0.0 ? size : 2.5;
  } else if (const AcDbText* text = AcDbText::cast(&entity)) {
    found.kind = TextKind::kSingleLine;
    found.contents = TakeHostString(text->textString());
    found.position = text->position();
    found.size = text->height();
  } else {
    return false;
  }
  return true;
}

void VisitBlock(AcDbBlockTableRecord& block, const std::function<void(DrawingText&&)>& visit) {
  const char* name = nullptr;
  block.getName(name);
  AcDbBlockTableRecordIterator* it = nullptr;
  block.newIterator(it, true, true);
  for (; it != nullptr && !it->done(); it->step(true, true)) {
    AcDbEntity* entity = nullptr;
    if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
    DrawingText found;
    const bool text = ReadText(*entity, found);
    if (text) {
      found.id = entity->objectId();
      found.block = name ? name : "";
      found.layer = entity->layer();
      AcDbHandle handle;
      entity->getAcDbHandle(handle);
      char hex[17];
      handle.getIntoAsciiBuffer(hex);
      found.handle = hex;
    }
    entity->close();
    if (text) visit(std::move(found));
  }
  delete it;
}

// Displayed characters [from, to) as the command line's code page.
std::string Printable(const mtextsearch::DisplayedText& shown, size_t from, size_t to) {
  const size_t begin = from < shown.chars.size() ? shown.chars[from].offset : shown.utf8.size();
  const size_t end = to < shown.chars.size() ? shown.chars[to].offset : shown.utf8.size();
  return ForPrompt(std::string_view(shown.utf8).substr(begin, end - begin));
}

bool IsLineBreak(const mtextsearch::DisplayedText& shown, size_t c) {
  return shown.utf8[shown.chars[c].offset] == '\n';
}

// The current space: model space while TILEMODE is 1, paper space otherwise.
bool InCurrentSpace(const DrawingText& text) {
  int tilemode = 1;
  GetVarInt("TILEMODE", tilemode);
  return text.block == (tilemode == 1 ? ACDB_MODEL_SPACE : ACDB_PAPER_SPACE);
}

}  // namespace

void ForEachText(const std::function<void(DrawingText&&)>& visit) {
  AcDbBlockTable* blocks = nullptr;
  if (acdbHostApplicationServices()->workingDatabase()->getSymbolTable(blocks, AcDb::kForRead) != Acad::eOk) return;
  AcDbBlockTableIterator* it = nullptr;
  blocks->newIterator(it, true, true);
  for (; it != nullptr && !it->done(); it->step(true, true)) {
    AcDbBlockTableRecord* block = nullptr;
    if (it->getRecord(block, AcDb::kForRead) != Acad::eOk) continue;
    const char* name = nullptr;
    block->getName(name);
    // A dimension's block (*D…) draws the dimension's own text, which the host makes again from it.
    if (name == nullptr || std::strncmp(name, "*D", 2) != 0) VisitBlock(*block, visit);
    block->close();
  }
  delete it;
  blocks->close();
}

Acad::ErrorStatus WriteText(const DrawingText& text, const std::string& contents) {
  AcDbEntity* entity = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(entity, text.id, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  if (text.kind == TextKind::kMText) {
    es = AcDbMText::cast(entity)->setContents(contents.c_str());
  } else if (text.kind == TextKind::kDimension) {
    AcDbDimension* dimension = AcDbDimension::cast(entity);
    es = dimension->setDimensionText(contents.c_str());
    // The dimension's block draws its text; the host makes it again only when asked.
    if (es == Acad::eOk) dimension->recomputeDimBlock();
  } else {
    es = AcDbText::cast(entity)->setTextString(contents.c_str());
  }
  entity->close();
  return es;
}

std::string ForPrompt(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    size_t length = 0;
    const uint32_t cp = mtextsearch::detail::Utf8At(utf8, i, length);
    i += length;
    mtextsearch::detail::AppendContentsChar(out, cp);
  }
  return out;
}

std::string LineAround(const DrawingText& text, size_t begin, size_t end) {
  const mtextsearch::DisplayedText shown = mtextsearch::Display(text.contents, text.kind);
  size_t from = begin;
  while (from > 0 && begin - from < kContextChars && !IsLineBreak(shown, from - 1)) --from;
  size_t to = end;
  while (to < shown.chars.size() && to - end < kContextChars && !IsLineBreak(shown, to)) ++to;
  std::string line = from > 0 && !IsLineBreak(shown, from - 1) ? "..." : "";
  line += Printable(shown, from, begin) + "«" + Printable(shown, begin, end) + "»" + Printable(shown, end, to);
  if (to < shown.chars.size() && !IsLineBreak(shown, to)) line += "...";
  return line;
}

void PrintListed(size_t number, const DrawingText& text, const std::string& what) {
  acutPrintf("\n%3zu  %s  слой %s  %s  %s", number, text.block.c_str(), text.layer.c_str(), text.handle.c_str(),
             what.c_str());
}

bool ListNumber(const std::string& word, size_t count, size_t& index) {
  char* end = nullptr;
  const long number = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || number < 1 || static_cast<size_t>(number) > count) return false;
  index = static_cast<size_t>(number) - 1;
  return true;
}

void ZoomTo(const DrawingText& text) {
  if (!InCurrentSpace(text)) {
    acutPrintf("\nТекст %s не в текущем пространстве (%s): показать его нельзя.", text.handle.c_str(),
               text.block.c_str());
    return;
  }
  const double half = text.size * kZoomHeights;
  const ads_point first = {text.position.x - half, text.position.y - half / 2, 0.0};
  const ads_point second = {text.position.x + half, text.position.y + half / 2, 0.0};
  acedCommand(RTSTR, "_.ZOOM", RTSTR, "_W", RTPOINT, first, RTPOINT, second, RTNONE);
}

}  // namespace drawingtexts
