// Spelling of MText as displayed: the misspelt words of a text with their bytes in the contents.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "converter/MTextSearch.h"

namespace spelling {

// What the user chose, read from the options file (spelling.conf in the configuration folder).
struct Options {
  // The dictionaries of each script, by name ("ru_RU"): a word is correct when one of its script's
  // dictionaries takes it; suggestions come from the first.
  std::vector<std::string> latin{"en_US"};
  std::vector<std::string> cyrillic{"ru_RU"};
  bool checkCapitals = false;  // words written in capitals only are checked too (not abbreviations)
  // Folders searched for NAME.aff and NAME.dic, before the system's own.
  std::vector<std::string> folders;
};

// Where the dictionaries are looked for after Options::folders.
extern const char* const kSystemDictionaryFolders[];

// The options and the personal dictionary as stored.
struct Settings {
  Options options;
  std::vector<std::string> personal;  // UTF-8, one word each
};

// $XDG_CONFIG_HOME/quillon, else ~/.config/quillon.
std::string ConfigFolder();
// The options file and the personal dictionary of `folder`; what is missing is left at its default,
// an unreadable line of the options file is skipped and named in `warnings`.
Settings LoadSettings(const std::string& folder, std::vector<std::string>* warnings = nullptr);
// Writes the options file, atomically (a temporary file renamed over it); false with `error` set.
bool SaveOptions(const std::string& folder, const Options& options, std::string& error);
// Adds a word to the personal dictionary of `folder`, written atomically; a word already there is
// not added twice. False with `error` set when the file could not be written.
bool AddToPersonal(const std::string& folder, const std::string& utf8Word, std::string& error);

// One misspelt word of a text.
struct Misspelling {
  size_t begin, end;              // characters of the displayed text
  size_t sourceBegin, sourceEnd;  // bytes of the contents, the first character's to the last's
  std::string word;               // UTF-8, as displayed
  std::string language;           // the dictionary that rejected it ("ru_RU")
};

// A text checked: what a later Recheck of the same text after a change starts from.
struct Checked {
  std::string contents;  // code page 1251, as given
  mtextsearch::TextKind kind = mtextsearch::TextKind::kMText;
  std::vector<Misspelling> misspelt;
  size_t looked = 0;  // words looked up in a dictionary by the check that made this
  // Every checked word's source bytes and verdict, in order (for Recheck).
  struct Verdict {
    size_t sourceBegin, sourceEnd;
    std::string word;
    bool correct;
  };
  std::vector<Verdict> verdicts;
};

namespace detail {
class Dictionaries;
}

// The dictionaries of the chosen options, loaded once. Checking is const and thread-compatible;
// Ignore and AddWord change what is correct from then on.
class Checker {
 public:
  // Loads the dictionaries of `settings` (the two of a default run take about half a second).
  // A dictionary not found is named in missing(); words of its script are then not checked.
  explicit Checker(const Settings& settings);
  ~Checker();
  Checker(Checker&&) noexcept;
  Checker& operator=(Checker&&) noexcept;

  const std::vector<std::string>& missing() const;

  // The misspelt words of `contents` (code page 1251, as the drawing keeps it).
  Checked Check(std::string_view contents, mtextsearch::TextKind kind) const;
  // The same for `contents` after a change to `before.contents`: only the words whose bytes the
  // change touched are looked up again; the others keep their verdicts.
  Checked Recheck(const Checked& before, std::string_view contents) const;
  // Up to kMaxSuggestions replacements for a word (UTF-8 in, UTF-8 out, best first): what
  // mtextsearch::Replace takes as the replacement.
  std::vector<std::string> Suggest(std::string_view utf8Word) const;
  static constexpr size_t kMaxSuggestions = 5;

  // "Skip all": the word is correct for this checker from now on.
  void Ignore(std::string_view utf8Word);
  // The word is correct from now on (the caller stores it with AddToPersonal).
  void AddWord(std::string_view utf8Word);

 private:
  std::unique_ptr<detail::Dictionaries> m_dictionaries;
};

}  // namespace spelling
