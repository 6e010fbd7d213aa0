// The find command: every MText, dimension text and single-line text of the drawing searched as
// displayed, the matches listed, and each zoomed to or replaced as the user answers.
#include "host/FindCommand.h"

#include <acedads.h>
#include <adscodes.h>

#include <algorithm>
#include <string>
#include <vector>

#include "converter/MTextSearch.h"
#include "host/DrawingAdapter.h"
#include "host/DrawingTexts.h"

namespace {

using drawingtexts::DrawingText;

const char kFindPrompt[] = "\nНайти: ";
const char kReplacePrompt[] = "\nЗаменить на <только найти>: ";
const char kChoicePrompt[] = "\nНомер - показать, R номер - заменить, A - заменить все <выход>: ";
// The host's string prompts hold at most 132 bytes and the terminator.
constexpr size_t kAnswerSize = 133;

// One numbered line of the list.
struct Listed {
  size_t text;  // in the found texts
  mtextsearch::Match match;
  bool done = false;  // replaced, or no longer there
};

struct Search {
  mtextsearch::Pattern pattern;
  std::string replacement;  // UTF-8; empty: find only
  std::vector<DrawingText> texts;
  std::vector<Listed> listed;
};

void PrintList(const Search& search) {
  for (size_t i = 0; i < search.listed.size(); ++i) {
    const Listed& listed = search.listed[i];
    const DrawingText& text = search.texts[listed.text];
    drawingtexts::PrintListed(i + 1, text,
                              listed.done ? "(заменено)" : drawingtexts::LineAround(text, listed.match.begin, listed.match.end));
  }
}

// The match a number names; null (and said why) for one that is not in the list or is gone.
Listed* Numbered(Search& search, const std::string& word) {
  size_t index = 0;
  if (!drawingtexts::ListNumber(word, search.listed.size(), index)) {
    acutPrintf("\nНет совпадения с номером %s.", word.c_str());
    return nullptr;
  }
  Listed& listed = search.listed[index];
  if (listed.done) {
    acutPrintf("\nСовпадение %zu уже заменено.", index + 1);
    return nullptr;
  }
  return &listed;
}

// Replaces the listed matches of one text that are not done yet and `only` (when given) among
// them; the others of the text are found again in the new contents, where they moved.
size_t ReplaceInText(Search& search, size_t textIndex, const Listed* only) {
  DrawingText& text = search.texts[textIndex];
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
  if (drawingtexts::WriteText(text, replaced.contents) != Acad::eOk) {
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
      drawingtexts::ZoomTo(search.texts[listed->text]);
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
  drawingtexts::ForEachText([&](DrawingText&& text) {
    const std::vector<mtextsearch::Match> matches = mtextsearch::Find(search.pattern, text.contents, text.kind);
    if (matches.empty()) return;
    for (const mtextsearch::Match& match : matches) search.listed.push_back({search.texts.size(), match});
    search.texts.push_back(std::move(text));
  });
  if (search.listed.empty()) {
    acutPrintf("\nНе найдено: %s", pattern);
    return;
  }
  acutPrintf("\nНайдено совпадений: %zu, текстов: %zu.", search.listed.size(), search.texts.size());
  PrintList(search);
  AnswerMatches(search);
}
