// A loaded DXF file as the saver needs it: the bytes, and where the modelled parts lie.
#pragma once

#include <iconv.h>
#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbmain.h"

namespace qhost::dxf {

// One group: a code line and a value line, as offsets into the file's bytes.
struct Group {
  int code = 0;
  uint32_t codeBegin = 0;   // start of the code line
  uint32_t valueBegin = 0;  // start of the value line
  uint32_t valueEnd = 0;    // end of the value, before its line end
  uint32_t end = 0;         // after the value line's line end
  uint32_t line = 0;        // 1-based number of the code line
};

// Converts texts between a file's encoding and code page 1251 in memory. A character that code
// page 1251 lacks is kept in memory as "\U+XXXX".
class Codec {
 public:
  // The encoding a drawing of `version` ($ACADVER) with `codePage` ($DWGCODEPAGE) uses.
  static Codec ForDrawing(const std::string& version, const std::string& codePage);
  Codec() = default;
  Codec(const Codec&) = delete;
  Codec& operator=(const Codec&) = delete;
  Codec(Codec&& other) noexcept;
  Codec& operator=(Codec&& other) noexcept;
  ~Codec();

  const std::string& name() const { return m_name; }
  bool isUtf8() const { return m_utf8; }
  // In a double-byte code page (Japanese, Chinese, Korean), whether `b` starts a two-byte character.
  bool isLeadByte(unsigned char b) const;
  // File bytes to memory. False when some bytes did not fit the encoding; they are then read as
  // code page 1251 bytes (or kept as \U+00XX), so nothing is lost.
  bool Decode(const std::string& in, std::string& out) const;
  std::string Encode(const std::string& memory) const;

 private:
  bool EncodeCodePoint(uint32_t cp, std::string& out) const;
  std::string m_name = "CP1251";
  bool m_identity = true;
  // Asked for every byte of a text that is saved: known once, not compared by name each time.
  bool m_utf8 = false;
  enum class LeadBytes { kNone, kShiftJis, kOther } m_leadBytes = LeadBytes::kNone;
  iconv_t m_toUtf32 = reinterpret_cast<iconv_t>(-1);
  iconv_t m_fromUtf32 = reinterpret_cast<iconv_t>(-1);
};

// Caret escapes of DXF text values. A caret and the character after it stand for the character
// 64 below it, modulo 126: "^@".."^_" the control characters (NUL to 0x1F), "^ " the caret, and a
// caret before anything else the character drawings are read with ("^a" is "!", "^?" is "}").
// A caret that ends the value is itself. Writing escapes the caret and every control character,
// so that a decoded text goes back as a text that reads the same.
std::string DecodeCarets(const std::string& raw);
std::string EncodeCarets(const std::string& text);

// NUL, which no C string holds, is this escape in memory. Saving writes the escape of any control
// character, "\U+00XX" with "U" upper-case, as the caret escape of the character ("^@" for NUL);
// a \\ pair is a literal backslash and never the start of an escape.
inline constexpr char kNulEscape[] = "\\U+0000";
// The text with each NUL byte replaced by kNulEscape.
std::string NulsEscaped(std::string text);

// A text value of the file in memory: converted from the file's encoding, then its caret escapes
// decoded (after the conversion, so that the second byte of a double-byte character is never taken
// for a caret) and its NULs escaped. False as Codec::Decode.
bool DecodeText(const Codec& codec, const std::string& raw, std::string& memory);

// A modelled value of an entity, as text in memory. Numbers are formatted as the saver writes them.
struct Field {
  int code;
  std::string value;
  int after;  // where the group goes when the file did not have it: after this code (0: at the end)
  int kind;   // 0 a number, 1 a text, 2 a text split over groups 3 and a last group 1
};

// Where a loaded entity lies in the file. Its modelled values as loaded are read again from these
// bytes when it is saved, so that a drawing in memory holds no second copy of them.
struct EntitySource {
  uint32_t begin = 0;  // byte offset of its "0" group
  uint32_t end = 0;    // byte offset after its last group
  uint32_t line = 0;   // line of its "0" group
  uint32_t style = 0;  // its text style's name as loaded: an index into Image::styleNames
};

struct Image {
  std::string bytes;
  size_t groupsEndOffset = 0;   // the bytes from here on (after EOF) are written back as they are
  std::string eol = "\r\n";
  bool leftAlignedCodes = false;
  std::string version;          // $ACADVER
  Codec codec;
  bool hasHandles = false;
  // Byte offsets of groups the saver writes at or replaces.
  size_t entitiesEnd = SIZE_MAX;    // the ENDSEC group that closes ENTITIES
  size_t eofGroup = 0;              // the EOF group
  size_t handseedValue = SIZE_MAX;  // the value group of $HANDSEED
  uint64_t handseed = 0;
  std::map<std::string, size_t> headerValues;  // header variable -> byte offset of its value group
  std::map<std::string, std::string> headerLoaded;  // header variable -> the database's value after loading
  std::vector<std::string> styleNames;  // the text style names entities resolved to when loaded
  AcDbHandle modelSpaceRecord, paperSpaceRecord;
  EntitySource blocksSection;  // the groups of the BLOCKS section between its name and its ENDSEC
  std::string path;  // where the drawing was loaded from or last saved to
  // The file at `path` as it was read or written: a file that no longer matches was changed by
  // someone else since.
  struct DiskStamp {
    bool known = false;
    uint64_t device = 0, inode = 0;
    int64_t size = 0, mtimeSeconds = 0, mtimeNanoseconds = 0;
    bool operator==(const DiskStamp& o) const {
      return known == o.known && device == o.device && inode == o.inode && size == o.size &&
             mtimeSeconds == o.mtimeSeconds && mtimeNanoseconds == o.mtimeNanoseconds;
    }
  } stamp;

