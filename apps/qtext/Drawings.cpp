// One drawing: its texts found in every space and block, matched, replaced and saved as SAVE saves, or spell-checked.
#include "apps/qtext/Drawings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "dbdim.h"
#include "dbents.h"
#include "dbmtext.h"
#include "qplatform/Drawing.h"
#include "spell/Spelling.h"

namespace qtext {
namespace {

using mtextsearch::TextKind;

// Around a match on its output line: this many characters on either side.
constexpr size_t kContextChars = 40;

struct Text {
  std::string contents;
  TextKind kind;
  const char* type;
};

bool TextOf(AcDbEntity* entity, Text& text) {
  if (auto* m = AcDbMText::cast(entity)) {
    text = {m->contentsConst(), TextKind::kMText, "MTEXT"};
  } else if (auto* t = AcDbText::cast(entity)) {
    text = {t->textStringConst(), TextKind::kSingleLine, "TEXT"};
  } else if (auto* d = AcDbDimension::cast(entity)) {
    char* override = d->dimensionText();
    text = {override, TextKind::kDimension, "DIMENSION"};
    delete[] override;
  } else {
    return false;
  }
  return true;
}

void SetText(AcDbEntity* entity, const std::string& contents) {
  if (auto* m = AcDbMText::cast(entity)) {
    m->setContents(contents.c_str());
  } else if (auto* t = AcDbText::cast(entity)) {
    t->setTextString(contents.c_str());
  } else if (auto* d = AcDbDimension::cast(entity)) {
    d->setDimensionText(contents.c_str());
    // The text the dimension's block draws follows its override, as the host's editor does it.
    d->recomputeDimBlock();
  }
}

// The text of a match's line: up to kContextChars characters either side, within its paragraph.
std::string Around(const mtextsearch::DisplayedText& shown, const mtextsearch::Match& m) {
  size_t begin = m.begin, end = m.end;
  while (begin > 0 && m.begin - begin < kContextChars && shown.utf8[shown.chars[begin - 1].offset] != '\n') --begin;
  while (end < shown.chars.size() && end - m.end < kContextChars && shown.utf8[shown.chars[end].offset] != '\n') ++end;
  auto offset = [&](size_t k) { return k < shown.chars.size() ? shown.chars[k].offset : shown.utf8.size(); };
  bool cutBefore = begin > 0 && shown.utf8[shown.chars[begin - 1].offset] != '\n';
  bool cutAfter = end < shown.chars.size() && shown.utf8[shown.chars[end].offset] != '\n';
  return (cutBefore ? u8"…" : "") + OneLine(shown.utf8.substr(offset(begin), offset(end) - offset(begin))) +
         (cutAfter ? u8"…" : "");
}

// The part of two displayed texts that differs, with up to kContextChars characters either side.
std::pair<std::string, std::string> Changed(const std::string& before, const std::string& after) {
  auto isStart = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
  size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  while (head > 0 && !isStart(before[head])) --head;
  while (tail > 0 && !isStart(before[before.size() - tail])) --tail;
  size_t from = head;
  for (size_t n = 0; from > 0 && n < kContextChars; ++n)
    do --from; while (from > 0 && !isStart(before[from]));
  size_t keep = 0;
  for (size_t n = 0; keep < tail && n < kContextChars; ++n)
    do ++keep; while (keep < tail && !isStart(before[before.size() - tail + keep]));
  auto cut = [&](const std::string& s) {
    return (from > 0 ? u8"…" : "") + OneLine(s.substr(from, s.size() - tail + keep - from)) + (keep < tail ? u8"…" : "");
  };
  return {cut(before), cut(after)};
}

std::string Handle(AcDbObjectId id) {
  char buffer[32];
  id.handle().getIntoAsciiBuffer(buffer);
  return buffer;
}

// The records whose entities are searched: model space, paper space, then every block.
std::vector<std::string> Spaces(AcDbDatabase& db) {
  std::vector<std::string> names{ACDB_MODEL_SPACE, ACDB_PAPER_SPACE};
  for (AcDbObjectId id : qhost::LoadBlockTexts(db)) {
    AcDbBlockTableRecord* record = nullptr;
    if (acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) continue;
    const char* name = nullptr;
    record->getName(name);
    names.push_back(name);
    record->close();
  }
  return names;
}

// Calls `each(id, text, layer)` for every text of the drawing that is not empty, space by space.
template <class Each>
void ForEachText(AcDbDatabase& db, Each each) {
  for (const std::string& space : Spaces(db)) {
    for (AcDbObjectId id : qhost::EntityIds(db, space.c_str())) {
      AcDbEntity* entity = nullptr;
      if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
      Text text;
      bool isText = TextOf(entity, text);
      const std::string layer = entity->layer();
      entity->close();
      if (isText && !text.contents.empty()) each(id, text, layer);
    }
  }
}

// Makes the folders of `path` that do not exist yet, as mkdir -p does.
bool MakeFolders(const std::string& path, std::string& error) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    std::string folder = path.substr(0, slash);
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
      error = "cannot make the folder " + folder + ": " + std::strerror(errno);
      return false;
    }
  }
  return true;
}

