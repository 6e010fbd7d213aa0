// The find command: every MText, dimension text and single-line text of the drawing searched as
// displayed, the matches listed, and each zoomed to or replaced as the user answers.
#include "host/FindCommand.h"

#include <acedads.h>
#include <adscodes.h>
#include <dbapserv.h>
#include <dbdim.h>
#include <dbents.h>
#include <dbmtext.h>
#include <dbsymtb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "converter/MTextSearch.h"
#include "converter/MTextSearchDetail.h"
#include "host/DrawingAdapter.h"

namespace {

using mtextsearch::TextKind;

const char kFindPrompt[] = "\nНайти: ";
const char kReplacePrompt[] = "\nЗаменить на <только найти>: ";
const char kChoicePrompt[] = "\nНомер - показать, R номер - заменить, A - заменить все <выход>: ";
// Characters of the displayed line shown on each side of a match.
constexpr size_t kContextChars = 24;
// How much of the drawing a zoom shows around a text, in its heights.
constexpr double kZoomHeights = 12.0;
// The host's string prompts hold at most 132 bytes and the terminator.
constexpr size_t kAnswerSize = 133;

// A text of the drawing with a match in it.
struct FoundText {
  AcDbObjectId id;
  std::string block;   // the block table record: *Model_Space, a paper space or a block
  std::string layer;
  std::string handle;
  TextKind kind;
  std::string contents;
  AcGePoint3d position;  // where a zoom centres
  double size;           // the text's height, or the drawing's text size for a dimension
};

// One numbered line of the list.
struct Listed {
  size_t text;  // in the found texts
  mtextsearch::Match match;
  bool done = false;  // replaced, or no longer there
};

struct Search {
  mtextsearch::Pattern pattern;
  std::string replacement;  // UTF-8; empty: find only
  std::vector<FoundText> texts;
  std::vector<Listed> listed;
};

std::string TakeHostString(char* text) {
  std::string copy(text ? text : "");
  acutDelString(text);
  return copy;
}

// The text an entity shows and how to read it; false for an entity that shows none.
bool ReadText(const AcDbEntity& entity, FoundText& found) {
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

Acad::ErrorStatus WriteText(AcDbObjectId id, TextKind kind, const std::string& contents) {
  AcDbEntity* entity = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(entity, id, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  if (kind == TextKind::kMText) {
    es = AcDbMText::cast(entity)->setContents(contents.c_str());
  } else if (kind == TextKind::kDimension) {
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

// The texts of one block table record that the pattern matches, with their matches listed.
void SearchBlock(AcDbBlockTableRecord& block, Search& search) {
  const char* name = nullptr;
  block.getName(name);
  AcDbBlockTableRecordIterator* it = nullptr;
  block.newIterator(it, true, true);
  for (; it != nullptr && !it->done(); it->step(true, true)) {
    AcDbEntity* entity = nullptr;
    if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
    FoundText found;
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
    if (!text) continue;
    const std::vector<mtextsearch::Match> matches = mtextsearch::Find(search.pattern, found.contents, found.kind);
    if (matches.empty()) continue;
    for (const mtextsearch::Match& match : matches) search.listed.push_back({search.texts.size(), match});
    search.texts.push_back(std::move(found));
  }
  delete it;
}

// Model space, the paper spaces and the blocks, in the block table's order.
void SearchDrawing(Search& search) {
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
    if (name == nullptr || std::strncmp(name, "*D", 2) != 0) SearchBlock(*block, search);
    block->close();
  }
  delete it;
  blocks->close();
}

// Displayed characters (UTF-8) as the command line's code page 1251.
std::string Printable(const mtextsearch::DisplayedText& shown, size_t from, size_t to) {
  std::string out;
  const size_t begin = from < shown.chars.size() ? shown.chars[from].offset : shown.utf8.size();
  const size_t end = to < shown.chars.size() ? shown.chars[to].offset : shown.utf8.size();
  for (size_t i = begin; i < end;) {
    size_t length = 0;
    const uint32_t cp = mtextsearch::detail::Utf8At(shown.utf8, i, length);
    i += length;
    mtextsearch::detail::AppendContentsChar(out, cp);
  }
  return out;
}

bool IsLineBreak(const mtextsearch::DisplayedText& shown, size_t c) {
  return shown.utf8[shown.chars[c].offset] == '\n';
}

// The displayed line around a match, cut to a few words on each side, the match in « ».
std::string LineAround(const FoundText& text, const mtextsearch::Match& match) {
  const mtextsearch::DisplayedText shown = mtextsearch::Display(text.contents, text.kind);
  size_t from = match.begin;
  while (from > 0 && match.begin - from < kContextChars && !IsLineBreak(shown, from - 1)) --from;
  size_t to = match.end;
  while (to < shown.chars.size() && to - match.end < kContextChars && !IsLineBreak(shown, to)) ++to;
  std::string line = from > 0 && !IsLineBreak(shown, from - 1) ? "..." : "";
  line += Printable(shown, from, match.begin) + "«" + Printable(shown, match.begin, match.end) + "»" +
          Printable(shown, match.end, to);
  if (to < shown.chars.size() && !IsLineBreak(shown, to)) line += "...";
  return line;
}

void PrintList(const Search& search) {
  for (size_t i = 0; i < search.listed.size(); ++i) {
    const Listed& listed = search.listed[i];
    const FoundText& text = search.texts[listed.text];
    acutPrintf("\n%3zu  %s  слой %s  %s  %s", i + 1, text.block.c_str(), text.layer.c_str(), text.handle.c_str(),
               listed.done ? "(заменено)" : LineAround(text, listed.match).c_str());
  }
}

// The match a number names; null (and said why) for one that is not in the list or is gone.
Listed* Numbered(Search& search, const std::string& word) {
  char* end = nullptr;
  const long number = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || number < 1 || static_cast<size_t>(number) > search.listed.size()) {
    acutPrintf("\nНет совпадения с номером %s.", word.c_str());
    return nullptr;
  }
  Listed& listed = search.listed[static_cast<size_t>(number) - 1];
  if (listed.done) {
    acutPrintf("\nСовпадение %ld уже заменено.", number);
    return nullptr;
  }
  return &listed;
}

// The current space: model space while TILEMODE is 1, paper space otherwise.
bool InCurrentSpace(const FoundText& text) {
  int tilemode = 1;
  GetVarInt("TILEMODE", tilemode);
  return text.block == (tilemode == 1 ? ACDB_MODEL_SPACE : ACDB_PAPER_SPACE);
}

void ZoomTo(const FoundText& text) {
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

// Replaces the listed matches of one text that are not done yet and `only` (when given) among
// them; the others of the text are found again in the new contents, where they moved.
size_t ReplaceInText(Search& search, size_t textIndex, const Listed* only) {
  FoundText& text = search.texts[textIndex];
  std::vector<Listed*> pending;
  for (Listed& listed : search.listed)
    if (listed.text == textIndex && !listed.done) pending.push_back(&listed);
  std::vector<mtextsearch::Match> chosen;
  for (Listed* listed : pending)
    if (only == nullptr || listed == only) chosen.push_back(listed->match);
  const mtextsearch::DisplayedText shown = mtextsearch::Display(text.contents, text.kind);
  const mtextsearch::Replaced replaced = mtextsearch::Replace(text.contents, text.kind, shown, chosen, search.replacement,
                                                              search.pattern.options().regex);
  if (replaced.count == 0) {
    acutPrintf("\nТекст %s не изменен: замена прочиталась бы иначе.", text.handle.c_str());
    return 0;
  }
  if (WriteText(text.id, text.kind, replaced.contents) != Acad::eOk) {
    acutPrintf("\nТекст %s не открывается для записи.", text.handle.c_str());
    return 0;
  }
  // A match behind a replaced one moved by what the replacement added or took away.
  const std::vector<mtextsearch::Match> again = mtextsearch::Find(search.pattern, replaced.contents, text.kind);
  for (Listed* listed : pending) {
    if (only == nullptr || listed == only) {
      listed->done = true;
      continue;
    }
    const long shift = listed->match.sourceBegin > only->match.sourceBegin
                           ? static_cast<long>(replaced.contents.size()) - static_cast<long>(text.contents.size())
                           : 0;
    const size_t moved = static_cast<size_t>(static_cast<long>(listed->match.sourceBegin) + shift);
    auto found = std::find_if(again.begin(), again.end(),
                              [&](const mtextsearch::Match& m) { return m.sourceBegin == moved; });
    if (found == again.end())
      listed->done = true;
    else
      listed->match = *found;
  }
  text.contents = replaced.contents;
  return replaced.count;
}

// Every match left, as one step of the drawing's undo.
void ReplaceAll(Search& search) {
  acedCommand(RTSTR, "_.UNDO", RTSTR, "_BE", RTNONE);
  size_t count = 0, texts = 0;
  for (size_t t = 0; t < search.texts.size(); ++t) {
    const size_t replaced = ReplaceInText(search, t, nullptr);
    count += replaced;
    texts += replaced > 0 ? 1 : 0;
  }
  acedCommand(RTSTR, "_.UNDO", RTSTR, "_E", RTNONE);
  RefreshDisplay();
  acutPrintf("\nЗаменено совпадений: %zu, текстов: %zu.", count, texts);
}

bool AnyLeft(const Search& search) {
  return std::any_of(search.listed.begin(), search.listed.end(), [](const Listed& l) { return !l.done; });
}

// Answers until Enter: a number zooms, "R n" replaces one, "A" replaces all.
void AnswerMatches(Search& search) {
  const bool replacing = !search.replacement.empty();
  while (AnyLeft(search)) {
    char answer[kAnswerSize] = "";
    if (acedGetString(1, kChoicePrompt, answer) != RTNORM || answer[0] == '\0') return;
    std::string word(answer);
    const char option = static_cast<char>(word[0] & ~0x20);
    if ((option == 'R' || option == 'A') && !replacing) {
      acutPrintf("\nЗамена не задана: только поиск.");
    } else if (option == 'A' && word.size() == 1) {
      ReplaceAll(search);
    } else if (option == 'R') {
      const size_t digits = word.find_first_not_of(' ', 1);
      if (Listed* listed = Numbered(search, digits == std::string::npos ? std::string() : word.substr(digits))) {
        const size_t count = ReplaceInText(search, listed->text, listed);
        RefreshDisplay();
        if (count > 0) acutPrintf("\nЗаменено в тексте %s.", search.texts[listed->text].handle.c_str());
      }
    } else if (Listed* listed = Numbered(search, word)) {
      ZoomTo(search.texts[listed->text]);
    }
  }
}

}  // namespace

void FindCommand() {
  char pattern[kAnswerSize] = "";
  if (acedGetString(1, kFindPrompt, pattern) != RTNORM || pattern[0] == '\0') return;
  char replacement[kAnswerSize] = "";
  if (acedGetString(1, kReplacePrompt, replacement) != RTNORM) return;
  Search search{mtextsearch::Pattern::FromCp1251(pattern, mtextsearch::SearchOptions{}),
                mtextsearch::Cp1251ToUtf8(replacement), {}, {}};
  SearchDrawing(search);
  if (search.listed.empty()) {
    acutPrintf("\nНе найдено: %s", pattern);
    return;
  }
  acutPrintf("\nНайдено совпадений: %zu, текстов: %zu.", search.listed.size(), search.texts.size());
  PrintList(search);
  AnswerMatches(search);
}
