// Windows stand-in: font enumeration over a built-in catalogue of the usual Windows faces, joined by
// the faces installed on the machine when fontconfig is there (read through dlopen, so it is optional).
#include <dlfcn.h>

#include <algorithm>
#include <cstring>

#include "qplatform/WindowSystem.h"
#include "win32/src/Internal.h"

namespace qwin::detail {
namespace {

struct Face {
  std::string name;
  BYTE charset;
  BYTE pitchAndFamily;
  int type;
  std::vector<BYTE> moreCharsets;
};

constexpr BYTE kTT = VARIABLE_PITCH;
constexpr BYTE kFixed = FIXED_PITCH;

const std::vector<Face>& Catalogue() {
  static const std::vector<Face> faces = {
      {"Arial", ANSI_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {RUSSIAN_CHARSET, EASTEUROPE_CHARSET, GREEK_CHARSET, TURKISH_CHARSET, BALTIC_CHARSET}},
      {"Arial Cyr", RUSSIAN_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"Arial CE", EASTEUROPE_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"Arial Greek", GREEK_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"Arial Tur", TURKISH_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"Arial Baltic", BALTIC_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"Times New Roman", ANSI_CHARSET, kTT | FF_ROMAN, TRUETYPE_FONTTYPE, {RUSSIAN_CHARSET, EASTEUROPE_CHARSET, GREEK_CHARSET}},
      {"Times New Roman Cyr", RUSSIAN_CHARSET, kTT | FF_ROMAN, TRUETYPE_FONTTYPE, {}},
      {"Courier New", ANSI_CHARSET, kFixed | FF_MODERN, TRUETYPE_FONTTYPE, {RUSSIAN_CHARSET, EASTEUROPE_CHARSET}},
      {"Courier New Cyr", RUSSIAN_CHARSET, kFixed | FF_MODERN, TRUETYPE_FONTTYPE, {}},
      {"Tahoma", ANSI_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {RUSSIAN_CHARSET}},
      {"Verdana", ANSI_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {RUSSIAN_CHARSET}},
      {"Georgia", ANSI_CHARSET, kTT | FF_ROMAN, TRUETYPE_FONTTYPE, {}},
      {"Trebuchet MS", ANSI_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"Comic Sans MS", ANSI_CHARSET, kTT | FF_SCRIPT, TRUETYPE_FONTTYPE, {RUSSIAN_CHARSET}},
      {"Lucida Console", ANSI_CHARSET, kFixed | FF_MODERN, TRUETYPE_FONTTYPE, {RUSSIAN_CHARSET}},
      {"Impact", ANSI_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"Symbol", SYMBOL_CHARSET, kTT | FF_ROMAN, TRUETYPE_FONTTYPE, {}},
      {"Wingdings", SYMBOL_CHARSET, kTT | FF_DECORATIVE, TRUETYPE_FONTTYPE, {}},
      {"Webdings", SYMBOL_CHARSET, kTT | FF_DECORATIVE, TRUETYPE_FONTTYPE, {}},
      {"Marlett", SYMBOL_CHARSET, kTT | FF_DECORATIVE, TRUETYPE_FONTTYPE, {}},
      {"MS Mincho", SHIFTJIS_CHARSET, kFixed | FF_MODERN, TRUETYPE_FONTTYPE, {}},
      {"SimSun", GB2312_CHARSET, kFixed | FF_MODERN, TRUETYPE_FONTTYPE, {}},
      {"MingLiU", CHINESEBIG5_CHARSET, kFixed | FF_MODERN, TRUETYPE_FONTTYPE, {}},
      {"Gulim", HANGUL_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"David", HEBREW_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"Traditional Arabic", ARABIC_CHARSET, kTT | FF_ROMAN, TRUETYPE_FONTTYPE, {}},
      {"Tahoma Thai", THAI_CHARSET, kTT | FF_SWISS, TRUETYPE_FONTTYPE, {}},
      {"MS Sans Serif", ANSI_CHARSET, kTT | FF_SWISS, RASTER_FONTTYPE, {RUSSIAN_CHARSET}},
      {"MS Serif", ANSI_CHARSET, kTT | FF_ROMAN, RASTER_FONTTYPE, {}},
      {"Courier", ANSI_CHARSET, kFixed | FF_MODERN, RASTER_FONTTYPE, {}},
      {"System", ANSI_CHARSET, kTT | FF_SWISS, RASTER_FONTTYPE, {}},
      {"Fixedsys", ANSI_CHARSET, kFixed | FF_MODERN, RASTER_FONTTYPE, {}},
      {"Small Fonts", ANSI_CHARSET, kTT | FF_SWISS, RASTER_FONTTYPE, {}},
      {"Terminal", OEM_CHARSET, kFixed | FF_MODERN, RASTER_FONTTYPE, {}},
      {"Modern", OEM_CHARSET, kTT | FF_MODERN, 0, {}},
      {"Roman", OEM_CHARSET, kTT | FF_ROMAN, 0, {}},
      {"Script", OEM_CHARSET, kTT | FF_SCRIPT, 0, {}},
      {"Courier 10cpi", ANSI_CHARSET, kFixed | FF_MODERN, DEVICE_FONTTYPE, {}},
  };
  return faces;
}

bool g_machineFonts = true;

// The faces fontconfig knows, read once; empty when the library is absent.
const std::vector<Face>& MachineFaces() {
  static std::vector<Face> faces = [] {
    std::vector<Face> out;
    void* lib = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return out;
    struct FontSet {
      int nfont;
      int sfont;
      void** fonts;
    };
    using PatternCreate = void* (*)();
    using ObjectSetBuild = void* (*)(const char*, ...);
    using FontList = FontSet* (*)(void*, void*, void*);
    using GetString = int (*)(void*, const char*, int, unsigned char**);
    using GetInteger = int (*)(void*, const char*, int, int*);
    using GetCharSet = int (*)(void*, const char*, int, void**);
    using HasChar = int (*)(void*, unsigned);
    using Destroy = void (*)(void*);
    using SetDestroy = void (*)(FontSet*);
    auto create = reinterpret_cast<PatternCreate>(dlsym(lib, "FcPatternCreate"));
    auto build = reinterpret_cast<ObjectSetBuild>(dlsym(lib, "FcObjectSetBuild"));
    auto list = reinterpret_cast<FontList>(dlsym(lib, "FcFontList"));
    auto getString = reinterpret_cast<GetString>(dlsym(lib, "FcPatternGetString"));
    auto getInteger = reinterpret_cast<GetInteger>(dlsym(lib, "FcPatternGetInteger"));
    auto getCharSet = reinterpret_cast<GetCharSet>(dlsym(lib, "FcPatternGetCharSet"));
    auto hasChar = reinterpret_cast<HasChar>(dlsym(lib, "FcCharSetHasChar"));
    auto destroyPattern = reinterpret_cast<Destroy>(dlsym(lib, "FcPatternDestroy"));
    auto destroyObjects = reinterpret_cast<Destroy>(dlsym(lib, "FcObjectSetDestroy"));
    auto destroySet = reinterpret_cast<SetDestroy>(dlsym(lib, "FcFontSetDestroy"));
    if (!create || !build || !list || !getString || !getInteger || !getCharSet || !hasChar || !destroyPattern ||
        !destroyObjects || !destroySet) {
      return out;
    }
    void* pattern = create();
    void* objects = build("family", "spacing", "fontformat", "charset", static_cast<const char*>(nullptr));
    FontSet* set = list(nullptr, pattern, objects);
    for (int i = 0; set && i < set->nfont; ++i) {
      void* font = set->fonts[i];
      unsigned char* family = nullptr;
      if (getString(font, "family", 0, &family) != 0 || !family) continue;
      std::string name(reinterpret_cast<char*>(family));
      bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
      if (!ascii || name.empty() || name.size() >= LF_FACESIZE) continue;
      bool known = std::any_of(out.begin(), out.end(), [&](const Face& f) { return EqualNoCase(f.name, name); });
      if (known) continue;
      int spacing = 0;
      getInteger(font, "spacing", 0, &spacing);
      unsigned char* format = nullptr;
      getString(font, "fontformat", 0, &format);
      std::string fmt = format ? reinterpret_cast<char*>(format) : "";
      void* charset = nullptr;
      bool latin = true, cyrillic = false;
      if (getCharSet(font, "charset", 0, &charset) == 0 && charset) {
        latin = hasChar(charset, 'A') != 0;
        cyrillic = hasChar(charset, 0x0410) != 0;
      }
      Face face;
      face.name = name;
      face.charset = latin ? ANSI_CHARSET : cyrillic ? RUSSIAN_CHARSET : SYMBOL_CHARSET;
      if (latin && cyrillic) face.moreCharsets.push_back(RUSSIAN_CHARSET);
      bool serif = name.find("Serif") != std::string::npos && name.find("Sans") == std::string::npos;
      face.pitchAndFamily = spacing >= 100 ? static_cast<BYTE>(FIXED_PITCH | FF_MODERN)
                                           : static_cast<BYTE>(VARIABLE_PITCH | (serif ? FF_ROMAN : FF_SWISS));
      face.type = (fmt == "TrueType" || fmt == "CFF") ? TRUETYPE_FONTTYPE
                  : (fmt == "PCF" || fmt == "BDF")    ? RASTER_FONTTYPE
                                                      : 0;
      out.push_back(face);
    }
    if (set) destroySet(set);
    destroyObjects(objects);
    destroyPattern(pattern);
    std::sort(out.begin(), out.end(), [](const Face& a, const Face& b) { return a.name < b.name; });
    return out;
  }();
  return faces;
}

std::vector<Face> AllFaces() {
  std::vector<Face> faces = Catalogue();
  if (!g_machineFonts) return faces;
  for (const Face& f : MachineFaces()) {
    bool known = std::any_of(faces.begin(), faces.end(), [&](const Face& c) { return EqualNoCase(c.name, f.name); });
    if (!known) faces.push_back(f);
  }
  return faces;
}

int Enumerate(LPCSTR faceName, FONTENUMPROC proc, LPARAM data) {
  if (!proc) return 0;
  int result = 1;
  for (const Face& face : AllFaces()) {
    if (faceName && *faceName && !EqualNoCase(face.name, faceName)) continue;
    std::vector<BYTE> charsets{face.charset};
    if (faceName && *faceName) charsets.insert(charsets.end(), face.moreCharsets.begin(), face.moreCharsets.end());
    for (BYTE charset : charsets) {
      LOGFONT lf{};
      bool scalable = face.type == TRUETYPE_FONTTYPE || face.type == 0;
      lf.lfHeight = scalable ? 16 : 13;
      lf.lfWidth = scalable ? 7 : 6;
      lf.lfWeight = FW_NORMAL;
      lf.lfCharSet = charset;
      lf.lfOutPrecision = face.type == TRUETYPE_FONTTYPE ? 3 : 1;
      lf.lfClipPrecision = 2;
      lf.lfQuality = 1;
      lf.lfPitchAndFamily = face.pitchAndFamily;
      lstrcpyn(lf.lfFaceName, face.name.c_str(), LF_FACESIZE);
      HFONT font = CreateFontIndirect(&lf);
      TEXTMETRIC tm = MetricsOf(font);
      DeleteObject(font);
      result = proc(&lf, &tm, static_cast<DWORD>(face.type), data);
      if (result == 0) return 0;
    }
  }
  return result;
}

}  // namespace
}  // namespace qwin::detail

namespace qwin {
void SetMachineFontsEnabled(bool enabled) { detail::g_machineFonts = enabled; }
}  // namespace qwin

int EnumFonts(HDC, LPCSTR faceName, FONTENUMPROC proc, LPARAM data) {
  return qwin::detail::Enumerate(faceName, proc, data);
}

int EnumFontFamilies(HDC, LPCSTR family, FONTENUMPROC proc, LPARAM data) {
  return qwin::detail::Enumerate(family, proc, data);
}
