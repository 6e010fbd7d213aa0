// Loading DXF: the file's groups and sections, then a database built from them (all or nothing).
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "arx/src/DbInternals.h"
#include "arx/src/DxfEntities.h"
#include "arx/src/DxfImage.h"
#include "dbsymtb.h"
#include "qplatform/Drawing.h"
#include "rxregsvc.h"

namespace qhost {
namespace dxf {
namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

struct Failure {
  std::string message;
};

[[noreturn]] void Fail(uint32_t line, const std::string& what) {
  throw Failure{"line " + std::to_string(line) + ": " + what};
}

// A table record or an entity: its type and its groups [first, end).
struct Span {
  std::string type;
  size_t first, end;
};

// What the structure pass found.
struct Layout {
  std::vector<Span> styles;
  std::vector<Span> blockRecords;
  std::vector<Span> entities;
  std::string codePage;
  uint64_t maxHandle = 0;
  bool entityHandles = false;
};

// Splits the bytes into groups: a code line and a value line each, up to EOF.
void SplitGroups(Image& img) {
  const std::string& b = img.bytes;
  if (b.size() >= 0xFFFFFFF0u) Fail(1, "the file is too large");
  if (b.compare(0, 18, "AutoCAD Binary DXF") == 0) Fail(1, "a binary DXF file; only ASCII DXF can be read");
  size_t pos = 0;
  if (b.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  size_t firstNl = b.find('\n');
  img.eol = firstNl != std::string::npos && firstNl > 0 && b[firstNl - 1] == '\r' ? "\r\n" : "\n";
  uint32_t line = 1;
  bool first = true;
  while (pos < b.size()) {
    Group g;
    g.codeBegin = static_cast<uint32_t>(pos);
    g.line = line;
    size_t nl = b.find('\n', pos);
    size_t codeEnd = nl == std::string::npos ? b.size() : nl;
    if (codeEnd > pos && b[codeEnd - 1] == '\r') --codeEnd;
    std::string codeText = Trim(b.substr(pos, codeEnd - pos));
    char* stop = nullptr;
    long code = std::strtol(codeText.c_str(), &stop, 10);
    if (codeText.empty() || *stop != '\0' || code < 0 || code > 1071)
      Fail(line, "a group code was expected, found \"" + Shown(codeText.substr(0, 40)) + "\"");
    if (first) {
      img.leftAlignedCodes = b[pos] != ' ';
      first = false;
    }
    if (nl == std::string::npos) Fail(line, "group " + Shown(codeText) + " has no value: the file ends");
    g.code = static_cast<int>(code);
    g.valueBegin = static_cast<uint32_t>(nl + 1);
    size_t vnl = b.find('\n', nl + 1);
    size_t valueEnd = vnl == std::string::npos ? b.size() : vnl;
    if (valueEnd > nl + 1 && b[valueEnd - 1] == '\r') --valueEnd;
    g.valueEnd = static_cast<uint32_t>(valueEnd);
    g.end = static_cast<uint32_t>(vnl == std::string::npos ? b.size() : vnl + 1);
    img.groups.push_back(g);
    pos = g.end;
    line += 2;
    if (g.code == 0 && Trim(img.value(img.groups.size() - 1)) == "EOF") break;
  }
  img.groupsEndOffset = pos;
}

uint64_t HexValue(const std::string& s) { return AcDbHandle(Trim(s).c_str()).value(); }

// Records of a table section or entities of an entity section: each starts at a group 0. Groups
// before the first one (comments) belong to no object and stay as they are.
void CollectSpans(const Image& img, size_t from, size_t to, std::vector<Span>& out) {
  while (from < to && img.groups[from].code != 0) ++from;
  for (size_t i = from; i < to;) {
    size_t j = i + 1;
    while (j < to && img.groups[j].code != 0) ++j;
    out.push_back({Upper(Trim(img.value(i))), i, j});
    i = j;
  }
}

void ReadHeader(Image& img, size_t from, size_t to, Layout& layout) {
  for (size_t i = from; i < to; ++i) {
    if (img.groups[i].code != 9 || i + 1 >= to) continue;
    std::string name = Upper(Trim(img.value(i)));
    img.headerValues[name] = i + 1;
    std::string value = Trim(img.value(i + 1));
    if (name == "$ACADVER") img.version = Upper(value);
    if (name == "$DWGCODEPAGE") layout.codePage = value;
    if (name == "$HANDSEED") {
      img.handseedValue = i + 1;
      img.handseed = HexValue(value);
    }
  }
}

void ReadTables(const Image& img, size_t from, size_t to, Layout& layout) {
  std::vector<Span> spans;
  CollectSpans(img, from, to, spans);
  std::string table;
  for (const Span& s : spans) {
    if (s.type == "TABLE") {
      size_t at = s.first + 1;
      table = at < s.end && img.groups[at].code == 2 ? Upper(Trim(img.value(at))) : "";
    } else if (s.type == "ENDTAB") {
      table.clear();
    } else if (table == "STYLE" && s.type == "STYLE") {
      layout.styles.push_back(s);
    } else if (table == "BLOCK_RECORD" && s.type == "BLOCK_RECORD") {
      layout.blockRecords.push_back(s);
    }
  }
}

// The sections of the file, checked for shape; records what the database needs.
Layout ReadStructure(Image& img) {
  Layout layout;
  size_t n = img.groups.size();
  size_t i = 0;
  bool sawEof = false;
  while (i < n) {
    const Group& g = img.groups[i];
    if (g.code == 999) {
      ++i;
      continue;
    }
    std::string v = Upper(Trim(img.value(i)));
    if (g.code != 0) Fail(g.line, "a SECTION was expected, found group " + std::to_string(g.code));
    if (v == "EOF") {
      sawEof = true;
      break;
    }
    if (v != "SECTION") Fail(g.line, "a SECTION was expected, found \"" + Shown(v.substr(0, 40)) + "\"");
    if (i + 1 >= n || img.groups[i + 1].code != 2) Fail(g.line, "the SECTION has no name (group 2)");
    std::string section = Upper(Trim(img.value(i + 1)));
    uint32_t sectionLine = g.line;
    size_t from = i + 2;
    size_t j = from;
    for (; j < n; ++j) {
      if (img.groups[j].code != 0) continue;
      std::string w = Upper(Trim(img.value(j)));
      if (w == "ENDSEC") break;
      if (w == "SECTION" || w == "EOF")
        Fail(img.groups[j].line, "section " + Shown(section.substr(0, 40)) + " (line " + std::to_string(sectionLine) + ") has no ENDSEC");
    }
    if (j >= n) Fail(sectionLine, "section " + Shown(section.substr(0, 40)) + " has no ENDSEC: the file ends");
    if (section == "HEADER") {
      ReadHeader(img, from, j, layout);
    } else if (section == "TABLES") {
      ReadTables(img, from, j, layout);
    } else if (section == "ENTITIES") {
      CollectSpans(img, from, j, layout.entities);
      img.entitiesEnd = j;
    }
    if (section != "HEADER") {
      for (size_t k = from; k < j; ++k) {
        int c = img.groups[k].code;
        if (c == 5 || c == 105) {
          uint64_t h = HexValue(img.value(k));
          if (h > layout.maxHandle) layout.maxHandle = h;
          if (section == "ENTITIES") layout.entityHandles = true;
        }
      }
    }
    i = j + 1;
  }
  if (!sawEof) Fail(img.groups.empty() ? 1 : img.groups.back().line, "the file ends without EOF");
  return layout;
}

// An integer header value; anything out of range counts as none.
int HeaderInt(const std::string& v) {
  long n = std::strtol(v.c_str(), nullptr, 10);
  return n >= -32768 && n <= 32767 ? static_cast<int>(n) : -1;
}

std::string Decoded(const Image& img, size_t at, std::vector<uint32_t>& misfits) {
  std::string out;
  if (!DecodeText(img.codec, Trim(img.value(at)), out)) misfits.push_back(img.groups[at].line + 1);
  return out;
}

// The first group `code` of a record as text, or "".
std::string RecordText(const Image& img, const Span& s, int code, std::vector<uint32_t>& misfits) {
  for (size_t k = s.first + 1; k < s.end; ++k)
    if (img.groups[k].code == code) return Decoded(img, k, misfits);
  return "";
}

uint64_t RecordHandle(const Image& img, const Span& s) {
  for (size_t k = s.first + 1; k < s.end; ++k)
    if (img.groups[k].code == 5) return HexValue(img.value(k));
  return 0;
}

// A table record's real; one that is not a decimal number leaves the default.
double RecordReal(const Image& img, const Span& s, int code, double fallback) {
  double value = fallback;
  for (size_t k = s.first + 1; k < s.end; ++k)
    if (img.groups[k].code == code) return ParseReal(img.value(k), value) ? value : fallback;
  return fallback;
}

AcDbHandle UniqueHandle(AcDbDatabase::Impl& impl, uint64_t h) {
  return h != 0 && impl.find(h) == nullptr ? AcDbHandle(h) : AcDbHandle();
}

void BuildDatabase(AcDbDatabase& db, std::unique_ptr<Image> image, const Layout& layout,
                   std::vector<std::string>& warnings) {
  Image& img = *image;
  auto& impl = db.impl();
  std::vector<uint32_t> misfits;
  impl.nextHandle = std::max<uint64_t>({1, img.handseed, layout.maxHandle + 1});
  img.hasHandles = layout.entityHandles || img.handseedValue != SIZE_MAX;

  impl.styleTable = impl.add(new AcDbTextStyleTable(), AcDbObjectId(), AcDbHandle(), true);
  impl.blockTable = impl.add(new AcDbBlockTable(), AcDbObjectId(), AcDbHandle(), true);
  for (const Span& s : layout.styles) {
    std::string name = RecordText(img, s, 2, misfits);
    auto* table = static_cast<AcDbTextStyleTable*>(impl.styleTable.stub()->object.get());
    if (name.empty() || table->has(name.c_str())) continue;
    auto* rec = new AcDbTextStyleTableRecord();
    rec->setFileName(RecordText(img, s, 3, misfits).c_str());
    rec->setTextSize(RecordReal(img, s, 40, 0.0));
    rec->setXScale(RecordReal(img, s, 41, 1.0));
    detail::AddRecord(db, impl.styleTable, rec, name, UniqueHandle(impl, RecordHandle(img, s)));
  }
  auto* styles = static_cast<AcDbTextStyleTable*>(impl.styleTable.stub()->object.get());
  if (!styles->has("Standard")) detail::AddRecord(db, impl.styleTable, new AcDbTextStyleTableRecord(), "Standard", {});

  for (const Span& s : layout.blockRecords) {
    std::string name = Upper(RecordText(img, s, 2, misfits));
    if (name == "*MODEL_SPACE") img.modelSpaceRecord = AcDbHandle(RecordHandle(img, s));
    if (name == "*PAPER_SPACE") img.paperSpaceRecord = AcDbHandle(RecordHandle(img, s));
  }
  impl.modelSpace = detail::AddRecord(db, impl.blockTable, new AcDbBlockTableRecord(), ACDB_MODEL_SPACE,
                                      UniqueHandle(impl, img.modelSpaceRecord.value()));
  impl.paperSpace = detail::AddRecord(db, impl.blockTable, new AcDbBlockTableRecord(), ACDB_PAPER_SPACE,
                                      UniqueHandle(impl, img.paperSpaceRecord.value()));

  StyleLookup styleByName = [&](const std::string& name) {
    AcDbObjectId id;
    styles->getAt(name.empty() ? "Standard" : name.c_str(), id);
    if (id.isNull()) styles->getAt("Standard", id);
    return id;
  };
  for (const Span& s : layout.entities) {
    EntityReader r{img, s.type, s.first, s.end, {}, {}};
    AcDbEntity* entity = ReadEntity(r, styleByName);
    misfits.insert(misfits.end(), r.misfits.begin(), r.misfits.end());
    if (!r.error.empty()) throw Failure{r.error};
    if (entity == nullptr) continue;
    bool paper = IsPaperSpace(r);
    uint64_t h = 0;
    size_t at;
    if (r.Find(5, at)) h = HexValue(img.value(at));
    AcDbObjectId space = paper ? impl.paperSpace : impl.modelSpace;
    AcDbObjectId id = impl.add(entity, space, UniqueHandle(impl, h));
    auto source = std::make_unique<EntitySource>();
    source->first = s.first;
    source->end = s.end;
    source->loaded = FieldsOf(*entity, s.type == "MTEXT" && !r.Has(50) && r.Has(11));
    id.stub()->source = std::move(source);
    detail::EntityList(*static_cast<AcDbBlockTableRecord*>(space.stub()->object.get())).push_back(id);
  }

  // The header values behind the system variables; what the file does not say, or says wrongly,
  // keeps the default.
  auto header = [&](const char* name, std::string& out) {
    auto it = img.headerValues.find(name);
    if (it == img.headerValues.end()) return false;
    out = Decoded(img, it->second, misfits);
    return true;
  };
  std::string v;
  impl.textstyle = styleByName(header("$TEXTSTYLE", v) ? v : "Standard");
  double size = 0.0;
  if (header("$TEXTSIZE", v) && ParseReal(v, size) && size > 0) impl.textsize = size;
  if (header("$TILEMODE", v)) impl.tilemode = HeaderInt(v) != 0;
  if (header("$LUNITS", v) && HeaderInt(v) >= 1 && HeaderInt(v) <= 5) impl.lunits = static_cast<short>(HeaderInt(v));
  if (header("$LUPREC", v) && HeaderInt(v) >= 0 && HeaderInt(v) <= 8) impl.luprec = static_cast<short>(HeaderInt(v));
  // A value is written back only when the database's value changes from what it was after loading.
  for (const auto& [name, value] : HeaderValues(db))
    if (img.headerValues.count(name)) img.headerLoaded[name] = value;

  if (!misfits.empty()) {
    std::string lines;
    for (size_t k = 0; k < misfits.size() && k < 5; ++k) lines += (k ? ", " : "") + std::to_string(misfits[k]);
    if (misfits.size() > 5) lines += ", ...";
    warnings.push_back("text on line " + lines + " does not fit the file's encoding " + img.codec.name() +
                       (img.codec.isUtf8() ? "; read as code page 1251" : "; kept as \\U+00XX escapes") +
                       ", nothing is lost");
  }
  impl.image = std::move(image);
}

}  // namespace

}  // namespace dxf

namespace {

bool Load(AcDbDatabase& db, std::string bytes, const std::string& name, std::string& error,
          std::vector<std::string>& warnings) {
  using namespace dxf;
  try {
    auto image = std::make_unique<Image>();
    image->bytes = std::move(bytes);
    if (image->bytes.empty()) throw Failure{"line 1: the file is empty"};
    SplitGroups(*image);
    Layout layout = ReadStructure(*image);
    image->codec = Codec::ForDrawing(image->version, layout.codePage);
    BuildDatabase(db, std::move(image), layout, warnings);
    return true;
  } catch (const Failure& f) {
    error = name + ":" + f.message.substr(5);
    return false;
  }
}

}  // namespace

DrawingLoad LoadDrawingFromBytes(const std::string& bytes, const std::string& name) {
  DrawingLoad result;
  auto db = std::make_unique<AcDbDatabase>(false);
  if (Load(*db, bytes, name, result.error, result.warnings)) result.database = std::move(db);
  return result;
}

DrawingLoad LoadDrawing(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  struct stat st {};
  if (!in || (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
    DrawingLoad result;
    result.error = path + ": cannot open the file: " + std::strerror(in ? EISDIR : errno);
    return result;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  DrawingLoad result = LoadDrawingFromBytes(ss.str(), path);
  if (result.database) result.database->impl().image->path = path;
  return result;
}

namespace detail {
const std::string& DefaultDrawingBytes();
}

void LoadDefaultDrawing(AcDbDatabase& db) {
  std::string error;
  std::vector<std::string> warnings;
  if (!Load(db, detail::DefaultDrawingBytes(), "default drawing", error, warnings))
    acrx_abort("the default drawing does not load: %s", error.c_str());
}

std::string DrawingEncoding(const AcDbDatabase& db) {
  return db.impl().image ? db.impl().image->codec.name() : std::string();
}
std::string DrawingVersion(const AcDbDatabase& db) { return db.impl().image ? db.impl().image->version : std::string(); }
std::string DrawingPath(const AcDbDatabase& db) { return db.impl().image ? db.impl().image->path : std::string(); }
void SetDrawingPath(AcDbDatabase& db, const std::string& path) {
  if (db.impl().image) db.impl().image->path = path;
}

}  // namespace qhost
