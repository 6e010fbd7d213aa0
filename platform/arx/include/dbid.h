// Host stand-in: database object ids and handles. An id names one object of one open database.
#pragma once

#include <cstdint>

class AcDbStub;
class AcDbDatabase;

// An object's handle: a number unique within its drawing, written in hexadecimal in files.
class AcDbHandle {
 public:
  AcDbHandle() = default;
  explicit AcDbHandle(uint64_t value) : m_value(value) {}
  // Parses hexadecimal digits; anything else gives the null handle.
  explicit AcDbHandle(const char* hex);
  bool isNull() const { return m_value == 0; }
  uint64_t value() const { return m_value; }
  // Writes the handle as upper-case hexadecimal into `buffer` (at least 17 bytes).
  void getIntoAsciiBuffer(char* buffer) const;
  bool operator==(const AcDbHandle& o) const { return m_value == o.m_value; }
  bool operator!=(const AcDbHandle& o) const { return m_value != o.m_value; }

 private:
  uint64_t m_value = 0;
};

class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  explicit AcDbObjectId(AcDbStub* stub) : m_stub(stub) {}
  bool isNull() const { return m_stub == nullptr; }
  void setNull() { m_stub = nullptr; }
  bool isValid() const { return m_stub != nullptr; }
  bool isErased() const;
  AcDbHandle handle() const;
  AcDbDatabase* database() const;
  bool operator==(const AcDbObjectId& o) const { return m_stub == o.m_stub; }
  bool operator!=(const AcDbObjectId& o) const { return m_stub != o.m_stub; }
  bool operator<(const AcDbObjectId& o) const { return m_stub < o.m_stub; }
  AcDbStub* stub() const { return m_stub; }
  static const AcDbObjectId kNull;

 private:
  AcDbStub* m_stub = nullptr;
};

inline const AcDbObjectId AcDbObjectId::kNull{};