  std::string value(const Group& g) const { return bytes.substr(g.valueBegin, g.valueEnd - g.valueBegin); }
  // The value without blanks around it.
  std::string trimmed(const Group& g) const;
  // The value without blanks around it and in upper case, as types and names are compared.
  std::string word(const Group& g) const;
  // Whether the trimmed value is `upperWord` in any case; no copy is made.
  bool is(const Group& g, std::string_view upperWord) const;
  // The group that starts at byte `offset`, whose code line is line `line` of the file. The file
  // was split into groups when it was loaded, so the group is well formed.
  Group GroupAt(size_t offset, uint32_t line = 0) const;
  // The groups of an entity, in file order.
  void GroupsOf(const EntitySource& src, std::vector<Group>& out) const;
  std::string codeLine(int code) const;
  bool isR12() const { return version < "AC1012"; }
};

// The stamp of a file from its stat.
Image::DiskStamp StampOf(const struct stat& st);

// `s` in upper case, as DXF types and table names are compared.
std::string Upper(std::string s);

// `h` as the handle of a loaded object, or the null handle (a new one is given) when it is 0 or
// another object of the database already has it.
AcDbHandle UnusedHandle(const AcDbDatabase::Impl& impl, uint64_t h);

// The modelled values of an entity as the saver would write them.
// (FieldsOf and the readers: DxfEntities.h)
// The DXF type name ("MTEXT") of a modelled entity.
const char* TypeName(const AcDbEntity& entity);
// The header variables behind system variables, with the database's values as the saver writes them.
std::vector<std::pair<std::string, std::string>> HeaderValues(const AcDbDatabase& db);
// Shortest text that reads back as exactly `v`, always with a decimal point.
std::string FormatReal(double v);
// A real value as DXF writes it: blanks, a sign, decimal digits with at most one point, an
// exponent, blanks. strtod alone would also take "0x10", "inf" and "nan". False for anything else.
bool ParseReal(const std::string& text, double& value);
// Bytes of the file as a message shows them: printable ASCII as itself, every other byte, the
// quote and the backslash as \xHH, so that junk in a file never reaches a terminal raw.
std::string Shown(const std::string& bytes);

}  // namespace qhost::dxf
