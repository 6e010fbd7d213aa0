// The checker: the dictionaries of each script (nuspell), the personal words, and checking a text.
#include <nuspell/dictionary.hxx>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <sstream>

#include "spell/Spelling.h"
#include "spell/Words.h"

namespace spelling {
namespace detail {
namespace {

using mtextsearch::TextKind;

// Appended to every affix file: the n-gram pass of the suggestions reads the whole word list
// (100 to 400 ms a word in the Russian one); the replacement, keyboard and edit passes remain.
constexpr char kFastSuggestions[] = "\nMAXNGRAMSUGS 0\n";

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Lower(std::string_view utf8) {
  std::string out;
  icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size()))).toLower().toUTF8String(out);
  return out;
}

// The word as a dictionary spells it: one apostrophe, no accents or soft hyphens.
std::string ForLookup(std::string_view utf8) {
  std::string out;
  int32_t i = 0, n = static_cast<int32_t>(utf8.size());
  while (i < n) {
    int32_t from = i;
    UChar32 c = 0;
    U8_NEXT(utf8.data(), i, n, c);
    if (c == 0x2019 || c == 0x02BC) {
      out += '\'';
    } else if (u_charType(c) != U_NON_SPACING_MARK && u_charType(c) != U_FORMAT_CHAR) {
      out.append(utf8.data() + from, static_cast<size_t>(i - from));
    }
  }
  return out;
}

size_t Letters(std::string_view utf8) {
  size_t letters = 0;
  int32_t i = 0, n = static_cast<int32_t>(utf8.size());
  while (i < n) {
    UChar32 c = 0;
    U8_NEXT(utf8.data(), i, n, c);
    letters += u_isalpha(c) != 0;
  }
  return letters;
}

Script ScriptOf(std::string_view utf8) {
  size_t latin = 0, cyrillic = 0;
  int32_t i = 0, n = static_cast<int32_t>(utf8.size());
  while (i < n) {
    UChar32 c = 0;
    U8_NEXT(utf8.data(), i, n, c);
    UErrorCode status = U_ZERO_ERROR;
    UScriptCode code = uscript_getScript(c, &status);
    latin += code == USCRIPT_LATIN;
    cyrillic += code == USCRIPT_CYRILLIC;
  }
  return latin + cyrillic == 0 ? Script::kOther : latin > cyrillic ? Script::kLatin : Script::kCyrillic;
}

}  // namespace

class Dictionaries {
 public:
  explicit Dictionaries(const Settings& settings) {
    std::vector<std::string> folders = settings.options.folders;
    for (const char* const* f = kSystemDictionaryFolders; *f; ++f) folders.push_back(*f);
    std::set<std::string> names(settings.options.latin.begin(), settings.options.latin.end());
    names.insert(settings.options.cyrillic.begin(), settings.options.cyrillic.end());
    // Each dictionary loads on a thread of its own: the two of a default run take half the time.
    std::map<std::string, std::future<std::unique_ptr<nuspell::Dictionary>>> loading;
    for (const std::string& name : names) {
      // A name from the options file names a dictionary, never a path.
      std::string base;
      for (const auto& folder : folders) {
        if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos) break;
        if (IsFile(folder + "/" + name + ".aff") && IsFile(folder + "/" + name + ".dic")) {
          base = folder + "/" + name;
          break;
        }
      }
      if (base.empty()) {
        m_missing.push_back(name);
        continue;
      }
      loading[name] = std::async(std::launch::async, [base] { return Load(base); });
    }
    for (auto& [name, future] : loading) {
      if (auto d = future.get())
        m_loaded[name] = std::move(d);
      else
        m_missing.push_back(name);
    }
    for (const auto& n : settings.options.latin)
      if (m_loaded.count(n)) m_latin.push_back({n, m_loaded[n].get()});
    for (const auto& n : settings.options.cyrillic)
      if (m_loaded.count(n)) m_cyrillic.push_back({n, m_loaded[n].get()});
    for (const auto& w : settings.personal) AddWord(w);
    m_checkCapitals = settings.options.checkCapitals;
  }

  const std::vector<std::string>& missing() const { return m_missing; }
  bool checkCapitals() const { return m_checkCapitals; }

  struct Named {
    std::string name;
    const nuspell::Dictionary* dictionary;
  };
  const std::vector<Named>& For(Script script) const {
    static const std::vector<Named> none;
    return script == Script::kLatin ? m_latin : script == Script::kCyrillic ? m_cyrillic : none;
  }

  // Whether the word is spelt right: by a dictionary of its script, the personal words or the
  // words to skip. A hyphenated word is right as a whole or when each of its parts is.
  bool Correct(const std::string& word, Script script) const {
    if (Known(word, script)) return true;
    size_t hyphen = word.find('-');
    if (hyphen == std::string::npos) return false;
    for (size_t from = 0;; from = hyphen + 1, hyphen = word.find('-', from)) {
      std::string part = word.substr(from, hyphen == std::string::npos ? std::string::npos : hyphen - from);
      // A part of one letter is an index or a shape: "Т-образный", "x-axis".
      if (part.empty() || (Letters(part) > 1 && !Known(part, script))) return false;
      if (hyphen == std::string::npos) return true;
    }
  }

  std::vector<std::string> Suggest(const std::string& word, Script script) const {
    std::vector<std::string> out;
    const auto& dictionaries = For(script);
    if (dictionaries.empty()) return out;
    dictionaries.front().dictionary->suggest(word, out);
    // A word split in two with a part of one letter ("Panne l") is no spelling anyone meant.
    out.erase(std::remove_if(out.begin(), out.end(),
                             [](const std::string& s) {
                               size_t space = s.find(' ');
                               return space != std::string::npos &&
                                      (Letters(s.substr(0, space)) < 2 || Letters(s.substr(space + 1)) < 2);
                             }),
              out.end());
    if (out.size() > Checker::kMaxSuggestions) out.resize(Checker::kMaxSuggestions);
    return out;
  }

  void AddWord(std::string_view word) {
    std::lock_guard<std::mutex> lock(m_wordsMutex);
    m_words.insert(ForLookup(word));
  }

 private:
  static std::unique_ptr<nuspell::Dictionary> Load(const std::string& base) {
    std::ifstream aff(base + ".aff", std::ios::binary), dic(base + ".dic", std::ios::binary);
    std::stringstream tuned;
    tuned << aff.rdbuf() << kFastSuggestions;
    auto d = std::make_unique<nuspell::Dictionary>();
    try {
      d->load_aff_dic(tuned, dic);
    } catch (const std::exception&) {
      return nullptr;
    }
    return d;
  }

  bool Known(const std::string& word, Script script) const {
    for (const auto& d : For(script))
      if (d.dictionary->spell(word)) return true;
    {
      std::lock_guard<std::mutex> lock(m_wordsMutex);
      // A personal word in small letters takes the word capitalised or in capitals too.
      if (!m_words.empty() && (m_words.count(word) || m_words.count(Lower(word)))) return true;
    }
    // Russian writes ё as е as often as not; a dictionary may hold only one of them.
    if (script == Script::kCyrillic && word.find(u8"ё") != std::string::npos) {
      std::string plain = word;
      for (size_t at; (at = plain.find(u8"ё")) != std::string::npos;) plain.replace(at, 2, u8"е");
      return Known(plain, script);
    }
    return false;
  }

  std::map<std::string, std::unique_ptr<nuspell::Dictionary>> m_loaded;
  std::vector<Named> m_latin, m_cyrillic;
  std::vector<std::string> m_missing;
  bool m_checkCapitals = false;
  mutable std::mutex m_wordsMutex;
  std::set<std::string> m_words;  // personal and skipped, as looked up
};

}  // namespace detail

