// qrc: the resource compiler of the window stand-in. Reads the subset of an .rc file that the module
// uses (DIALOG/DIALOGEX, MENU, BITMAP, ICON, CURSOR, STRINGTABLE, with the preprocessor lines such
// files carry) and writes a C++ file that registers the compiled resources with the module that links it.
//   qrc <input.rc> <output.cpp> [-I <dir>]... [-d <depfile>]
#include <iconv.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/src/ResourceFormat.h"

namespace {

using qwin::rc::Dialog;
using qwin::rc::DialogControl;
using qwin::rc::MenuItem;

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const std::map<std::string, uint32_t>& Constants() {
  static const std::map<std::string, uint32_t> table = {
#define QSTYLE(name, value) {#name, value},
#define QID(name, value) {#name, value},
#include "winstyles.def"
#undef QID
#undef QSTYLE
      {"IDC_STATIC", 0xFFFFFFFFu},
  };
  return table;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string DirOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

// ---- Preprocessor: #include, #define, #if family, #pragma code_page ----

struct Line {
  std::string text;
  std::string where;  // "file:line"
  int codePage;
};

class Preprocessor {
 public:
  explicit Preprocessor(std::vector<std::string> includeDirs) : m_includeDirs(std::move(includeDirs)) {}

  void Run(const std::string& path, bool headerOnly) {
    m_deps.insert(path);
    std::string text = ReadFile(path);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      while (!line.empty() && line.back() == '\\' && std::getline(in, m_next)) {
        line.pop_back();
        line += m_next;
        ++number;
      }
      std::string where = path + ":" + std::to_string(number);
      size_t first = line.find_first_not_of(" \t");
      if (first != std::string::npos && line[first] == '#') {
        Directive(line.substr(first + 1), path, where);
      } else if (Active() && !headerOnly) {
        m_lines.push_back(Line{line, where, m_codePage});
      }
    }
  }

  const std::vector<Line>& Lines() const { return m_lines; }
  const std::map<std::string, std::string>& Macros() const { return m_macros; }
  const std::set<std::string>& Deps() const { return m_deps; }
  std::string Find(const std::string& name, const std::string& fromDir) const {
    if (Exists(fromDir + "/" + name)) return fromDir + "/" + name;
    for (const auto& dir : m_includeDirs) {
      if (Exists(dir + "/" + name)) return dir + "/" + name;
    }
    return {};
  }
  void AddDep(const std::string& path) { m_deps.insert(path); }

 private:
  bool Active() const {
    for (bool b : m_active) {
      if (!b) return false;
    }
    return true;
  }

  static std::string Trim(std::string s) {
    size_t comment = s.find("//");
    if (comment != std::string::npos) s = s.substr(0, comment);
    size_t a = s.find_first_not_of(" \t");
    size_t b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
  }

  long Evaluate(const std::string& expr) {
    std::string s;
    // defined(X) / defined X become 1 or 0, names become their values.
    for (size_t i = 0; i < expr.size();) {
      if (expr.compare(i, 7, "defined") == 0) {
        i += 7;
        while (i < expr.size() && (expr[i] == ' ' || expr[i] == '(')) ++i;
        size_t start = i;
        while (i < expr.size() && (std::isalnum(static_cast<unsigned char>(expr[i])) || expr[i] == '_')) ++i;
        s += m_macros.count(expr.substr(start, i - start)) ? "1" : "0";
        while (i < expr.size() && (expr[i] == ' ' || expr[i] == ')')) ++i;
      } else if (std::isalpha(static_cast<unsigned char>(expr[i])) || expr[i] == '_') {
        size_t start = i;
        while (i < expr.size() && (std::isalnum(static_cast<unsigned char>(expr[i])) || expr[i] == '_')) ++i;
        auto it = m_macros.find(expr.substr(start, i - start));
        s += it == m_macros.end() || it->second.empty() ? "0" : it->second;
      } else {
        s += expr[i++];
      }
    }
    // Only what .rc files use: !, &&, ||, parentheses, numbers.
    size_t pos = 0;
    return Or(s, pos);
  }
  static void Skip(const std::string& s, size_t& p) {
    while (p < s.size() && s[p] == ' ') ++p;
  }
  long Or(const std::string& s, size_t& p) {
    long v = And(s, p);
    for (Skip(s, p); s.compare(p, 2, "||") == 0; Skip(s, p)) {
      p += 2;
      long r = And(s, p);
      v = v || r;
    }
    return v;
  }
  long And(const std::string& s, size_t& p) {
    long v = Unary(s, p);
    for (Skip(s, p); s.compare(p, 2, "&&") == 0; Skip(s, p)) {
      p += 2;
      long r = Unary(s, p);
      v = v && r;
    }
    return v;
  }
  long Unary(const std::string& s, size_t& p) {
    Skip(s, p);
    if (p < s.size() && s[p] == '!') {
      ++p;
      return !Unary(s, p);
    }
    if (p < s.size() && s[p] == '(') {
      ++p;
      long v = Or(s, p);
      Skip(s, p);
      if (p < s.size() && s[p] == ')') ++p;
      return v;
    }
    char* end = nullptr;
    long v = std::strtol(s.c_str() + p, &end, 0);
    p = static_cast<size_t>(end - s.c_str());
    return v;
  }

  void Directive(const std::string& body, const std::string& path, const std::string& where) {
    std::istringstream in(body);
    std::string word;
    in >> word;
    std::string rest;
    std::getline(in, rest);
    rest = Trim(rest);
    if (word == "ifdef" || word == "ifndef") {
      bool defined = m_macros.count(rest) > 0;
      m_active.push_back(word == "ifdef" ? defined : !defined);
      m_taken.push_back(m_active.back());
    } else if (word == "if") {
      m_active.push_back(Evaluate(rest) != 0);
      m_taken.push_back(m_active.back());
    } else if (word == "elif") {
      if (m_active.empty()) throw Error(where + ": #elif without #if");
      m_active.back() = !m_taken.back() && Evaluate(rest) != 0;
      if (m_active.back()) m_taken.back() = true;
    } else if (word == "else") {
      if (m_active.empty()) throw Error(where + ": #else without #if");
      m_active.back() = !m_taken.back();
      m_taken.back() = true;
    } else if (word == "endif") {
      if (m_active.empty()) throw Error(where + ": #endif without #if");
      m_active.pop_back();
      m_taken.pop_back();
    } else if (!Active()) {
      return;
    } else if (word == "define") {
      std::istringstream def(rest);
      std::string name;
      def >> name;
      std::string value;
      std::getline(def, value);
      if (name.find('(') == std::string::npos) m_macros[name] = Trim(value);
    } else if (word == "undef") {
      m_macros.erase(rest);
    } else if (word == "include") {
      std::string name = rest.size() > 2 ? rest.substr(1, rest.size() - 2) : rest;
      std::string found = Find(name, DirOf(path));
      if (found.empty()) {
        if (rest[0] == '"') std::cerr << where << ": qrc: " << name << " not found; its names stay unknown\n";
        return;  // the system's own headers: their names are built into qrc
      }
      std::string ext = found.substr(found.rfind('.') + 1);
      Run(found, ext == "h" || ext == "hpp" || ext == "c");
    } else if (word == "pragma") {
      size_t open = rest.find("code_page(");
      if (open != std::string::npos) {
        std::string value = rest.substr(open + 10);
        m_codePage = std::isdigit(static_cast<unsigned char>(value[0])) ? std::atoi(value.c_str()) : 1251;
      }
    }
  }

  std::vector<std::string> m_includeDirs;
  std::vector<Line> m_lines;
  std::map<std::string, std::string> m_macros;
  std::vector<bool> m_active;
  std::vector<bool> m_taken;
  std::set<std::string> m_deps;
  std::string m_next;
  int m_codePage = 65001;
};

// ---- Tokens ----

struct Token {
  enum Kind { Name, Number, String, Punct, End } kind = End;
  std::string text;
  std::string where;
  int codePage = 65001;
};

std::string ToCp1251(const std::string& utf8, const std::string& where) {
  iconv_t cd = iconv_open("CP1251", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw Error("iconv cannot convert UTF-8 to CP1251");
  std::string out(utf8.size() * 2 + 1, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* o = out.data();
  size_t outLeft = out.size();
  size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) throw Error(where + ": a string has characters outside code page 1251");
  out.resize(out.size() - outLeft);
  return out;
}

std::vector<Token> Tokenize(const std::vector<Line>& lines) {
  std::vector<Token> tokens;
  bool inComment = false;
  for (const Line& line : lines) {
    const std::string& s = line.text;
    for (size_t i = 0; i < s.size();) {
      if (inComment) {
        size_t end = s.find("*/", i);
        if (end == std::string::npos) break;
        inComment = false;
        i = end + 2;
        continue;
      }
      char c = s[i];
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++i;
      } else if (s.compare(i, 2, "//") == 0) {
        break;
      } else if (s.compare(i, 2, "/*") == 0) {
        inComment = true;
        i += 2;
      } else if (c == '"') {
        std::string value;
        ++i;
        for (;;) {
          if (i >= s.size()) throw Error(line.where + ": unterminated string");
          char d = s[i++];
          if (d == '"') {
            if (i < s.size() && s[i] == '"') {
              value += '"';
              ++i;
              continue;
            }
            break;
          }
          if (d == '\\' && i < s.size()) {
            char e = s[i++];
            value += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 'a' ? '\b' : e;
            continue;
          }
          value += d;
        }
        tokens.push_back(Token{Token::String, value, line.where, line.codePage});
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        size_t start = i;
        while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])))) ++i;
        tokens.push_back(Token{Token::Number, s.substr(start, i - start), line.where, line.codePage});
      } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
        size_t start = i;
        while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_')) ++i;
        tokens.push_back(Token{Token::Name, s.substr(start, i - start), line.where, line.codePage});
      } else {
        tokens.push_back(Token{Token::Punct, std::string(1, c), line.where, line.codePage});
        ++i;
      }
    }
  }
  tokens.push_back(Token{Token::End, "", lines.empty() ? "" : lines.back().where, 65001});
  return tokens;
}

