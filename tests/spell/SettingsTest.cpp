// The spelling options and the personal dictionary as files: read, written atomically, and used.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "spell/Spelling.h"
#include "tests/support/Bytes.h"

namespace {

namespace fs = std::filesystem;
using mtextsearch::TextKind;

class SpellSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/spell-settings-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(name));
    m_dir = name;
  }
  void TearDown() override {
    fs::remove_all(m_dir);
  }
  void Write(const std::string& name, const std::string& text) { std::ofstream(m_dir + "/" + name, std::ios::binary) << text; }
  std::string m_dir;
};

TEST_F(SpellSettings, ConfigFolderFollowsXdgConfigHome) {
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  std::string kept = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
  EXPECT_EQ(m_dir + "/quillon", spelling::ConfigFolder());
  ::setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.config/quillon", spelling::ConfigFolder());
  if (saved)
    ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(SpellSettings, ReadsTheOptionsFileAndNamesWhatItDoesNotUnderstand) {
  Write("spelling.conf", "# comment\nlatin = en_US de_DE\r\ncyrillic=uk_UA\ncapitals = check\nfolder = /opt/dicts\ncolour = red\n");
  Write("dictionary.txt", u8"гипсокартон\n\nQuillon\r\n");
  std::vector<std::string> warnings;
  spelling::Settings s = spelling::LoadSettings(m_dir, &warnings);
  EXPECT_EQ((std::vector<std::string>{"en_US", "de_DE"}), s.options.latin);
  EXPECT_EQ((std::vector<std::string>{"uk_UA"}), s.options.cyrillic);
  EXPECT_TRUE(s.options.checkCapitals);
  EXPECT_EQ((std::vector<std::string>{"/opt/dicts"}), s.options.folders);
  EXPECT_EQ((std::vector<std::string>{u8"гипсокартон", "Quillon"}), s.personal);
  ASSERT_EQ(1u, warnings.size());
  EXPECT_EQ(m_dir + "/spelling.conf:6: not understood: colour = red", warnings[0]);
}

TEST_F(SpellSettings, MissingFilesLeaveTheDefaults) {
  spelling::Settings s = spelling::LoadSettings(m_dir + "/none");
  EXPECT_EQ((std::vector<std::string>{"en_US"}), s.options.latin);
  EXPECT_EQ((std::vector<std::string>{"ru_RU"}), s.options.cyrillic);
  EXPECT_FALSE(s.options.checkCapitals);
  EXPECT_TRUE(s.personal.empty());
}

TEST_F(SpellSettings, WritesOptionsAndPersonalWordsAtomicallyAndReadsThemBack) {
  spelling::Options o;
  o.latin = {"en_GB"};
  o.checkCapitals = true;
  std::string error;
  const std::string folder = m_dir + "/made/quillon";
  ASSERT_TRUE(spelling::SaveOptions(folder, o, error)) << error;
  ASSERT_TRUE(spelling::AddToPersonal(folder, u8"гипсокартон", error)) << error;
  ASSERT_TRUE(spelling::AddToPersonal(folder, "Quillon", error)) << error;
  ASSERT_TRUE(spelling::AddToPersonal(folder, u8"гипсокартон", error)) << error;
  EXPECT_FALSE(spelling::AddToPersonal(folder, "two\nlines", error));
  EXPECT_BYTES_EQ(u8"гипсокартон\nQuillon\n", testsupport::ReadFile(folder + "/dictionary.txt"));
  spelling::Settings s = spelling::LoadSettings(folder);
  EXPECT_EQ(o.latin, s.options.latin);
  EXPECT_EQ(o.cyrillic, s.options.cyrillic);
  EXPECT_TRUE(s.options.checkCapitals);
  // Nothing but the two files: no temporary file is left behind.
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(folder)) files += e.is_regular_file();
  EXPECT_EQ(2u, files);
}

// Failures that hold for root too: a folder under a file, and a rename onto a folder.
TEST_F(SpellSettings, AFileThatCannotBeWrittenIsAnErrorAndLeavesNoTemporaryFile) {
  Write("plain", "a file\n");
  std::string error;
  EXPECT_FALSE(spelling::AddToPersonal(m_dir + "/plain/quillon", "word", error));
  EXPECT_EQ("cannot make the folder " + m_dir + "/plain/quillon: Not a directory", error);
  fs::create_directories(m_dir + "/q/dictionary.txt/inside");
  EXPECT_FALSE(spelling::AddToPersonal(m_dir + "/q", "word", error));
  EXPECT_EQ("cannot write " + m_dir + "/q/dictionary.txt: Is a directory", error);
  size_t entries = 0;
  for (const auto& e : fs::directory_iterator(m_dir + "/q")) entries += static_cast<bool>(e.exists());
  EXPECT_EQ(1u, entries) << "the temporary file is removed";
}

// A dictionary found in a folder the options name, chosen for Latin words in place of English.
TEST_F(SpellSettings, FurtherDictionariesComeFromTheFoldersAndTheOptions) {
  Write("tiny.aff", "SET UTF-8\nTRY esiarntolcdugmphbyfvkwz\n");
  Write("tiny.dic", "2\nquillon\nwidget\n");
  spelling::Settings s;
  s.options.folders = {m_dir};
  s.options.latin = {"tiny"};
  s.options.cyrillic = {"xx_XX", "../" + m_dir.substr(m_dir.rfind('/') + 1) + "/tiny"};
  spelling::Checker checker(s);
  EXPECT_EQ((std::vector<std::string>{"../" + m_dir.substr(m_dir.rfind('/') + 1) + "/tiny", "xx_XX"}), checker.missing())
      << "a name is no path";
  spelling::Checked checked = checker.Check("quillon widget panel Спецификайия", TextKind::kMText);
  ASSERT_EQ(1u, checked.misspelt.size()) << "only the Latin words are checked, by the tiny dictionary";
  EXPECT_EQ("panel", checked.misspelt[0].word);
  EXPECT_EQ("tiny", checked.misspelt[0].language);
}

}  // namespace
