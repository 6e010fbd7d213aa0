// Saving DXF: the loaded bytes with only the changed, added and erased entities rewritten,
// written to a temporary file in the same folder and renamed over the old one.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>

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

// What a save leaves behind when it is killed before its rename: "<name>.saving-<pid>-XXXXXX"
// beside the file, so that a person sees which drawing it belongs to and a later save can tell
// whether the save that made it is still at work.
constexpr char kSavingInfix[] = ".saving-";
constexpr size_t kUniqueBytes = 6;
constexpr size_t kPidDigits = 10;  // the most a pid_t prints as

size_t NameMax(const std::string& dir) {
  const long max = ::pathconf(dir.c_str(), _PC_NAME_MAX);
  return max > 0 ? static_cast<size_t>(max) : NAME_MAX;
}

// "<name>.saving-", with the name cut so that the pid and the unique part still fit in a file
// name: every name the folder accepts can be saved under.
std::string SavingPrefix(const std::string& base, const std::string& dir) {
  const size_t tail = sizeof kSavingInfix - 1 + kPidDigits + 1 + kUniqueBytes;
  const size_t nameMax = NameMax(dir);
  return base.substr(0, nameMax > tail ? nameMax - tail : 0) + kSavingInfix;
}

// Removes what killed saves of the drawing left in `dir`: regular files named after `prefix`
// whose process is gone. Another qhost's save in progress is left alone.
void RemoveLeftSaves(const std::string& dir, const std::string& prefix) {
  DIR* folder = ::opendir(dir.c_str());
  if (folder == nullptr) return;
  while (dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = name.substr(prefix.size());
    const size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > kPidDigits || rest.size() != dash + 1 + kUniqueBytes ||
        rest.find_first_not_of("0123456789") != dash)
      continue;
    const long pid = std::strtol(rest.c_str(), nullptr, 10);
    if (pid <= 0 || pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    const std::string left = dir + name;
    struct stat st {};
    if (::lstat(left.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(left.c_str());
  }
  ::closedir(folder);
}

// Creates `prefix` + "<pid>-XXXXXX" as a new file, never through a link; -1 with errno set when
// it cannot. `mode` goes through the umask as any new file's does.
int CreateTemporary(const std::string& prefix, mode_t mode, std::string& name) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> letter(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = prefix + std::to_string(::getpid()) + "-";
    for (size_t i = 0; i < kUniqueBytes; ++i) name += kLetters[letter(random)];
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Why a write failed, in words a person acts on.
std::string WriteError(int error) {
  if (error == EFBIG) return "the file would be larger than this process may write (ulimit -f)";
  return std::strerror(error);
}

// Makes the rename (or the new name) last: a folder whose file system cannot sync it is no failure.
void SyncFolder(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes the drawing to `fd` in few large writes; "" or why it failed.
std::string WriteDrawingTo(AcDbDatabase& db, int fd) {
  FileSystem& fs = FileSystem::Current();
  std::string why;
  auto writeAll = [&](const char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
      long n = fs.Write(fd, data + done, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        why = n < 0 ? WriteError(errno) : "the write came up short (disk full?)";
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
  if (why.empty() && ::fsync(fd) != 0) why = WriteError(errno);
  return why;
}

// The old file's owner, group and mode on the new one. The mode is set after the owner, since a
// change of owner drops the set-user-id and set-group-id bits. What the system does not allow
// is noted, and the save goes on.
void KeepOwnerAndMode(int fd, const struct stat& old, const std::string& path, std::string* note) {
  struct stat now {};
  if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && note) {
    *note = path + " now belongs to user " + std::to_string(now.st_uid) + " and group " + std::to_string(now.st_gid) +
            " instead of user " + std::to_string(old.st_uid) + " and group " + std::to_string(old.st_gid) + " (" +
            std::strerror(errno) + ")";
  }
  if (::fchmod(fd, old.st_mode & 07777) != 0 && note && note->empty())
    *note = path + " could not keep its mode " + std::to_string(old.st_mode & 07777) + ": " + std::strerror(errno);
}

// A file that must not exist yet (a recovery file): created in place, never through a link.
bool SaveNewFile(AcDbDatabase& db, const std::string& path, const std::function<bool(const std::string&)>& fail) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return fail(errno == EEXIST ? "the name is taken" : std::strerror(errno));
  std::string why = WriteDrawingTo(db, fd);
  if (::close(fd) != 0 && why.empty()) why = WriteError(errno);
  if (!why.empty()) {
    ::unlink(path.c_str());
    return fail(why);
  }
  const size_t slash = path.rfind('/');
  SyncFolder(slash == std::string::npos ? "." : path.substr(0, slash + 1));
  return true;
}

}  // namespace

bool SaveDrawing(AcDbDatabase& db, const std::string& path, std::string* error, SaveKind kind, std::string* note) {
  std::function<bool(const std::string&)> fail = [&](const std::string& why) {
    if (error) *error = "cannot save " + path + ": " + why;
    return false;
  };
  if (kind == SaveKind::kNewFile) return SaveNewFile(db, path, fail);
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
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "./" : target.substr(0, slash + 1);
  const std::string prefix = SavingPrefix(slash == std::string::npos ? target : target.substr(slash + 1), dir);
  // A new file is made as any other under the umask; a replaced one is private until it has the
  // old file's owner and mode.
  std::string temp;
  const int fd = CreateTemporary(dir + prefix, exists ? 0600 : 0666, temp);
  if (fd < 0) return fail("cannot create a temporary file in " + dir + ": " + std::strerror(errno));
  if (exists) KeepOwnerAndMode(fd, st, path, note);
  std::string why = WriteDrawingTo(db, fd);
  struct stat written {};
  if (why.empty() && ::fstat(fd, &written) != 0) why = std::strerror(errno);
  if (::close(fd) != 0 && why.empty()) why = WriteError(errno);
  if (why.empty() && FileSystem::Current().Rename(temp.c_str(), target.c_str()) != 0)
    why = std::string("rename failed: ") + std::strerror(errno);
  if (!why.empty()) {
    ::unlink(temp.c_str());
    return fail(why + "; the file on disk is unchanged");
  }
  SyncFolder(dir);
  RemoveLeftSaves(dir, prefix);
  SetDrawingPath(db, path);
  db.impl().image->stamp = dxf::StampOf(written);
  return true;
}

}  // namespace qhost