// ---- Parser ----

struct Resource {
  int type;
  uint32_t id;
  std::string name;
  std::vector<unsigned char> data;
};

class Parser {
 public:
  Parser(std::vector<Token> tokens, Preprocessor& pp, std::string rcDir)
      : m_t(std::move(tokens)), m_pp(pp), m_dir(std::move(rcDir)) {}

  std::vector<Resource> Run() {
    while (Peek().kind != Token::End) Statement();
    return m_out;
  }

 private:
  const Token& Peek(size_t ahead = 0) const { return m_t[std::min(m_p + ahead, m_t.size() - 1)]; }
  Token Next() {
    Token t = Peek();
    if (m_p < m_t.size() - 1) ++m_p;
    return t;
  }
  bool Is(const char* word, size_t ahead = 0) const {
    const Token& t = Peek(ahead);
    if (t.kind == Token::Punct) return t.text == word;
    if (t.kind != Token::Name) return false;
    std::string a = t.text, b = word;
    for (auto& ch : a) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return a == b;
  }
  bool Accept(const char* word) {
    if (!Is(word)) return false;
    Next();
    return true;
  }
  [[noreturn]] void Fail(const std::string& what) const { throw Error(Peek().where + ": " + what); }
  void Comma() { Accept(","); }
  bool Begin() { return Accept("BEGIN") || Accept("{"); }
  bool EndBlock() { return Accept("END") || Accept("}"); }