Checker::Checker(const Settings& settings) : m_dictionaries(std::make_unique<detail::Dictionaries>(settings)) {}
Checker::~Checker() = default;
Checker::Checker(Checker&&) noexcept = default;
Checker& Checker::operator=(Checker&&) noexcept = default;

const std::vector<std::string>& Checker::missing() const { return m_dictionaries->missing(); }

Checked Checker::Check(std::string_view contents, mtextsearch::TextKind kind) const {
  Checked nothing;
  nothing.kind = kind;
  return Recheck(nothing, contents);
}

Checked Checker::Recheck(const Checked& before, std::string_view contents) const {
  Checked out;
  out.contents = std::string(contents);
  out.kind = before.kind;
  // The bytes both texts share at their start and at their end; a word wholly in either keeps
  // its verdict when it displays the same.
  const std::string& old = before.contents;
  size_t head = 0;
  while (head < old.size() && head < contents.size() && old[head] == contents[head]) ++head;
  size_t tail = 0;
  while (tail < old.size() - head && tail < contents.size() - head &&
         old[old.size() - 1 - tail] == contents[contents.size() - 1 - tail])
    ++tail;
  const size_t tailFrom = contents.size() - tail;
  auto previous = [&](const detail::Word& w) -> const Checked::Verdict* {
    std::pair<size_t, size_t> key;
    if (w.sourceEnd <= head)
      key = {w.sourceBegin, w.sourceEnd};
    else if (w.sourceBegin >= tailFrom)
      key = {w.sourceBegin - tailFrom + (old.size() - tail), w.sourceEnd - tailFrom + (old.size() - tail)};
    else
      return nullptr;
    // The verdicts are in the order of the words, which is the order of their bytes.
    auto it = std::lower_bound(before.verdicts.begin(), before.verdicts.end(), key,
                               [](const Checked::Verdict& v, const std::pair<size_t, size_t>& k) {
                                 return std::make_pair(v.sourceBegin, v.sourceEnd) < k;
                               });
    return it != before.verdicts.end() && it->sourceBegin == key.first && it->sourceEnd == key.second &&
                   it->word == w.utf8
               ? &*it
               : nullptr;
  };

  const mtextsearch::DisplayedText shown = mtextsearch::Display(contents, out.kind);
  for (detail::Word& w : detail::Words(shown, m_dictionaries->checkCapitals())) {
    if (w.kind != detail::WordKind::kChecked) continue;
    const auto& dictionaries = m_dictionaries->For(w.script);
    if (dictionaries.empty()) continue;
    const Checked::Verdict* was = previous(w);
    bool correct = was ? was->correct : m_dictionaries->Correct(detail::ForLookup(w.utf8), w.script);
    out.looked += was == nullptr;
    if (!correct)
      out.misspelt.push_back({w.begin, w.end, w.sourceBegin, w.sourceEnd, w.utf8, dictionaries.front().name});
    out.verdicts.push_back({w.sourceBegin, w.sourceEnd, std::move(w.utf8), correct});
  }
  return out;
}

std::vector<std::string> Checker::Suggest(std::string_view utf8Word) const {
  std::string word = detail::ForLookup(utf8Word);
  return m_dictionaries->Suggest(word, detail::ScriptOf(word));
}

void Checker::Ignore(std::string_view utf8Word) { m_dictionaries->AddWord(utf8Word); }
void Checker::AddWord(std::string_view utf8Word) { m_dictionaries->AddWord(utf8Word); }

}  // namespace spelling
