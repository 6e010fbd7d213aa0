// Loading DXF: the file's groups and sections, then a database built from them (all or nothing).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>

#include "arx/src/DbInternals.h"
#include "arx/src/DefaultDrawing.h"
#include "arx/src/DxfDimensions.h"
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

struct Failure {
  std::string message;
};

[[noreturn]] void Fail(uint32_t line, const std::string& what) {
  throw Failure{"line " + std::to_string(line) + ": " + what};
}

// A table record or an entity: its groups, by byte offsets, from its "0" group on.
using Span = EntitySource;

// What the structure pass found.
struct Layout {
  std::vector<Span> styles;
  std::vector<Span> blockRecords;
  std::vector<Span> dimStyles;
  Span blocks;  // the groups of the BLOCKS section between its name and its ENDSEC
  std::vector<Span> entities;
  std::string codePage;
  uint64_t maxHandle = 0;
  bool entityHandles = false;
};

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}


// The group code of a code line; -1 when the line holds none.
long CodeOf(std::string_view line) {
  std::string_view digits = TrimView(line);
  if (!digits.empty() && digits.size() <= 4 &&
      std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    long code = 0;
    for (char c : digits) code = code * 10 + (c - '0');
    return code <= 1071 ? code : -1;
  }
  // Anything unusual goes through strtol, whose reading of signs and blanks the files rely on.
  std::string codeText(digits);
  char* stop = nullptr;
  long code = std::strtol(codeText.c_str(), &stop, 10);
  return codeText.empty() || *stop != '\0' || code < 0 || code > 1071 ? -1 : code;
}

// Reads the group at byte `pos`: a code line and a value line. False at the end of the bytes;
// a line that is no group code, or a code without a value, fails.
bool ReadGroup(const std::string& b, size_t pos, uint32_t line, Group& g) {
  if (pos >= b.size()) return false;
  g.codeBegin = static_cast<uint32_t>(pos);
  g.line = line;
  const char* data = b.data();
  auto lineEnd = [&](size_t from) {
    const void* nl = std::memchr(data + from, '\n', b.size() - from);
    return nl ? static_cast<size_t>(static_cast<const char*>(nl) - data) : std::string::npos;
  };
  size_t nl = lineEnd(pos);
  size_t codeEnd = nl == std::string::npos ? b.size() : nl;
  if (codeEnd > pos && b[codeEnd - 1] == '\r') --codeEnd;
  long code = CodeOf(std::string_view(data + pos, codeEnd - pos));
  if (code < 0 || nl == std::string::npos) {
    std::string codeText = Trim(b.substr(pos, codeEnd - pos));
    if (code < 0) Fail(line, "a group code was expected, found \"" + Shown(codeText.substr(0, 40)) + "\"");
    Fail(line, "group " + Shown(codeText) + " has no value: the file ends");
  }
  g.code = static_cast<int>(code);
  g.valueBegin = static_cast<uint32_t>(nl + 1);
  size_t vnl = nl + 1 < b.size() ? lineEnd(nl + 1) : std::string::npos;
  size_t valueEnd = vnl == std::string::npos ? b.size() : vnl;
  if (valueEnd > nl + 1 && b[valueEnd - 1] == '\r') --valueEnd;
  g.valueEnd = static_cast<uint32_t>(valueEnd);
  g.end = static_cast<uint32_t>(vnl == std::string::npos ? b.size() : vnl + 1);
  return true;
}

// Where the groups begin: after a byte order mark.
size_t GroupsBegin(const std::string& b) { return b.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; }

// The group codes whose values are reals (points, distances, angles, scales), whatever the object.
bool IsRealCode(int code) {
  return (code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239) ||
         (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059);
}

// A real that no drawing can hold (inf, nan, a number too large for a double) fails as the file is
// read, in objects the database models or not, so that no view, picture or extents computes with
// it. `owner` is the entity, object or header variable that holds it.
void RefuseNonFinite(const Image& img, const Group& g, const std::string& owner) {
  const char* value = img.bytes.data() + g.valueBegin;
  const size_t size = g.valueEnd - g.valueBegin;
  // Plain decimals of this length cannot overflow: most values never reach strtod.
  constexpr size_t kSafeDigits = 300;
  if (size < kSafeDigits && std::all_of(value, value + size, [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == ' ' || c == '\t';
      }))
    return;
  const std::string text(value, size);
  if (std::isfinite(std::strtod(text.c_str(), nullptr))) return;
  Fail(g.line + 1, "a number was expected for group " + std::to_string(g.code) + " of " + owner + ", found \"" +
                       Shown(text.substr(0, 40)) + "\"");
}