  std::string Text(const Token& t) { return t.codePage == 65001 ? ToCp1251(t.text, t.where) : t.text; }

  std::string String() {
    if (Peek().kind != Token::String) Fail("a quoted string was expected, not '" + Peek().text + "'");
    return Text(Next());
  }

  // A name that is a macro expands to its value's tokens.
  bool Macro(const std::string& name, uint32_t& value) {
    auto it = m_pp.Macros().find(name);
    if (it == m_pp.Macros().end()) return false;
    std::vector<Token> tokens = Tokenize({Line{it->second, Peek().where, 65001}});
    Parser sub(tokens, m_pp, m_dir);
    value = sub.Expression();
    return true;
  }

  uint32_t Primary() {
    if (Accept("(")) {
      uint32_t v = Expression();
      if (!Accept(")")) Fail("')' was expected");
      return v;
    }
    if (Accept("-")) return static_cast<uint32_t>(-static_cast<int64_t>(Primary()));
    if (Accept("~")) return ~Primary();
    if (Accept("NOT")) return ~Primary();
    Token t = Next();
    if (t.kind == Token::Number) {
      std::string n = t.text;
      while (!n.empty() && (n.back() == 'L' || n.back() == 'l' || n.back() == 'U' || n.back() == 'u')) n.pop_back();
      return static_cast<uint32_t>(std::strtoul(n.c_str(), nullptr, 0));
    }
    if (t.kind == Token::Name) {
      uint32_t value = 0;
      if (Macro(t.text, value)) return value;
      auto it = Constants().find(t.text);
      if (it != Constants().end()) return it->second;
      throw Error(t.where + ": unknown name " + t.text);
    }
    throw Error(t.where + ": a number was expected, not '" + t.text + "'");
  }

