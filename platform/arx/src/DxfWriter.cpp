// Saving DXF: the loaded bytes with only the changed, added and erased entities rewritten,
// written to a temporary file in the same folder and renamed over the old one.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "arx/src/DbInternals.h"
#include "arx/src/DefaultDrawing.h"
#include "arx/src/DxfEntities.h"
#include "arx/src/DxfImage.h"
#include "arx/src/StubLog.h"
#include "dbdim.h"
#include "dbmtext.h"
#include "qplatform/Drawing.h"

namespace qhost {
namespace dxf {
namespace {

constexpr size_t kChunk = 250;

std::string Hex(uint64_t v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%" PRIX64, v);
  return buf;
}

// The file bytes of a text value: back to the file's encoding, caret escapes added.
std::string EncodeValue(const Image& img, const std::string& memory) {
  return img.codec.Encode(EncodeCarets(memory));
}

// The length of the unit that starts at `i` and must not be split: a caret pair, a \U+XXXX
// escape, or one character of several bytes (UTF-8 or a double-byte code page).
size_t UnitLength(const std::string& s, size_t i, const Codec& codec) {
  bool utf8 = codec.isUtf8();
  unsigned char b = static_cast<unsigned char>(s[i]);
  if (b == '^' && i + 1 < s.size()) return 2;
  if (b == '\\' && i + 6 < s.size() && (s[i + 1] == 'U' || s[i + 1] == 'u') && s[i + 2] == '+') {
    bool hex = true;
    for (size_t k = i + 3; k < i + 7; ++k) hex = hex && std::isxdigit(static_cast<unsigned char>(s[k]));
    if (hex) return 7;
  }
  if (utf8 && b >= 0xC0) {
    size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    size_t k = 1;
    while (k < n && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80) ++k;
    return k;
  }
  if (codec.isLeadByte(b) && i + 1 < s.size()) return 2;
  return 1;
}

// Text split over groups 3 of at most 250 bytes and a last group 1.
std::string ChunkedGroups(const Image& img, const std::string& memory) {
  std::string bytes = EncodeValue(img, memory);
  std::vector<std::string> chunks;
  size_t start = 0;
  while (bytes.size() - start > kChunk) {
    size_t end = start;
    while (end < bytes.size()) {
      size_t n = UnitLength(bytes, end, img.codec);
      if (end + n - start > kChunk) break;
      end += n;
    }
    chunks.push_back(bytes.substr(start, end - start));
    start = end;
  }
  std::string out;
  for (const std::string& c : chunks) out += img.codeLine(3) + c + img.eol;
  out += img.codeLine(1) + bytes.substr(start) + img.eol;
  return out;
}

std::string FieldValue(const Image& img, const Field& f) { return f.kind == 0 ? f.value : EncodeValue(img, f.value); }

struct OutGroup {
  int code;
  std::string text;  // both lines with their line ends
};

// A loaded entity rewritten: groups whose modelled value did not change stay as they were.
std::string Rewrite(const Image& img, const AcDbEntity& entity, const EntitySource& src) {
  std::vector<Group> groups;
  img.GroupsOf(src, groups);
  std::vector<OutGroup> out;
  for (const Group& g : groups) out.push_back({g.code, img.bytes.substr(g.codeBegin, g.end - g.codeBegin)});
  auto boundary = [&] {
    for (size_t k = 1; k < out.size(); ++k)
      if (out[k].code == 101 || out[k].code >= 1000) return k;
    return out.size();
  };
  auto find = [&](int code) -> size_t {
    size_t b = boundary();
    for (size_t k = 1; k < b; ++k)
      if (out[k].code == code) return k;
    return SIZE_MAX;
  };
  auto insertAfter = [&](int anchor, OutGroup g) {
    size_t at = find(anchor);
    out.insert(out.begin() + static_cast<long>(at == SIZE_MAX ? boundary() : at + 1), std::move(g));
  };
  const std::vector<Field> loadedFields = LoadedFields(img, src, groups);
  bool direction = false;
  for (const Field& f : loadedFields) direction = direction || f.code == 11;
  std::vector<Field> fields = FieldsOf(entity, direction && AcDbMText::cast(&entity) != nullptr);
  for (const Field& f : fields) {
    auto loaded =
        std::find_if(loadedFields.begin(), loadedFields.end(), [&](const Field& l) { return l.code == f.code; });
    if (loaded != loadedFields.end() && loaded->value == f.value) continue;
    if (f.kind == 2) {
      size_t at = SIZE_MAX;
      for (size_t k = 1; k < boundary();) {
        if (out[k].code == 3 || out[k].code == 1) {
          bool last = out[k].code == 1;
          if (at == SIZE_MAX) at = k;
          out.erase(out.begin() + static_cast<long>(k));
          if (last) break;
        } else {
          ++k;
        }
      }
      OutGroup g{1, ChunkedGroups(img, f.value)};
      if (at == SIZE_MAX)
        insertAfter(f.after, std::move(g));
      else
        out.insert(out.begin() + static_cast<long>(at), std::move(g));
      continue;
    }
    size_t at = find(f.code);
    if (at != SIZE_MAX) {
      // The code line and the value's line end stay as the file had them.
      std::string& text = out[at].text;
      size_t codeLineEnd = text.find('\n') + 1;
      std::string eol = text.size() >= 2 && text[text.size() - 2] == '\r' ? "\r\n" : text.back() == '\n' ? "\n" : "";
      text = text.substr(0, codeLineEnd) + FieldValue(img, f) + eol;
    } else {
      insertAfter(f.after, {f.code, img.codeLine(f.code) + FieldValue(img, f) + img.eol});
    }
  }
  std::string text;
  for (const OutGroup& g : out) text += g.text;
  return text;
}

// A new entity, written in full.
std::string Generate(const Image& img, const AcDbEntity& entity, uint64_t handle, bool paper) {
  auto group = [&](int code, const std::string& value) { return img.codeLine(code) + value + img.eol; };
  std::string s = group(0, TypeName(entity));
  bool r12 = img.isR12();
  if (img.hasHandles) s += group(5, Hex(handle));
  AcDbHandle owner = paper ? img.paperSpaceRecord : img.modelSpaceRecord;
  if (!r12 && !owner.isNull()) s += group(330, Hex(owner.value()));
  if (!r12) s += group(100, "AcDbEntity");
  if (paper) s += group(67, "1");
  s += group(8, EncodeValue(img, entity.layer()));
  if (!r12) s += group(100, SubclassName(entity));
  if (r12 && AcDbMText::cast(&entity))
    detail::LogOnce("MTEXT in an R12 drawing", "written as it is; R12 readers do not know multiline text");
  if (auto* d = AcDbDimension::cast(&entity)) {
    // A dimension without a block: readers draw it from its points.
    detail::LogOnce("new DIMENSION", "saved without the block that draws it; readers regenerate it from its points");
    auto point = [&](int code, const AcGePoint3d& p) {
      s += group(code, FormatReal(p.x)) + group(code + 10, FormatReal(p.y)) + group(code + 20, FormatReal(p.z));
    };
    point(10, d->dimLinePoint());
    point(11, d->textPosition());
    s += group(70, "33");
    char* text = d->dimensionText();
    s += group(1, EncodeValue(img, text));
    delete[] text;
    s += group(42, FormatReal(d->measurement()));
    if (!r12) s += group(100, "AcDbAlignedDimension");
    point(13, d->xLine1Point());
    point(14, d->xLine2Point());
    return s;
  }
  for (const Field& f : FieldsOf(entity, false))
    s += f.kind == 2 ? ChunkedGroups(img, f.value) : group(f.code, FieldValue(img, f));
  return s;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> HeaderValues(const AcDbDatabase& db) {
  const auto& impl = db.impl();
  const char* styleName = "Standard";
  if (!impl.textstyle.isNull()) static_cast<AcDbSymbolTableRecord*>(impl.textstyle.stub()->object.get())->getName(styleName);
  return {{"$TEXTSTYLE", styleName},
          {"$TEXTSIZE", FormatReal(impl.textsize)},
          {"$TILEMODE", impl.tilemode ? "1" : "0"},
          {"$LUNITS", std::to_string(impl.lunits)},
          {"$LUPREC", std::to_string(impl.luprec)}};
}

namespace {

// Bytes [from, to) of the loaded file replaced by `text` (from == to: inserted before `from`).
struct Edit {
  size_t from, to;
  std::string text;
};

}  // namespace
}  // namespace dxf

namespace {

// The file as it is saved, in pieces: the loaded bytes between the edits go out as they are,
// so that no copy of the whole file is made. `write` returns false to stop.
template <class Write>
void WriteDrawing(AcDbDatabase& db, Write&& write) {
  using namespace dxf;
  auto& impl = db.impl();
  if (!impl.image) {
    // A database built without a file saves as the default drawing with its entities.
    AcDbDatabase blank(true);
    impl.image = std::move(blank.impl().image);
  }
  const Image& img = *impl.image;
  std::vector<Edit> edits;
  std::string added;
  uint64_t maxNew = 0;
  for (const auto& stub : impl.stubs) {
    auto* entity = AcDbEntity::cast(stub->object.get());
    if (entity == nullptr && (stub->modified || stub->erased) && stub->object &&
        stub->object->isKindOf(AcDbSymbolTableRecord::desc()))
      detail::LogOnce("symbol table records", "changed or added records are not saved; the tables stay as loaded");
    if (entity == nullptr || (!stub->modified && !stub->erased)) continue;
    if (stub->source) {
      const EntitySource& src = *stub->source;
      edits.push_back({src.begin, src.end, stub->erased ? std::string() : Rewrite(img, *entity, src)});
    } else if (!stub->erased && TypeName(*entity) != nullptr) {
      bool paper = entity->ownerId() == impl.paperSpace;
      if (!paper && entity->ownerId() != impl.modelSpace) continue;
      added += Generate(img, *entity, stub->handle.value(), paper);
      maxNew = std::max(maxNew, stub->handle.value());
    }
  }
  if (!added.empty()) {
    if (img.entitiesEnd != SIZE_MAX) {
      edits.push_back({img.entitiesEnd, img.entitiesEnd, added});
    } else {
      // No ENTITIES section: one goes in front of EOF.
      std::string section = img.codeLine(0) + "SECTION" + img.eol + img.codeLine(2) + "ENTITIES" + img.eol + added +
                            img.codeLine(0) + "ENDSEC" + img.eol;
      edits.push_back({img.eofGroup, img.eofGroup, section});
    }
  }
  auto replaceValue = [&](size_t at, const std::string& value) {
    const Group g = img.GroupAt(at);
    std::string eol = img.bytes.substr(g.valueEnd, g.end - g.valueEnd);
    edits.push_back({g.codeBegin, g.end, img.bytes.substr(g.codeBegin, g.valueBegin - g.codeBegin) + value + eol});
  };
  if (maxNew != 0 && img.handseedValue != SIZE_MAX && maxNew + 1 > img.handseed)
    replaceValue(img.handseedValue, Hex(maxNew + 1));
  // Header values behind system variables that were changed.
  for (const auto& [name, value] : HeaderValues(db)) {
    auto loaded = img.headerLoaded.find(name);
    if (loaded != img.headerLoaded.end() && loaded->second != value)
      replaceValue(img.headerValues.at(name), EncodeValue(img, value));
  }
  std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.from < b.from; });