// Checks that the bytes split into groups, a code line and a value line each, up to EOF; notes
// the line ends and the layout of the codes. The groups themselves are read again where needed,
// so that the file's bytes are the only copy of it in memory.
void SplitGroups(Image& img) {
  const std::string& b = img.bytes;
  if (b.size() >= 0xFFFFFFF0u) Fail(1, "the file is too large");
  if (b.compare(0, 18, "AutoCAD Binary DXF") == 0) Fail(1, "a binary DXF file; only ASCII DXF can be read");
  size_t pos = GroupsBegin(b);
  size_t firstNl = b.find('\n');
  img.eol = firstNl != std::string::npos && firstNl > 0 && b[firstNl - 1] == '\r' ? "\r\n" : "\n";
  img.leftAlignedCodes = pos < b.size() && b[pos] != ' ';
  uint32_t line = 1;
  Group g, owner;
  bool owned = false;
  while (ReadGroup(b, pos, line, g)) {
    pos = g.end;
    line += 2;
    if (g.code == 0 && img.is(g, "EOF")) break;
    if (g.code == 0 || g.code == 9) {
      owner = g;
      owned = true;
    } else if (IsRealCode(g.code)) {
      RefuseNonFinite(img, g, owned ? Shown(img.trimmed(owner)) : std::string("the file"));
    }
  }
  img.groupsEndOffset = pos;
}

uint64_t HexValue(const std::string& s) { return AcDbHandle(Trim(s).c_str()).value(); }

// The groups of the file in order, read as they are needed.
class GroupCursor {
 public:
  explicit GroupCursor(const Image& img) : m_img(img), m_pos(GroupsBegin(img.bytes)) {}
  bool Next(Group& g) {
    if (m_pos >= m_img.groupsEndOffset || !ReadGroup(m_img.bytes, m_pos, m_line, g)) return false;
    m_pos = g.end;
    m_line += 2;
    return true;
  }

 private:
  const Image& m_img;
  size_t m_pos;
  uint32_t m_line = 1;
};

// Records of a table section or entities of an entity section: each starts at a group 0. Groups
// before the first one (comments) belong to no object and stay as they are.
class SpanCollector {
 public:
  explicit SpanCollector(std::vector<Span>& out) : m_out(out) {}
  // Takes the section's next group; true when it starts a record.
  bool Add(const Group& g) {
    if (g.code == 0) {
      m_out.push_back({g.codeBegin, g.end, g.line, 0});
      return true;
    }
    if (!m_out.empty() && m_out.back().end == g.codeBegin) m_out.back().end = g.end;
    return false;
  }

 private:
  std::vector<Span>& m_out;
};

void ReadHeaderValue(Image& img, const std::string& name, const Group& value, Layout& layout) {
  img.headerValues[name] = value.codeBegin;
  std::string v = Trim(img.value(value));
  if (name == "$ACADVER") img.version = Upper(v);
  if (name == "$DWGCODEPAGE") layout.codePage = v;
  if (name == "$HANDSEED") {
    img.handseedValue = value.codeBegin;
    img.handseed = HexValue(v);
  }
}