  uint32_t Expression() {
    uint32_t v = Primary();
    for (;;) {
      if (Accept("|")) {
        v |= Primary();
      } else if (Accept("&")) {
        v &= Primary();
      } else if (Accept("+")) {
        v += Primary();
      } else if (Peek().kind == Token::Punct && Peek().text == "-" && Peek(1).kind != Token::End) {
        Next();
        v -= Primary();
      } else {
        return v;
      }
    }
  }

  // A style: bits to set and bits that NOT clears from the defaults.
  void Style(uint32_t& style, uint32_t* cleared = nullptr) {
    for (;;) {
      bool negate = Accept("NOT");
      uint32_t bits = Primary();
      if (negate) {
        style &= ~bits;
        if (cleared) *cleared |= bits;
      } else {
        style |= bits;
      }
      if (!Accept("|")) return;
    }
  }

  bool StartsValue() const {
    const Token& t = Peek();
    return t.kind == Token::Number || (t.kind == Token::Name && !Is("BEGIN") && !Is("END")) ||
           (t.kind == Token::Punct && (t.text == "(" || t.text == "-" || t.text == "~"));
  }

  // A resource name: a number (or a macro for one), else an upper-cased name.
  void Name(Resource& r) {
    const Token& t = Peek();
    uint32_t value = 0;
    if (t.kind == Token::Name && !m_pp.Macros().count(t.text)) {
      r.name = Next().text;
      for (auto& ch : r.name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      return;
    }
    if (t.kind == Token::String) {
      r.name = Next().text;
      return;
    }
    value = Expression();
    r.id = value & 0xFFFF;
  }

  void SkipOptions() {
    while (Is("LANGUAGE") || Is("CHARACTERISTICS") || Is("VERSION") || Is("DISCARDABLE") || Is("PRELOAD") ||
           Is("LOADONCALL") || Is("MOVEABLE") || Is("FIXED") || Is("PURE") || Is("IMPURE")) {
      bool hasValue = Is("LANGUAGE") || Is("CHARACTERISTICS") || Is("VERSION");
      bool language = Is("LANGUAGE");
      Next();
      if (hasValue) Next();  // LANG_* and SUBLANG_* names are not ours to know: taken as words
      if (language && Accept(",")) Next();
    }
  }

  void SkipBlock() {
    int depth = 0;
    while (Peek().kind != Token::End) {
      if (Is("BEGIN") || Is("{")) {
        ++depth;
      } else if (Is("END") || Is("}")) {
        Next();
        if (--depth == 0) return;
        continue;
      }
      Next();
    }
  }

  void Statement() {
    if (Is("LANGUAGE")) {
      SkipOptions();
      return;
    }
    if (Is("STRINGTABLE")) {
      Next();
      SkipOptions();
      if (!Begin()) Fail("BEGIN was expected");
      while (!EndBlock()) {
        uint32_t id = Expression();
        Comma();
        std::string text = String();
        m_out.push_back(Resource{6, id & 0xFFFF, "", std::vector<unsigned char>(text.begin(), text.end())});
      }
      return;
    }
    Resource r{};
    Name(r);
    std::string type = Peek().text;
    for (auto& ch : type) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    Next();
    SkipOptions();
    if (type == "DIALOG" || type == "DIALOGEX") {
      DialogResource(r, type == "DIALOGEX");
    } else if (type == "MENU" || type == "MENUEX") {
      SkipOptions();
      std::vector<MenuItem> items;
      MenuBlock(items);
      r.type = 4;
      r.data = qwin::rc::WriteMenu(items);
    } else if (type == "BITMAP" || type == "ICON" || type == "CURSOR") {
      std::string file = Next().text;
      // Paths are written the Windows way in .rc files ("res\\face.bmp").
      for (auto& c : file) c = c == '\\' ? '/' : c;
      std::string path = m_pp.Find(file, m_dir);
      if (path.empty()) throw Error(Peek().where + ": cannot find " + file);
      m_pp.AddDep(path);
      std::string bytes = ReadFile(path);
      if (type == "BITMAP") {
        if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') throw Error(path + ": not a BMP file");
        bytes = bytes.substr(14);
      }
      // Icons and cursors are kept whole under the group types that LoadIcon and LoadCursor look up.
      r.type = type == "BITMAP" ? 2 : type == "ICON" ? 14 : 12;
      r.data.assign(bytes.begin(), bytes.end());
    } else {
      std::cerr << Peek().where << ": qrc: skipped a " << type << " resource\n";
      while (Peek().kind != Token::End && !Is("BEGIN") && !Is("{")) Next();
      SkipBlock();
      return;
    }
    m_out.push_back(std::move(r));
  }

  void DialogResource(Resource& r, bool extended) {
    Dialog d;
    d.x = static_cast<int16_t>(Expression());
    Comma();
    d.y = static_cast<int16_t>(Expression());
    Comma();
    d.cx = static_cast<int16_t>(Expression());
    Comma();
    d.cy = static_cast<int16_t>(Expression());
    if (Accept(",")) Expression();  // help id
    d.style = 0x80000000u | 0x00800000u | 0x00080000u;  // WS_POPUP | WS_BORDER | WS_SYSMENU
    bool captioned = false;
    for (;;) {
      if (Accept("STYLE")) {
        d.style = 0;
        Style(d.style);
      } else if (Accept("EXSTYLE")) {
        d.exStyle = 0;
        Style(d.exStyle);
      } else if (Accept("CAPTION")) {
        d.caption = String();
        captioned = true;
      } else if (Accept("FONT")) {
        d.pointSize = static_cast<uint16_t>(Expression());
        Comma();
        d.face = String();
        if (Accept(",")) d.weight = static_cast<uint16_t>(Expression());
        if (Accept(",")) d.italic = static_cast<uint8_t>(Expression());
        if (Accept(",")) d.charset = static_cast<uint8_t>(Expression());
      } else if (Accept("MENU")) {
        d.menu = Next().text;
      } else if (Accept("CLASS")) {
        d.className = String();
      } else if (Is("LANGUAGE") || Is("CHARACTERISTICS") || Is("VERSION")) {
        SkipOptions();
      } else {
        break;
      }
    }
    if (captioned) d.style |= 0x00C00000u;    // WS_CAPTION
    if (d.pointSize) d.style |= 0x00000040u;  // DS_SETFONT
    if (!Begin()) Fail("BEGIN was expected in a dialog");
    std::vector<qwin::rc::ControlName> names;
    while (!EndBlock()) {
      std::string symbol;
      d.controls.push_back(Control(extended, symbol));
      if (!symbol.empty()) names.push_back({d.controls.back().id, symbol});
    }
    r.type = 5;
    r.data = qwin::rc::WriteDialog(d);
    if (!names.empty()) m_out.push_back(Resource{qwin::rc::kControlNamesType, r.id, r.name, qwin::rc::WriteControlNames(names)});
  }

  // The control's id: a symbol written alone (IDC_BOLD, IDCANCEL) is kept in `symbol`; IDC_STATIC
  // names no control, and an id written as a number or an expression has no name.
  int32_t ControlId(std::string& symbol) {
    if (Peek().kind == Token::Name && Peek(1).kind == Token::Punct && Peek(1).text == "," && Peek().text != "IDC_STATIC")
      symbol = Peek().text;
    return static_cast<int32_t>(Expression());
  }

  DialogControl Control(bool extended, std::string& symbol) {
    static const std::map<std::string, std::pair<std::string, uint32_t>> shortcuts = {
        {"LTEXT", {"STATIC", 0x00000000u | 0x00020000u}},
        {"RTEXT", {"STATIC", 0x00000002u | 0x00020000u}},
        {"CTEXT", {"STATIC", 0x00000001u | 0x00020000u}},
        {"PUSHBUTTON", {"BUTTON", 0x00000000u | 0x00010000u}},
        {"DEFPUSHBUTTON", {"BUTTON", 0x00000001u | 0x00010000u}},
        {"PUSHBOX", {"BUTTON", 0x0000000Au | 0x00010000u}},
        {"CHECKBOX", {"BUTTON", 0x00000002u | 0x00010000u}},
        {"AUTOCHECKBOX", {"BUTTON", 0x00000003u | 0x00010000u}},
        {"RADIOBUTTON", {"BUTTON", 0x00000004u}},
        {"AUTORADIOBUTTON", {"BUTTON", 0x00000009u}},
        {"STATE3", {"BUTTON", 0x00000005u | 0x00010000u}},
        {"AUTO3STATE", {"BUTTON", 0x00000006u | 0x00010000u}},
        {"GROUPBOX", {"BUTTON", 0x00000007u}},
        {"EDITTEXT", {"EDIT", 0x00800000u | 0x00010000u}},
        {"COMBOBOX", {"COMBOBOX", 0x00000001u | 0x00010000u}},
        {"LISTBOX", {"LISTBOX", 0x00000001u | 0x00800000u}},
        {"SCROLLBAR", {"SCROLLBAR", 0}},
        {"ICON", {"STATIC", 0x00000003u}},
    };
    const uint32_t childVisible = 0x40000000u | 0x10000000u;
    DialogControl c;
    std::string keyword = Next().text;
    for (auto& ch : keyword) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    auto textOf = [&]() -> std::string {
      if (Peek().kind == Token::String) return String();
      return "#" + std::to_string(Expression() & 0xFFFF);
    };
    if (keyword == "CONTROL") {
      c.text = textOf();
      Comma();
      c.id = ControlId(symbol);
      Comma();
      c.className = Peek().kind == Token::String ? String() : Next().text;
      for (auto& ch : c.className) {
        if (c.className != "RICHEDIT") ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      }
      Comma();
      c.style = childVisible;
      Style(c.style);
      Comma();
      Position(c);
      if (Accept(",")) {
        c.exStyle = 0;
        Style(c.exStyle);
      }
      if (extended && Accept(",")) Expression();
      return c;
    }
    auto it = shortcuts.find(keyword);
    if (it == shortcuts.end()) throw Error(Peek().where + ": unknown dialog control " + keyword);
    c.className = it->second.first;
    c.style = childVisible | it->second.second;
    bool hasText = keyword != "EDITTEXT" && keyword != "COMBOBOX" && keyword != "LISTBOX" && keyword != "SCROLLBAR";
    if (hasText) {
      c.text = textOf();
      Comma();
    }
    c.id = ControlId(symbol);
    Comma();
    if (keyword == "ICON") {
      c.x = static_cast<int16_t>(Expression());
      Comma();
      c.y = static_cast<int16_t>(Expression());
      if (Accept(",")) {
        c.cx = static_cast<int16_t>(Expression());
        Comma();
        c.cy = static_cast<int16_t>(Expression());
      }
    } else {
      Position(c);
    }
    if (Accept(",")) {
      uint32_t given = 0;
      uint32_t cleared = 0;
      Style(given, &cleared);
      // A combo box's kind replaces the CBS_SIMPLE default rather than adding to it.
      if (c.className == "COMBOBOX" && (given & 3)) c.style &= ~3u;
      c.style = (c.style & ~cleared) | given;
    }
    if (Accept(",")) Style(c.exStyle);
    if (extended && Accept(",")) Expression();
    return c;
  }

  void Position(DialogControl& c) {
    c.x = static_cast<int16_t>(Expression());
    Comma();
    c.y = static_cast<int16_t>(Expression());
    Comma();
    c.cx = static_cast<int16_t>(Expression());
    Comma();
    c.cy = static_cast<int16_t>(Expression());
  }

  void MenuBlock(std::vector<MenuItem>& items) {
    if (!Begin()) Fail("BEGIN was expected in a menu");
    while (!EndBlock()) {
      MenuItem item;
      if (Accept("POPUP")) {
        item.flags = 0x0010;
        item.text = String();
        MenuOptions(item);
        MenuBlock(item.children);
      } else if (Accept("MENUITEM")) {
        if (Accept("SEPARATOR")) {
          item.flags = 0x0800;
        } else {
          item.text = String();
          Comma();
          item.id = Expression();
          MenuOptions(item);
        }
      } else {
        Fail("POPUP or MENUITEM was expected, not '" + Peek().text + "'");
      }
      items.push_back(std::move(item));
    }
  }

  void MenuOptions(MenuItem& item) {
    while (Accept(",") || Is("GRAYED") || Is("CHECKED") || Is("INACTIVE") || Is("MENUBREAK") ||
           Is("MENUBARBREAK") || Is("HELP")) {
      if (Accept("GRAYED")) item.flags |= 0x0001;
      if (Accept("INACTIVE")) item.flags |= 0x0002;
      if (Accept("CHECKED")) item.flags |= 0x0008;
      if (Accept("MENUBARBREAK")) item.flags |= 0x0020;
      if (Accept("MENUBREAK")) item.flags |= 0x0040;
      Accept("HELP");
    }
  }

  std::vector<Token> m_t;
  size_t m_p = 0;
  Preprocessor& m_pp;
  std::string m_dir;
  std::vector<Resource> m_out;
};

std::string Generate(const std::string& input, const std::vector<Resource>& resources) {
  std::ostringstream out;
  out << "// Generated by qrc from " << input << "; do not edit.\n";
  out << "#include <qplatform/Resources.h>\n\nnamespace {\n\n";
  for (size_t i = 0; i < resources.size(); ++i) {
    out << "const unsigned char r" << i << "[] = {";
    const auto& data = resources[i].data;
    for (size_t k = 0; k < data.size(); ++k) {
      if (k % 24 == 0) out << "\n   ";
      out << " " << static_cast<unsigned>(data[k]) << ",";
    }
    if (data.empty()) out << "0";
    out << "\n};\n";
  }
  out << "\nconst qwin::ResourceEntry entries[] = {\n";
  for (size_t i = 0; i < resources.size(); ++i) {
    const auto& r = resources[i];
    out << "    {" << r.type << ", " << r.id << ", ";
    if (r.name.empty()) {
      out << "nullptr";
    } else {
      out << "\"" << r.name << "\"";
    }
    out << ", r" << i << ", " << r.data.size() << "},\n";
  }
  if (resources.empty()) out << "    {0, 0, nullptr, nullptr, 0},\n";
  out << "};\n\n";
  out << "struct Registration {\n"
      << "  Registration() { qwin::RegisterModuleResources(entries, entries, " << resources.size() << "); }\n"
      << "} registration;\n\n}  // namespace\n";
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::vector<std::string> includes;
  std::vector<std::string> files;
  std::string depfile;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-I" && i + 1 < args.size()) {
      includes.push_back(args[++i]);
    } else if (args[i] == "-d" && i + 1 < args.size()) {
      depfile = args[++i];
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) {
    std::cerr << "usage: qrc <input.rc> <output.cpp> [-I <dir>]... [-d <depfile>]\n";
    return 2;
  }
  try {
    Preprocessor pp(includes);
    pp.Run(files[0], false);
    Parser parser(Tokenize(pp.Lines()), pp, DirOf(files[0]));
    std::vector<Resource> resources = parser.Run();
    std::ofstream out(files[1], std::ios::binary);
    out << Generate(files[0], resources);
    if (!out) throw Error("cannot write " + files[1]);
    if (!depfile.empty()) {
      std::ofstream dep(depfile);
      dep << files[1] << ":";
      for (const auto& d : pp.Deps()) dep << " \\\n  " << d;
      dep << "\n";
    }
  } catch (const std::exception& e) {
    std::cerr << "qrc: " << e.what() << "\n";
    std::remove(files[1].c_str());
    return 1;
  }
  return 0;
}
