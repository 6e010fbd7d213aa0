// Host stand-in: database object ids. An id names one object of one open database.
#pragma once

#include <cstdint>

class AcDbStub;

class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  explicit AcDbObjectId(AcDbStub* stub) : m_stub(stub) {}
  bool isNull() const { return m_stub == nullptr; }
  void setNull() { m_stub = nullptr; }
  bool operator==(const AcDbObjectId& o) const { return m_stub == o.m_stub; }
  bool operator!=(const AcDbObjectId& o) const { return m_stub != o.m_stub; }
  bool operator<(const AcDbObjectId& o) const { return m_stub < o.m_stub; }
  AcDbStub* stub() const { return m_stub; }
  static const AcDbObjectId kNull;

 private:
  AcDbStub* m_stub = nullptr;
};

inline const AcDbObjectId AcDbObjectId::kNull{};
