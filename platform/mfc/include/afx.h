// MFC core stand-in: the byte string CString with MFC 4.2's names and clamping rules.
#pragma once

#include <cstdarg>
#include <string>

#include <windows.h>

// A string of bytes (code page 1251 text). Lengths and positions are in bytes; a NUL byte
// is an ordinary byte inside the string. Positions out of range are clamped as MFC does.
class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString(LPCTSTR text);  // NOLINT(google-explicit-constructor): MFC converts implicitly
  CString(LPCTSTR text, int length);
  CString(TCHAR ch, int repeat = 1);  // NOLINT(google-explicit-constructor)
  ~CString() = default;

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(LPCTSTR text);
  CString& operator=(TCHAR ch);

  int GetLength() const { return static_cast<int>(m_data.size()); }
  BOOL IsEmpty() const { return m_data.empty(); }
  void Empty() { m_data.clear(); }
  TCHAR GetAt(int index) const;
  void SetAt(int index, TCHAR ch);
  TCHAR operator[](int index) const { return GetAt(index); }
  operator LPCTSTR() const { return m_data.c_str(); }  // NOLINT(google-explicit-constructor)

  CString& operator+=(const CString& other);
  CString& operator+=(LPCTSTR text);
  CString& operator+=(TCHAR ch);
  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, LPCTSTR b);
  friend CString operator+(LPCTSTR a, const CString& b);
  friend CString operator+(const CString& a, TCHAR b);
  friend CString operator+(TCHAR a, const CString& b);

  // Byte-wise comparison: < 0, 0 or > 0.
  int Compare(LPCTSTR text) const;
  int Compare(const CString& other) const;
  int CompareNoCase(LPCTSTR text) const;

  // The substring from `first`; a negative first or count counts as 0, the count is cut at
  // the end, and a first beyond the end gives an empty string.
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  // The first or last `count` bytes: the whole string when count exceeds the length, an
  // empty one when it is negative.
  CString Left(int count) const;
  CString Right(int count) const;

  // The first occurrence at or after `start`; -1 when there is none or `start` lies beyond
  // the length. An empty `sub` is found at `start`.
  int Find(TCHAR ch) const;
  int Find(TCHAR ch, int start) const;
  int Find(LPCTSTR sub) const;
  int Find(LPCTSTR sub, int start) const;
  int Find(const CString& sub, int start = 0) const;
  int ReverseFind(TCHAR ch) const;
  int FindOneOf(LPCTSTR charSet) const;

  void Format(LPCTSTR format, ...);
  void FormatV(LPCTSTR format, va_list args);

  void MakeUpper();
  void MakeLower();
  void TrimLeft();
  void TrimRight();
  // Replaces every occurrence of `from` (not empty) by `to`; returns how many there were.
  int Replace(LPCTSTR from, LPCTSTR to);
  int Replace(TCHAR from, TCHAR to);
  int Remove(TCHAR ch);
  int Insert(int index, TCHAR ch);
  int Insert(int index, LPCTSTR text);
  int Delete(int index, int count = 1);

  // Direct access to the bytes: GetBuffer(n) makes room for at least n bytes;
  // ReleaseBuffer(-1) ends the string at its first NUL, ReleaseBuffer(n) at n bytes.
  LPTSTR GetBuffer(int minLength);
  LPTSTR GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);
  void Preallocate(int length) { m_data.reserve(length > 0 ? static_cast<size_t>(length) : 0); }
  LPCTSTR GetString() const { return m_data.c_str(); }

 private:
  std::string m_data;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCTSTR b);
bool operator==(LPCTSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCTSTR b);
bool operator!=(LPCTSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

// ---- MFC core: diagnostics, run-time classes, CObject ----

#define AFXAPI
#define AFX_CDECL
#define AFX_EXT_CLASS
#define AFX_EXT_API
#define AFX_EXT_DATA
#define AFX_DATA
#define AFX_MSG_CALL
#define afx_msg

// Diagnostics: as in MFC's release build, ASSERT and TRACE vanish when NDEBUG is set; in a debug
// build a failed ASSERT is reported (and the program goes on).
void AfxAssertFailedLine(LPCSTR fileName, int line);
void AfxTrace(LPCTSTR format, ...);
#ifdef NDEBUG
#define ASSERT(f) ((void)0)
#define TRACE(...) ((void)0)
#else
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#define TRACE(...) AfxTrace(__VA_ARGS__)
#endif
#define VERIFY(f) ((f) ? (void)0 : ASSERT(FALSE))
#define ASSERT_VALID(p) ((void)(p))
#define TRACE0(s) TRACE(s)
#define TRACE1(s, a) TRACE(s, a)
#define TRACE2(s, a, b) TRACE(s, a, b)
#define TRACE3(s, a, b, c) TRACE(s, a, b, c)

class CObject;

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;
  CObject* (*m_pfnCreateObject)();
  CRuntimeClass* m_pBaseClass;
  CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
  BOOL IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
      if (c == base) return TRUE;
    }
    return FALSE;
  }
};

#define RUNTIME_CLASS(name) (&name::class##name)
#define DECLARE_DYNAMIC(name)         \
 public:                              \
  static CRuntimeClass class##name;   \
  CRuntimeClass* GetRuntimeClass() const override;
#define DECLARE_DYNCREATE(name) \
  DECLARE_DYNAMIC(name)         \
  static CObject* CreateObject();
#define IMPLEMENT_DYNAMIC(name, base)                                                              \
  CRuntimeClass name::class##name = {#name, sizeof(name), 0xFFFF, nullptr, RUNTIME_CLASS(base)}; \
  CRuntimeClass* name::GetRuntimeClass() const { return RUNTIME_CLASS(name); }
#define IMPLEMENT_DYNCREATE(name, base)                                                                   \
  CObject* name::CreateObject() { return new name; }                                                     \
  CRuntimeClass name::class##name = {#name, sizeof(name), 0xFFFF, name::CreateObject, RUNTIME_CLASS(base)}; \
  CRuntimeClass* name::GetRuntimeClass() const { return RUNTIME_CLASS(name); }
#define IMPLEMENT_SERIAL(name, base, schema) IMPLEMENT_DYNCREATE(name, base)
#define DYNAMIC_DOWNCAST(name, object) dynamic_cast<name*>(object)
#define STATIC_DOWNCAST(name, object) static_cast<name*>(object)

class CObject {
 public:
  static CRuntimeClass classCObject;
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;
  BOOL IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
  virtual void AssertValid() const {}

 protected:
  CObject() = default;

 private:
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};

// The exception MFC's data exchange throws when a field fails validation.
class CException : public CObject {
 public:
  void Delete() { delete this; }
};
class CUserException : public CException {};
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowNotSupportedException();