// The sections of the file, checked for shape; records what the database needs.
Layout ReadStructure(Image& img) {
  Layout layout;
  GroupCursor cursor(img);
  Group g;
  g.line = 1;
  bool sawEof = false;
  while (cursor.Next(g)) {
    if (g.code == 999) continue;
    std::string v = img.word(g);
    if (g.code != 0) Fail(g.line, "a SECTION was expected, found group " + std::to_string(g.code));
    if (v == "EOF") {
      sawEof = true;
      img.eofGroup = g.codeBegin;
      break;
    }
    if (v != "SECTION") Fail(g.line, "a SECTION was expected, found \"" + Shown(v.substr(0, 40)) + "\"");
    uint32_t sectionLine = g.line;
    if (!cursor.Next(g) || g.code != 2) Fail(sectionLine, "the SECTION has no name (group 2)");
    std::string section = img.word(g);
    bool header = section == "HEADER", tables = section == "TABLES", entities = section == "ENTITIES";
    if (section == "BLOCKS") layout.blocks = {g.end, g.end, g.line + 2, 0};
    // HEADER: a group 9 names a variable, the group after it holds its value.
    std::string variable;
    bool named = false;
    // TABLES: the records of the STYLE and BLOCK_RECORD tables.
    std::vector<Span> records;
    std::vector<std::vector<Span>*> kept;  // where each record goes, if anywhere
    SpanCollector recordSpans(records);
    std::string table;
    bool tableStarts = false;
    SpanCollector entitySpans(layout.entities);
    bool ended = false;
    while (cursor.Next(g)) {
      if (g.code == 0) {
        if (img.is(g, "ENDSEC")) {
          ended = true;
          break;
        }
        if (img.is(g, "SECTION") || img.is(g, "EOF"))
          Fail(g.line, "section " + Shown(section.substr(0, 40)) + " (line " + std::to_string(sectionLine) + ") has no ENDSEC");
      }
      if (header) {
        if (named) ReadHeaderValue(img, variable, g, layout);
        named = g.code == 9;
        if (named) variable = img.word(g);
        continue;
      }
      if (g.code == 5 || g.code == 105) {
        uint64_t h = HexValue(img.value(g));
        if (h > layout.maxHandle) layout.maxHandle = h;
        if (entities) layout.entityHandles = true;
      }
      if (entities) {
        entitySpans.Add(g);
      } else if (tables) {
        if (tableStarts) table = g.code == 2 ? img.word(g) : "";
        tableStarts = false;
        if (!recordSpans.Add(g)) continue;
        std::string type = img.word(g);
        tableStarts = type == "TABLE";
        if (type == "ENDTAB") table.clear();
        kept.push_back(table == "STYLE" && type == "STYLE"                 ? &layout.styles
                       : table == "BLOCK_RECORD" && type == "BLOCK_RECORD" ? &layout.blockRecords
                       : table == "DIMSTYLE" && type == "DIMSTYLE"         ? &layout.dimStyles
                                                                           : nullptr);
      }
    }
    for (size_t k = 0; k < records.size(); ++k)
      if (kept[k]) kept[k]->push_back(records[k]);
    if (!ended) Fail(sectionLine, "section " + Shown(section.substr(0, 40)) + " has no ENDSEC: the file ends");
    if (entities) img.entitiesEnd = g.codeBegin;
    if (section == "BLOCKS") layout.blocks.end = g.codeBegin;
  }
  if (!sawEof) Fail(g.line, "the file ends without EOF");
  return layout;
}

// An integer header value; anything out of range counts as none.
int HeaderInt(const std::string& v) {
  long n = std::strtol(v.c_str(), nullptr, 10);
  return n >= -32768 && n <= 32767 ? static_cast<int>(n) : -1;
}

std::string Decoded(const Image& img, const Group& g, std::vector<uint32_t>& misfits) {
  std::string out;
  if (!DecodeText(img.codec, Trim(img.value(g)), out)) misfits.push_back(g.line + 1);
  return out;
}

// The first group `code` of a record (its groups: `gs`) as text, or "".
std::string RecordText(const Image& img, const std::vector<Group>& gs, int code, std::vector<uint32_t>& misfits) {
  for (size_t k = 1; k < gs.size(); ++k)
    if (gs[k].code == code) return Decoded(img, gs[k], misfits);
  return "";
}

uint64_t RecordHandle(const Image& img, const std::vector<Group>& gs) {
  for (size_t k = 1; k < gs.size(); ++k)
    if (gs[k].code == 5) return HexValue(img.value(gs[k]));
  return 0;
}

// A table record's real; one that is not a decimal number leaves the default.
double RecordReal(const Image& img, const std::vector<Group>& gs, int code, double fallback) {
  double value = fallback;
  for (size_t k = 1; k < gs.size(); ++k)
    if (gs[k].code == code) return ParseReal(img.value(gs[k]), value) ? value : fallback;
  return fallback;
}

