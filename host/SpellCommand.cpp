// The spelling command: every text of the drawing checked as displayed, the misspelt words
// listed, and each zoomed to, replaced, skipped or taken into the personal dictionary.
#include "host/SpellCommand.h"

#include <acedads.h>

#include <algorithm>
#include <string>
#include <vector>

#include "converter/MTextSearch.h"
#include "host/DrawingAdapter.h"
#include "host/DrawingTexts.h"
#include "spell/Spelling.h"

namespace {

using drawingtexts::DrawingText;

const char kChoicePrompt[] =
    "\nНомер - показать, R номер [вариант] - заменить, S номер - пропустить все, D номер - добавить в словарь "
    "<выход>: ";
// The host's string prompts hold at most 132 bytes and the terminator.
constexpr size_t kAnswerSize = 133;

enum class State { kOpen, kReplaced, kSkipped, kAdded };

const char* Said(State state) {
  switch (state) {
    case State::kReplaced: return "заменено";
    case State::kSkipped: return "пропущено";
    case State::kAdded: return "в словаре";
    case State::kOpen: break;
  }
  return "";
}

// One numbered line of the list.
struct Listed {
  size_t text;  // in the checked texts
  spelling::Misspelling word;
  State state = State::kOpen;
};

struct Review {
  spelling::Checker checker;
  std::vector<DrawingText> texts;
  std::vector<Listed> listed;
};

void PrintList(const Review& review) {
  for (size_t i = 0; i < review.listed.size(); ++i) {
    const Listed& listed = review.listed[i];
    const DrawingText& text = review.texts[listed.text];
    drawingtexts::PrintListed(i + 1, text,
                              listed.state != State::kOpen ? "(" + std::string(Said(listed.state)) + ")"
                                                           : drawingtexts::LineAround(text, listed.word.begin, listed.word.end));
  }
}

// The word a number names; null (and said why) for one that is not in the list or is dealt with.
Listed* Numbered(Review& review, const std::string& word) {
  size_t index = 0;
  if (!drawingtexts::ListNumber(word, review.listed.size(), index)) {
    acutPrintf("\nНет слова с номером %s.", word.c_str());
    return nullptr;
  }
  Listed& listed = review.listed[index];
  if (listed.state != State::kOpen) {
    acutPrintf("\nСлово %zu уже не в работе: %s.", index + 1, Said(listed.state));
    return nullptr;
  }
  return &listed;
}

// What follows the option letter: the word's number and, for a replacement, the suggestion's.
void SplitAnswer(const std::string& answer, std::string& number, std::string& choice) {
  const size_t first = answer.find_first_not_of(' ', 1);
  const size_t gap = first == std::string::npos ? std::string::npos : answer.find(' ', first);
  number = first == std::string::npos ? std::string() : answer.substr(first, gap - first);
  const size_t second = gap == std::string::npos ? std::string::npos : answer.find_first_not_of(' ', gap);
  choice = second == std::string::npos ? std::string() : answer.substr(second);
}

void PrintSuggestions(const std::vector<std::string>& suggestions, const std::string& word) {
  if (suggestions.empty()) {
    acutPrintf("\nДля «%s» вариантов нет.", drawingtexts::ForPrompt(word).c_str());
    return;
  }
  std::string line;
  for (size_t i = 0; i < suggestions.size(); ++i)
    line += "  " + std::to_string(i + 1) + " " + drawingtexts::ForPrompt(suggestions[i]);
  acutPrintf("\nВарианты для «%s»:%s", drawingtexts::ForPrompt(word).c_str(), line.c_str());
}

// Replaces one listed word by `replacement` (UTF-8) in its formatting; the text's other listed
// words are checked again in the new contents, where they moved.
void ReplaceWord(Review& review, Listed& chosen, const std::string& replacement) {
  DrawingText& text = review.texts[chosen.text];
  const mtextsearch::Match match{chosen.word.begin, chosen.word.end, chosen.word.sourceBegin, chosen.word.sourceEnd, {}};
  const mtextsearch::Replaced replaced = mtextsearch::Replace(
      text.contents, text.kind, mtextsearch::Display(text.contents, text.kind), {match}, replacement, false);
  if (replaced.count == 0) {
    acutPrintf("\nТекст %s не изменен: замена прочиталась бы иначе.", text.handle.c_str());
    return;
  }
  if (drawingtexts::WriteText(text, replaced.contents) != Acad::eOk) {
    acutPrintf("\nТекст %s не открывается для записи.", text.handle.c_str());
    return;
  }
  chosen.state = State::kReplaced;
  const long shift = static_cast<long>(replaced.contents.size()) - static_cast<long>(text.contents.size());
  const spelling::Checked again = review.checker.Check(replaced.contents, text.kind);
  for (Listed& listed : review.listed) {
    if (listed.text != chosen.text || listed.state != State::kOpen) continue;
    const size_t moved = listed.word.sourceBegin > chosen.word.sourceBegin
                             ? static_cast<size_t>(static_cast<long>(listed.word.sourceBegin) + shift)
                             : listed.word.sourceBegin;
    auto found = std::find_if(again.misspelt.begin(), again.misspelt.end(),
                              [&](const spelling::Misspelling& m) { return m.sourceBegin == moved; });
    if (found == again.misspelt.end())
      listed.state = State::kReplaced;  // the replacement took it in
    else
      listed.word = *found;
  }
  text.contents = replaced.contents;
  RefreshDisplay();
  acutPrintf("\nЗаменено в тексте %s.", text.handle.c_str());
}

// "R n" shows the suggestions for word n, "R n k" replaces it by the k-th.
void AnswerReplace(Review& review, const std::string& answer) {
  std::string number, choice;
  SplitAnswer(answer, number, choice);
  Listed* listed = Numbered(review, number);
  if (listed == nullptr) return;
  const std::vector<std::string> suggestions = review.checker.Suggest(listed->word.word);
  size_t index = 0;
  if (choice.empty()) {
    PrintSuggestions(suggestions, listed->word.word);
  } else if (!drawingtexts::ListNumber(choice, suggestions.size(), index)) {
    acutPrintf("\nНет варианта с номером %s.", choice.c_str());
    PrintSuggestions(suggestions, listed->word.word);
  } else {
    ReplaceWord(review, *listed, suggestions[index]);
  }
}

// Every open listing of the word takes `state`.
size_t Settle(Review& review, const std::string& word, State state) {
  size_t count = 0;
  for (Listed& listed : review.listed)
    if (listed.state == State::kOpen && listed.word.word == word) {
      listed.state = state;
      ++count;
    }
  return count;
}

// "S n": the word is correct until the command ends; "D n": for good, in the personal dictionary.
void AnswerAccept(Review& review, const std::string& answer, bool keep) {
  std::string number, rest;
  SplitAnswer(answer, number, rest);
  Listed* listed = Numbered(review, number);
  if (listed == nullptr) return;
  const std::string word = listed->word.word;
  if (keep) {
    std::string error;
    if (!spelling::AddToPersonal(spelling::ConfigFolder(), word, error)) {
      acutPrintf("\nСловарь не записан: %s", drawingtexts::ForPrompt(error).c_str());
      return;
    }
    review.checker.AddWord(word);
  } else {
    review.checker.Ignore(word);
  }
  const size_t count = Settle(review, word, keep ? State::kAdded : State::kSkipped);
  acutPrintf(keep ? "\n«%s» добавлено в словарь, в списке: %zu." : "\n«%s» пропущено, в списке: %zu.",
             drawingtexts::ForPrompt(word).c_str(), count);
}

bool AnyLeft(const Review& review) {
  return std::any_of(review.listed.begin(), review.listed.end(),
                     [](const Listed& l) { return l.state == State::kOpen; });
}

// Answers until Enter: a number zooms, R replaces, S skips, D adds to the dictionary.
void AnswerWords(Review& review) {
  while (AnyLeft(review)) {
    char answer[kAnswerSize] = "";
    if (acedGetString(1, kChoicePrompt, answer) != RTNORM || answer[0] == '\0') return;
    const std::string word(answer);
    const char option = static_cast<char>(word[0] & ~0x20);
    if (option == 'R') {
      AnswerReplace(review, word);
    } else if (option == 'S' || option == 'D') {
      AnswerAccept(review, word, option == 'D');
    } else if (Listed* listed = Numbered(review, word)) {
      drawingtexts::ZoomTo(review.texts[listed->text]);
    }
  }
}

}  // namespace

void SpellCommand() {
  std::vector<std::string> warnings;
  Review review{spelling::Checker(spelling::LoadSettings(spelling::ConfigFolder(), &warnings)), {}, {}};
  for (const std::string& warning : warnings) acutPrintf("\n%s", drawingtexts::ForPrompt(warning).c_str());
  for (const std::string& missing : review.checker.missing())
    acutPrintf("\nНет словаря %s: его слова не проверяются.", missing.c_str());
  drawingtexts::ForEachText([&](DrawingText&& text) {
    const spelling::Checked checked = review.checker.Check(text.contents, text.kind);
    if (checked.misspelt.empty()) return;
    for (const spelling::Misspelling& word : checked.misspelt) review.listed.push_back({review.texts.size(), word});
    review.texts.push_back(std::move(text));
  });
  if (review.listed.empty()) {
    acutPrintf("\nОшибок нет.");
    return;
  }
  acutPrintf("\nСлов с ошибками: %zu, текстов: %zu.", review.listed.size(), review.texts.size());
  PrintList(review);
  AnswerWords(review);
}