  size_t pos = 0;  // byte offset written so far
  for (const Edit& e : edits) {
    if (!write(img.bytes.data() + pos, e.from - pos) || !write(e.text.data(), e.text.size())) return;
    pos = e.to;
  }
  write(img.bytes.data() + pos, img.bytes.size() - pos);
}

}  // namespace

std::string DrawingToBytes(AcDbDatabase& db) {
  std::string out;
  WriteDrawing(db, [&](const char* data, size_t size) {
    if (out.empty()) out.reserve(db.impl().image->bytes.size() + 1024);
    out.append(data, size);
    return true;
  });
  return out;
}

// --- Saving --------------------------------------------------------------------------

namespace {
FileSystem*& CurrentFileSystem() {
  static FileSystem* fs = nullptr;
  return fs;
}
}  // namespace

long FileSystem::Write(int fd, const char* data, size_t size) { return ::write(fd, data, size); }
int FileSystem::Rename(const char* from, const char* to) { return ::rename(from, to); }
FileSystem& FileSystem::Current() {
  static FileSystem real;
  return CurrentFileSystem() ? *CurrentFileSystem() : real;
}
void FileSystem::Set(FileSystem* fs) { CurrentFileSystem() = fs; }

namespace {

// What a save leaves behind when it is killed before its rename: "<name>.saving-XXXXXX" beside
// the file, so that a person sees which drawing it belongs to.
constexpr char kSavingInfix[] = ".saving-";
constexpr size_t kSavingUniqueBytes = 6;  // mkstemp's XXXXXX

// Removes what killed saves of `base` left in `dir`: regular files named as above.
void RemoveLeftSaves(const std::string& dir, const std::string& base) {
  const std::string prefix = base + kSavingInfix;
  DIR* folder = ::opendir(dir.c_str());
  if (folder == nullptr) return;
  while (dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + kSavingUniqueBytes || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string left = dir + name;
    struct stat st {};
    if (::lstat(left.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(left.c_str());
  }
  ::closedir(folder);
}

}  // namespace

bool SaveDrawing(AcDbDatabase& db, const std::string& path, std::string* error, SaveKind kind) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "cannot save " + path + ": " + why;
    return false;
  };
  // The name may be a symbolic link: the file it refers to is replaced, in its own folder, so
  // that the link still leads to the saved drawing.
  std::string target = path;
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists) {
    if (!S_ISREG(st.st_mode)) return fail(S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file");
    if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) return fail("the file is read-only");
    if (kind == SaveKind::kSave && st.st_nlink > 1)
      return fail("the file has " + std::to_string(st.st_nlink) +
                  " names (hard links), and saving would leave the others with the old drawing; "
                  "use SAVEAS to save it under another name");
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? "./" : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = dir + base + kSavingInfix + std::string(kSavingUniqueBytes, 'X');
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return fail(std::string("cannot create a temporary file in ") + dir + ": " + std::strerror(errno));
  fchmod(fd, exists ? st.st_mode & 07777 : 0644);
  FileSystem& fs = FileSystem::Current();
  std::string why;
  auto writeAll = [&](const char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
      long n = fs.Write(fd, data + done, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        why = n < 0 ? std::strerror(errno) : "the write came up short (disk full?)";
        return false;
      }
      done += static_cast<size_t>(n);
    }
    return true;
  };
  // Small pieces (rewritten entities and what lies between them) are gathered into one write.
  std::string pending;
  const size_t kGather = 1 << 16;
  WriteDrawing(db, [&](const char* data, size_t size) {
    if (pending.size() + size <= kGather) {
      pending.append(data, size);
      return true;
    }
    if (!writeAll(pending.data(), pending.size())) return false;
    pending.clear();
    if (size <= kGather) {
      pending.append(data, size);
      return true;
    }
    return writeAll(data, size);
  });
  if (why.empty()) writeAll(pending.data(), pending.size());
  if (why.empty() && ::fsync(fd) != 0) why = std::strerror(errno);
  if (::close(fd) != 0 && why.empty()) why = std::strerror(errno);
  if (why.empty() && fs.Rename(name.data(), target.c_str()) != 0)
    why = std::string("rename failed: ") + std::strerror(errno);
  if (!why.empty()) {
    ::unlink(name.data());
    return fail(why + "; the file on disk is unchanged");
  }
  RemoveLeftSaves(dir, base);
  SetDrawingPath(db, path);
  return true;
}

}  // namespace qhost