// The drawing at `path`; without a database when it cannot be read, which `result` then says.
qhost::DrawingLoad Loaded(const std::string& path, FileResult& result) {
  qhost::DrawingLoad load = qhost::LoadDrawing(path);
  if (!load.database) {
    result.failed = true;
    result.err = "qtext: " + load.error + "\n";
  }
  return load;
}

}  // namespace

std::string OneLine(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '\n')
      out += u8"↵";
    else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      out += c == '\t' ? ' ' : '?';
    else
      out += c;
  }
  return out;
}

FileResult ProcessDrawing(const Options& options, const mtextsearch::Pattern& pattern, const std::string& path,
                          const std::string& destination) {
  FileResult result;
  qhost::DrawingLoad load = Loaded(path, result);
  if (!load.database) return result;
  AcDbDatabase& db = *load.database;
  const bool replace = options.command == Command::kReplace;
  ForEachText(db, [&](AcDbObjectId id, const Text& text, const std::string& layer) {
    mtextsearch::DisplayedText shown = mtextsearch::Display(text.contents, text.kind);
    std::vector<mtextsearch::Match> matches = mtextsearch::Find(pattern, shown);
    if (matches.empty()) return;
    const std::string where = path + ":" + Handle(id) + ":" + text.type + ":" +
                              OneLine(mtextsearch::Display(layer, TextKind::kSingleLine).utf8) + ": ";
    if (!replace) {
      ++result.texts;
      result.matches += matches.size();
      for (const auto& m : matches) result.out += where + Around(shown, m) + "\n";
      return;
    }
    mtextsearch::Replaced replaced = mtextsearch::Replace(text.contents, text.kind, shown, matches,
                                                          options.replacement, options.search.regex);
    if (replaced.refused > 0) {
      result.err += "qtext: " + where + "left as it is: the replacement would join what is left into a code\n";
      return;
    }
    if (replaced.contents == text.contents) return;
    ++result.texts;
    result.matches += replaced.count;
    result.changed = true;
    if (options.dryRun) {
      auto [before, after] = Changed(shown.utf8, mtextsearch::Display(replaced.contents, text.kind).utf8);
      result.out += where + "- " + before + "\n" + where + "+ " + after + "\n";
      return;
    }
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) return;
    SetText(entity, replaced.contents);
    entity->close();
  });
  if (result.changed && !options.dryRun) {
    std::string error;
    const qhost::SaveKind kind = options.inPlace ? qhost::SaveKind::kSave : qhost::SaveKind::kSaveAs;
    if ((!options.inPlace && !MakeFolders(destination, error)) || !qhost::SaveDrawing(db, destination, &error, kind)) {
      result.failed = true;
      result.err += "qtext: " + path + ": not written to " + destination + ": " + error + "\n";
    }
  }
  return result;
}

FileResult SpellDrawing(const spelling::Checker& checker, std::map<std::string, std::string>& suggested,
                        const std::string& path) {
  FileResult result;
  qhost::DrawingLoad load = Loaded(path, result);
  if (!load.database) return result;
  ForEachText(*load.database, [&](AcDbObjectId id, const Text& text, const std::string&) {
    const spelling::Checked checked = checker.Check(text.contents, text.kind);
    if (checked.misspelt.empty()) return;
    ++result.texts;
    result.matches += checked.misspelt.size();
    for (const spelling::Misspelling& m : checked.misspelt) {
      auto [it, fresh] = suggested.emplace(m.word, std::string());
      if (fresh) {
        for (const std::string& s : checker.Suggest(m.word)) it->second += (it->second.empty() ? " " : ", ") + OneLine(s);
      }
      result.out += path + ":" + Handle(id) + ":" + OneLine(m.word) + ":" + it->second + "\n";
    }
  });
  return result;
}

}  // namespace qtext
