// The checker on the system's Russian and English dictionaries: planted misspellings found, correct
// words left alone, suggestions, and a check after a change that looks up only the words it touched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell/Spelling.h"
#include "tests/support/Bytes.h"

namespace {

using mtextsearch::TextKind;

// The dictionaries load once for every test here (about half a second).
const spelling::Checker& DefaultChecker() {
  static const spelling::Checker checker{spelling::Settings{}};
  return checker;
}

std::string Marked(const spelling::Checked& checked) {
  std::string out;
  for (const auto& m : checked.misspelt) out += (out.empty() ? "" : " | ") + m.word;
  return out;
}

struct PlantedCase {
  const char* contents;  // code page 1251
  TextKind kind;
  const char* misspelt;  // the planted misspellings, in order, joined by " | "; every other word is right
};

TEST(SpellChecker, FindsEveryPlantedMisspellingAndMarksNoCorrectWord) {
  const PlantedCase cases[] = {
      // Russian and English running text
      {"Перегородки выполнить по металлическому каркасу", TextKind::kMText, ""},
      {"Растояние между осями", TextKind::kMText, u8"Растояние"},
      {"Recieve the pannel", TextKind::kMText, u8"Recieve | pannel"},
      {"Wall thickness\\PThicknes of the wall", TextKind::kMText, u8"Thicknes"},
      // Inside formatting: a word split by a change of format is one word
      {"{\\L Спе}цификация", TextKind::kMText, ""},
      {"{\\L Спе}цификайия", TextKind::kMText, u8"Спецификайия"},
      {"\\fArial|b1;\\C1;Pannel\\P{\\H2.5x;Примечане}: см. лист 3", TextKind::kMText, u8"Pannel | Примечане"},
      {"{\\O Лист}{\\C3;т} 2", TextKind::kMText, u8"Листт"},
      // Stacks
      {"%%c20\\S+0.1^-0.2; отверстее", TextKind::kMText, u8"отверстее"},
      {"\\Sчисло/знаменатль;", TextKind::kMText, u8"знаменатль"},
      // Codes, numbers, units, names of files and addresses are never marked
      {"\\H2.5x;\\W0.8;\\T1.1;\\Q15;М1:100, 2%%c12А400, 3-й этаж, 10мм, 90%%d, 5 кПа", TextKind::kMText, ""},
      {"см. plan_v2.dxf, ivanov@mail.ru, C:\\\\Drawings\\\\Plan.dwg", TextKind::kMText, ""},
      // Dimension texts: <> is the measurement
      {"<> мм (макс.)", TextKind::kDimension, ""},
      {"Растояние <>", TextKind::kDimension, u8"Растояние"},
      // Single-line text
      {"%%uПланн этажа", TextKind::kSingleLine, u8"Планн"},
      // Abbreviations in capitals are skipped; ё and е; hyphens; apostrophes
      {"ГОСТ 21.101, СНиП, ПРОВЕРНО", TextKind::kMText, ""},
      {"Ещё объём, еще объем", TextKind::kMText, ""},
      {"северо-западный угол, Т-образный, well-known, кто-нибуть", TextKind::kMText, u8"кто-нибуть"},
      {"don’t, engineer's, dont", TextKind::kMText, u8"dont"},
      // Words hyphenated at a line break; the shortenings of a title block
      {"Еди-\\Pница \\Pизме-\\Pрения", TextKind::kMText, ""},
      {"Спецификай-\\Pия", TextKind::kMText, u8"Спецификайия"},
      {"Изм.\\PЛист\\PN\\~докум.\\PРазраб.\\PУтв.", TextKind::kMText, ""},
      // A Latin letter in a Russian word is a misspelling, though each looks right
      {"Cпецификация", TextKind::kMText, u8"Cпецификация"},
  };
  for (const auto& c : cases) {
    spelling::Checked checked = DefaultChecker().Check(c.contents, c.kind);
    EXPECT_EQ(std::string(c.misspelt), Marked(checked)) << "contents: " << testsupport::Readable(c.contents);
  }
}

TEST(SpellChecker, MarksTheBytesOfTheWordInTheContents) {
  const std::string contents = "Стена {\\L Спе}цификайия \\C1;Pannel";
  spelling::Checked checked = DefaultChecker().Check(contents, TextKind::kMText);
  ASSERT_EQ(2u, checked.misspelt.size());
  const auto& first = checked.misspelt[0];
  EXPECT_BYTES_EQ("Спе}цификайия", contents.substr(first.sourceBegin, first.sourceEnd - first.sourceBegin));
  EXPECT_EQ("ru_RU", first.language);
  const auto& second = checked.misspelt[1];
  EXPECT_BYTES_EQ("Pannel", contents.substr(second.sourceBegin, second.sourceEnd - second.sourceBegin));
  EXPECT_EQ("en_US", second.language);
}

TEST(SpellChecker, SuggestsTheIntendedWord) {
  struct Case {
    const char* word;
    const char* intended;
    size_t rank;  // its place among the suggestions, 0 the first
  };
  const Case cases[] = {
      {u8"Спецификайия", u8"Спецификация", 0}, {u8"Pannel", u8"Panel", 0},       {u8"Recieve", u8"Receive", 0},
      {u8"отверстее", u8"отверстие", 0},       {u8"Растояние", u8"Расстояние", 1},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got = DefaultChecker().Suggest(c.word);
    std::string listed;
    for (const auto& s : got) listed += s + " ";
    ASSERT_LT(c.rank, got.size()) << c.word << ": " << listed;
    EXPECT_EQ(std::string(c.intended), got[c.rank]) << c.word << ": " << listed;
    EXPECT_LE(got.size(), spelling::Checker::kMaxSuggestions) << c.word;
  }
}

// A change looks up only the words whose bytes it touched, and finds what a whole check finds.
TEST(SpellChecker, RecheckLooksUpOnlyTheWordsAChangeTouched) {
  struct Case {
    const char* before;
    const char* after;
    size_t looked;  // words looked up again
  };
  const Case cases[] = {
      // A letter typed into one word of many
      {"Стена из кирпича {\\C1;толщиной} 250 мм, Wall of brick", "Стена из кирпича {\\C1;толщиной} 250 мм, Wal of brick", 1},
      // A word made wrong, then right again
      {"Примечания к плану этажа", "Примечане к плану этажа", 1},
      {"Примечане к плану этажа", "Примечания к плану этажа", 1},
      // A space splits a word in two; a deleted space joins two
      {"Стена кирпичная", "Сте на кирпичная", 2},
      {"Сте на кирпичная", "Стена кирпичная", 1},
      // A change of format only: the word under it is looked up again
      {"Стена кирпичная", "Стена {\\C1;кир}пичная", 1},
      // Nothing changed
      {"Стена кирпичная", "Стена кирпичная", 0},
  };
  for (const auto& c : cases) {
    const spelling::Checker& checker = DefaultChecker();
    spelling::Checked before = checker.Check(c.before, TextKind::kMText);
    spelling::Checked after = checker.Recheck(before, c.after);
    spelling::Checked whole = checker.Check(c.after, TextKind::kMText);
    EXPECT_EQ(Marked(whole), Marked(after)) << testsupport::Readable(c.before) << " -> " << testsupport::Readable(c.after);
    EXPECT_EQ(c.looked, after.looked) << testsupport::Readable(c.before) << " -> " << testsupport::Readable(c.after);
    ASSERT_EQ(whole.misspelt.size(), after.misspelt.size());
    for (size_t k = 0; k < whole.misspelt.size(); ++k) {
      EXPECT_EQ(whole.misspelt[k].sourceBegin, after.misspelt[k].sourceBegin);
      EXPECT_EQ(whole.misspelt[k].sourceEnd, after.misspelt[k].sourceEnd);
    }
  }
}

TEST(SpellChecker, IgnoredAndAddedWordsAreRight) {
  spelling::Checker checker{spelling::Settings{}};
  EXPECT_EQ(std::string(u8"гипсокартона | Pannel"), Marked(checker.Check("Лист гипсокартона, Pannel", TextKind::kMText)));
  checker.AddWord(u8"гипсокартон");
  checker.AddWord(u8"гипсокартона");
  checker.Ignore(u8"Pannel");
  EXPECT_EQ("", Marked(checker.Check("Лист гипсокартона, Pannel", TextKind::kMText)));
  // A word added in small letters is right capitalised and in capitals too; not the other way.
  EXPECT_EQ("", Marked(checker.Check("Гипсокартона", TextKind::kMText)));
  EXPECT_EQ(std::string(u8"pannel"), Marked(checker.Check("pannel", TextKind::kMText)));
}

}  // namespace
