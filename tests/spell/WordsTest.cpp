// What a word of the displayed text is: where it begins and ends, and which words are never looked up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell/Words.h"
#include "tests/support/Bytes.h"

namespace {

using mtextsearch::TextKind;
using spelling::detail::WordKind;

struct WordsCase {
  const char* contents;  // code page 1251
  TextKind kind;
  // Each word as "text=kind", kind as KindName gives it, joined by " | ".
  const char* words;
};

std::string Listed(const std::vector<spelling::detail::Word>& words) {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : " | ") + w.utf8 + "=" + spelling::detail::KindName(w.kind);
  return out;
}

TEST(SpellWords, SplitsAndSortsTheDisplayedText) {
  const WordsCase cases[] = {
      // A word split by a formatting change is one word; codes display nothing
      {"{\\L Спе}цификация", TextKind::kMText, u8"Спецификация=checked"},
      {"\\fArial|b1;\\H2.5x;Стена\\Pиз {\\C1;кирпича}", TextKind::kMText,
       u8"Стена=checked | из=checked | кирпича=checked"},
      // Punctuation, quotes, hyphens and apostrophes
      {"«Стена», (план); конец.", TextKind::kMText, u8"Стена=checked | план=checked | конец=checked"},
      {"северо-западный -угол- don’t 'quoted'", TextKind::kMText,
       u8"северо-западный=checked | угол=checked | don’t=checked | quoted=checked"},
      {"и/или", TextKind::kMText, u8"и=single letter | или=checked"},
      // A hyphen that ends a line joins the word's parts; one that does not, or a capital after it, does not
      {"Пози-\\Pция стандар- \\Pту", TextKind::kMText, u8"Позиция=checked | стандарту=checked"},
      {"Пози- ция Москва-\\PПетербург", TextKind::kMText, u8"Пози=checked | ция=checked | Москва=checked | Петербург=checked"},
      // The shortenings of a title block before a full stop
      {"Изм. Разраб. Изм", TextKind::kMText, u8"Изм=abbreviation | Разраб=abbreviation | Изм=checked"},
      // Numbers, marks and sizes hold digits
      {"М1:100 2%%c12А400 3-й 10мм %%c20 90%%d x\\U+00B2", TextKind::kMText,
       u8"М1=with digits | 100=with digits | 2Ø12А400=with digits | 3-й=with digits | 10мм=with digits | "
       u8"Ø20=with digits | 90=with digits | x²=with digits"},
      // Units alone
      {"мм кг/м кПа mm kN шт.", TextKind::kMText,
       u8"мм=unit | кг=unit | м=unit | кПа=unit | mm=unit | kN=unit | шт=unit"},
      // File names, paths, addresses
      {"plan.dxf ivanov@mail.ru C:\\\\Drawings\\\\Plan.dwg https://example.org/a", TextKind::kMText,
       u8"plan=file name | dxf=file name | ivanov=e-mail | mail=e-mail | ru=e-mail | C=file name | "
       u8"Drawings=file name | Plan=file name | dwg=file name | https=file name | example=file name | "
       u8"org=file name | a=file name"},
      // Capitals only are abbreviations; one letter is an axis or an index
      {"ГОСТ СНиП A Б", TextKind::kMText, u8"ГОСТ=abbreviation | СНиП=checked | A=single letter | Б=single letter"},
      // Stacks: each part a word of its own
      {"\\Sверх^низ;", TextKind::kMText, u8"верх=checked | низ=checked"},
      {"a\\Sbc/de;f", TextKind::kMText, u8"a=single letter | bc=checked | de=checked | f=single letter"},
      // Other scripts have no dictionary; a dimension's <> is a code
      {"\\U+03B1\\U+03B2\\U+03B3", TextKind::kMText, u8"αβγ=other script"},
      {"<> мм макс", TextKind::kDimension, u8"мм=unit | макс=checked"},
      {"%%uПлан этажа", TextKind::kSingleLine, u8"План=checked | этажа=checked"},
  };
  for (const auto& c : cases) {
    auto words = spelling::detail::Words(mtextsearch::Display(c.contents, c.kind), false);
    EXPECT_EQ(std::string(c.words), Listed(words)) << "contents: " << testsupport::Readable(c.contents);
  }
}

TEST(SpellWords, CapitalsAreCheckedWhenTheOptionsSaySo) {
  auto words = spelling::detail::Words(mtextsearch::Display("ГОСТ PANEL", TextKind::kMText), true);
  EXPECT_EQ(std::string(u8"ГОСТ=checked | PANEL=checked"), Listed(words));
}

TEST(SpellWords, MapsEachWordToTheBytesThatWriteIt) {
  const std::string contents = "{\\L Спе}цификация \\C1;Pannel";
  auto words = spelling::detail::Words(mtextsearch::Display(contents, TextKind::kMText), false);
  ASSERT_EQ(2u, words.size());
  auto source = [&](const spelling::detail::Word& w) {
    return contents.substr(w.sourceBegin, w.sourceEnd - w.sourceBegin);
  };
  EXPECT_BYTES_EQ("Спе}цификация", source(words[0]));
  EXPECT_BYTES_EQ("Pannel", source(words[1]));
  // "\L" takes no argument: the space after it is text.
  EXPECT_EQ(1u, words[0].begin);
  EXPECT_EQ(13u, words[0].end);
  EXPECT_EQ(14u, words[1].begin);
}

}  // namespace