// The line of the file at which byte `offset` stands.
uint32_t LineAt(const Image& img, size_t offset) {
  return 1 + static_cast<uint32_t>(std::count(img.bytes.begin(), img.bytes.begin() + static_cast<long>(offset), '\n'));
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
  std::vector<Group> gs;
  for (const Span& s : layout.styles) {
    img.GroupsOf(s, gs);
    std::string name = RecordText(img, gs, 2, misfits);
    auto* table = static_cast<AcDbTextStyleTable*>(impl.styleTable.stub()->object.get());
    if (name.empty() || table->has(name.c_str())) continue;
    auto* rec = new AcDbTextStyleTableRecord();
    rec->setFileName(RecordText(img, gs, 3, misfits).c_str());
    rec->setTextSize(RecordReal(img, gs, 40, 0.0));
    rec->setXScale(RecordReal(img, gs, 41, 1.0));
    detail::AddRecord(db, impl.styleTable, rec, name, UnusedHandle(impl, RecordHandle(img, gs)));
  }
  auto* styles = static_cast<AcDbTextStyleTable*>(impl.styleTable.stub()->object.get());
  if (!styles->has("Standard")) detail::AddRecord(db, impl.styleTable, new AcDbTextStyleTableRecord(), "Standard", {});

  for (const Span& s : layout.blockRecords) {
    img.GroupsOf(s, gs);
    std::string name = Upper(RecordText(img, gs, 2, misfits));
    if (name == "*MODEL_SPACE") img.modelSpaceRecord = AcDbHandle(RecordHandle(img, gs));
    if (name == "*PAPER_SPACE") img.paperSpaceRecord = AcDbHandle(RecordHandle(img, gs));
  }
  impl.modelSpace = detail::AddRecord(db, impl.blockTable, new AcDbBlockTableRecord(), ACDB_MODEL_SPACE,
                                      UnusedHandle(impl, img.modelSpaceRecord.value()));
  impl.paperSpace = detail::AddRecord(db, impl.blockTable, new AcDbBlockTableRecord(), ACDB_PAPER_SPACE,
                                      UnusedHandle(impl, img.paperSpaceRecord.value()));

  StyleLookup styleByName = [&](const std::string& name) {
    AcDbObjectId id;
    styles->getAt(name.empty() ? "Standard" : name.c_str(), id);
    if (id.isNull()) styles->getAt("Standard", id);
    return id;
  };
  std::map<std::string, uint32_t> styleNumbers;
  for (const Span& s : layout.entities) {
    img.GroupsOf(s, gs);
    EntityReader r{img, img.word(gs[0]), gs, {}, {}};
    AcDbEntity* entity = ReadEntity(r, styleByName);
    misfits.insert(misfits.end(), r.misfits.begin(), r.misfits.end());
    if (!r.error.empty()) throw Failure{r.error};
    if (entity == nullptr) continue;
    bool paper = IsPaperSpace(r);
    uint64_t h = 0;
    size_t at;
    if (r.Find(5, at)) h = HexValue(img.value(gs[at]));
    AcDbObjectId space = paper ? impl.paperSpace : impl.modelSpace;
    AcDbObjectId id = impl.add(entity, space, UnusedHandle(impl, h));
    auto source = std::make_unique<EntitySource>(s);
    auto style = styleNumbers.emplace(StyleOf(*entity), static_cast<uint32_t>(img.styleNames.size()));
    if (style.second) img.styleNames.push_back(style.first->first);
    source->style = style.first->second;
    id.stub()->source = std::move(source);
    detail::EntityList(*static_cast<AcDbBlockTableRecord*>(space.stub()->object.get())).push_back(id);
  }

  img.blocksSection = layout.blocks;
  LoadDimensionModel(db, img, layout.dimStyles, layout.blocks, misfits);

  // The header values behind the system variables; what the file does not say, or says wrongly,
  // keeps the default.
  auto header = [&](const char* name, std::string& out) {
    auto it = img.headerValues.find(name);
    if (it == img.headerValues.end()) return false;
    out = Decoded(img, img.GroupAt(it->second, LineAt(img, it->second)), misfits);
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

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

Image::DiskStamp StampOf(const struct stat& st) {
  Image::DiskStamp stamp;
  stamp.known = true;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.mtimeSeconds = st.st_mtim.tv_sec;
  stamp.mtimeNanoseconds = st.st_mtim.tv_nsec;
  return stamp;
}

std::string Image::trimmed(const Group& g) const { return Trim(value(g)); }

std::string Image::word(const Group& g) const { return Upper(trimmed(g)); }

bool Image::is(const Group& g, std::string_view upperWord) const {
  std::string_view v = TrimView(std::string_view(bytes).substr(g.valueBegin, g.valueEnd - g.valueBegin));
  if (v.size() != upperWord.size()) return false;
  for (size_t k = 0; k < v.size(); ++k)
    if (std::toupper(static_cast<unsigned char>(v[k])) != upperWord[k]) return false;
  return true;
}

AcDbHandle UnusedHandle(const AcDbDatabase::Impl& impl, uint64_t h) {
  return h != 0 && impl.find(h) == nullptr ? AcDbHandle(h) : AcDbHandle();
}

Group Image::GroupAt(size_t offset, uint32_t line) const {
  Group g;
  ReadGroup(bytes, offset, line, g);
  return g;
}

void Image::GroupsOf(const EntitySource& src, std::vector<Group>& out) const {
  out.clear();
  Group g;
  uint32_t line = src.line;
  for (size_t pos = src.begin; pos < src.end && ReadGroup(bytes, pos, line, g); pos = g.end, line += 2) out.push_back(g);
}

}  // namespace dxf

namespace {

bool Load(AcDbDatabase& db, std::string&& bytes, const std::string& name, std::string& error,
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

DrawingLoad LoadDrawingFromBytes(std::string bytes, const std::string& name) {
  DrawingLoad result;
  auto db = std::make_unique<AcDbDatabase>(false);
  if (Load(*db, std::move(bytes), name, result.error, result.warnings)) result.database = std::move(db);
  return result;
}

namespace {

// What a file that is not a drawing is, for the message that refuses it.
const char* NotRegular(mode_t mode) {
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISFIFO(mode)) return "it is a named pipe (FIFO), not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a regular file";
  return "it is not a regular file";
}

// The whole file, read into a string of its size: the drawing keeps these bytes as its only
// copy. Only a regular file is read: a pipe would wait for a writer and a device never ends.
// "" or why it cannot be read.
std::string ReadFile(const std::string& path, std::string& bytes, struct stat& st) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::strerror(errno);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const std::string why = st.st_mode == 0 ? std::strerror(errno) : NotRegular(st.st_mode);
    ::close(fd);
    return why;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  std::string why;
  for (;;) {
    // Straight into the string once its size is known, so that no second copy is made.
    size_t room = bytes.capacity() - bytes.size();
    if (room > 0) {
      size_t at = bytes.size();
      bytes.resize(bytes.capacity());
      ssize_t n = ::read(fd, bytes.data() + at, room);
      bytes.resize(at + static_cast<size_t>(std::max<ssize_t>(n, 0)));
      if (n > 0) continue;
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        why = std::strerror(errno);
        break;
      }
    }
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) why = std::strerror(errno);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return why;
}

}  // namespace

DrawingLoad LoadDrawing(const std::string& path) {
  std::string bytes;
  struct stat st {};
  const std::string why = ReadFile(path, bytes, st);
  if (!why.empty()) {
    DrawingLoad result;
    result.error = path + ": cannot open the file: " + why;
    return result;
  }
  DrawingLoad result = LoadDrawingFromBytes(std::move(bytes), path);
  if (result.database) {
    result.database->impl().image->path = path;
    result.database->impl().image->stamp = dxf::StampOf(st);
  }
  return result;
}

bool DrawingChangedOnDisk(const AcDbDatabase& db) {
  const auto& image = db.impl().image;
  struct stat st {};
  if (!image || image->path.empty() || !image->stamp.known || ::stat(image->path.c_str(), &st) != 0) return false;
  return !(dxf::StampOf(st) == image->stamp);
}

void LoadDefaultDrawing(AcDbDatabase& db) {
  std::string error;
  std::vector<std::string> warnings;
  if (!Load(db, std::string(detail::DefaultDrawingBytes()), "default drawing", error, warnings))
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
