// A loaded DXF file as the saver needs it: the bytes, the groups, and where the modelled parts lie.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
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
  bool isUtf8() const { return m_name == "UTF-8"; }
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
  iconv_t m_toUtf32 = reinterpret_cast<iconv_t>(-1);
  iconv_t m_fromUtf32 = reinterpret_cast<iconv_t>(-1);
};

// Caret escapes of DXF text values: "^J" a line feed, "^M" a carriage return, "^I" a tab,
// "^ " a caret; a caret before anything else stands for itself.
std::string DecodeCarets(const std::string& raw);
std::string EncodeCarets(const std::string& text);

// A text value of the file in memory: converted from the file's encoding, then its caret escapes
// decoded (after the conversion, so that the second byte of a double-byte character is never taken
// for a caret). False as Codec::Decode.
bool DecodeText(const Codec& codec, const std::string& raw, std::string& memory);

// A modelled value of an entity, as text in memory. Numbers are formatted as the saver writes them.
struct Field {
  int code;
  std::string value;
  int after;  // where the group goes when the file did not have it: after this code (0: at the end)
  int kind;   // 0 a number, 1 a text, 2 a text split over groups 3 and a last group 1
};

// Where a loaded entity lies in the file, and its modelled values as loaded.
struct EntitySource {
  size_t first = 0;  // index of its "0" group
  size_t end = 0;    // index after its last group
  std::vector<Field> loaded;
};

struct Image {
  std::string bytes;
  std::vector<Group> groups;
  size_t groupsEndOffset = 0;   // the bytes from here on (after EOF) are written back as they are
  std::string eol = "\r\n";
  bool leftAlignedCodes = false;
  std::string version;          // $ACADVER
  Codec codec;
  bool hasHandles = false;
  size_t entitiesEnd = SIZE_MAX;  // index of the ENDSEC group that closes ENTITIES
  size_t handseedValue = SIZE_MAX;
  uint64_t handseed = 0;
  std::map<std::string, size_t> headerValues;  // header variable -> index of its value group
  std::map<std::string, std::string> headerLoaded;  // header variable -> the database's value after loading
  AcDbHandle modelSpaceRecord, paperSpaceRecord;
  std::string path;  // where the drawing was loaded from or last saved to

  std::string value(size_t i) const {
    const Group& g = groups[i];
    return bytes.substr(g.valueBegin, g.valueEnd - g.valueBegin);
  }
  std::string codeLine(int code) const;
  bool isR12() const { return version < "AC1012"; }
};

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
