// The spelling options and the personal dictionary: plain UTF-8 files in the configuration folder.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "spell/Spelling.h"

namespace spelling {

const char* const kSystemDictionaryFolders[] = {"/usr/share/hunspell", "/usr/share/myspell",
                                                "/usr/share/myspell/dicts", nullptr};

namespace {

constexpr char kOptionsFile[] = "spelling.conf";
constexpr char kPersonalFile[] = "dictionary.txt";

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  size_t b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(Trim(line));
  return lines;
}

std::vector<std::string> Names(const std::string& value) {
  std::vector<std::string> names;
  std::istringstream in(value);
  std::string name;
  while (in >> name) names.push_back(name);
  return names;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
  return out;
}

// Makes `folder` and the folders above it, as mkdir -p does.
bool MakeFolder(const std::string& folder, std::string& error) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      error = "cannot make the folder " + part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

// Writes `text` to `path` through a temporary file beside it renamed over it: a reader sees the
// old file or the new one, never a part.
bool WriteAtomically(const std::string& folder, const std::string& name, const std::string& text, std::string& error) {
  if (!MakeFolder(folder, error)) return false;
  const std::string path = folder + "/" + name;
  std::string temp = path + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = true;
  for (size_t done = 0; ok && done < text.size();) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  int saved = errno;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
  error = "cannot write " + path + ": " + std::strerror(ok ? errno : saved);
  ::unlink(temp.c_str());
  return false;
}

}  // namespace

std::string ConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string base = xdg && *xdg ? xdg : std::string(home && *home ? home : ".") + "/.config";
  return base + "/quillon";
}

Settings LoadSettings(const std::string& folder, std::vector<std::string>* warnings) {
  Settings settings;
  Options& o = settings.options;
  const std::vector<std::string> lines = Lines(folder + "/" + kOptionsFile);
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (line.empty() || line[0] == '#') continue;
    size_t eq = line.find('=');
    std::string key = eq == std::string::npos ? line : Trim(line.substr(0, eq));
    std::string value = eq == std::string::npos ? "" : Trim(line.substr(eq + 1));
    if (key == "latin" && eq != std::string::npos) {
      o.latin = Names(value);
    } else if (key == "cyrillic" && eq != std::string::npos) {
      o.cyrillic = Names(value);
    } else if (key == "capitals" && (value == "check" || value == "skip")) {
      o.checkCapitals = value == "check";
    } else if (key == "folder" && !value.empty()) {
      o.folders.push_back(value);
    } else if (warnings) {
      warnings->push_back(folder + "/" + kOptionsFile + ":" + std::to_string(n + 1) + ": not understood: " + line);
    }
  }
  for (const std::string& word : Lines(folder + "/" + kPersonalFile))
    if (!word.empty()) settings.personal.push_back(word);
  return settings;
}

bool SaveOptions(const std::string& folder, const Options& options, std::string& error) {
  std::string text = "# Quillon's spelling: the dictionaries of each script, whether words in capitals are checked.\n";
  text += "latin = " + Joined(options.latin) + "\n";
  text += "cyrillic = " + Joined(options.cyrillic) + "\n";
  text += std::string("capitals = ") + (options.checkCapitals ? "check" : "skip") + "\n";
  for (const auto& f : options.folders) text += "folder = " + f + "\n";
  return WriteAtomically(folder, kOptionsFile, text, error);
}

bool AddToPersonal(const std::string& folder, const std::string& utf8Word, std::string& error) {
  std::vector<std::string> words = LoadSettings(folder).personal;
  const std::string word = Trim(utf8Word);
  if (word.empty() || word.find('\n') != std::string::npos) {
    error = "not a word: '" + utf8Word + "'";
    return false;
  }
  if (std::find(words.begin(), words.end(), word) != words.end()) return true;
  words.push_back(word);
  std::string text;
  for (const auto& w : words) text += w + "\n";
  return WriteAtomically(folder, kPersonalFile, text, error);
}

}  // namespace spelling
