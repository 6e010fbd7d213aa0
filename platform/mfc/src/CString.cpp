// CString: MFC's byte string, with the clamping rules the module's text passes depend on.
#include "afx.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

size_t Clamp(int value, size_t limit) {
  if (value < 0) return 0;
  return std::min(static_cast<size_t>(value), limit);
}

}  // namespace

CString::CString(LPCTSTR text) : m_data(text ? text : "") {}
CString::CString(LPCTSTR text, int length)
    : m_data(text && length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string()) {}
CString::CString(TCHAR ch, int repeat) : m_data(repeat > 0 ? static_cast<size_t>(repeat) : 0, ch) {}

CString& CString::operator=(LPCTSTR text) {
  m_data = text ? text : "";
  return *this;
}

CString& CString::operator=(TCHAR ch) {
  m_data.assign(1, ch);
  return *this;
}

TCHAR CString::GetAt(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= m_data.size()) return '\0';
  return m_data[static_cast<size_t>(index)];
}

void CString::SetAt(int index, TCHAR ch) {
  if (index >= 0 && static_cast<size_t>(index) < m_data.size()) m_data[static_cast<size_t>(index)] = ch;
}

CString& CString::operator+=(const CString& other) {
  m_data += other.m_data;
  return *this;
}
CString& CString::operator+=(LPCTSTR text) {
  if (text) m_data += text;
  return *this;
}
CString& CString::operator+=(TCHAR ch) {
  m_data += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, LPCTSTR b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(LPCTSTR a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, TCHAR b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(TCHAR a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

int CString::Compare(const CString& other) const { return m_data.compare(other.m_data); }
int CString::Compare(LPCTSTR text) const { return m_data.compare(text ? text : ""); }

int CString::CompareNoCase(LPCTSTR text) const {
  std::string b = text ? text : "";
  size_t n = std::min(m_data.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = std::tolower(static_cast<unsigned char>(m_data[i]));
    int y = std::tolower(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (m_data.size() == b.size()) return 0;
  return m_data.size() < b.size() ? -1 : 1;
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  size_t from = Clamp(first, m_data.size());
  size_t n = Clamp(count, m_data.size() - from);
  CString r;
  r.m_data.assign(m_data, from, n);
  return r;
}

CString CString::Left(int count) const {
  CString r;
  r.m_data.assign(m_data, 0, Clamp(count, m_data.size()));
  return r;
}

CString CString::Right(int count) const {
  size_t n = Clamp(count, m_data.size());
  CString r;
  r.m_data.assign(m_data, m_data.size() - n, n);
  return r;
}

int CString::Find(TCHAR ch) const { return Find(ch, 0); }

int CString::Find(TCHAR ch, int start) const {
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) > m_data.size()) return -1;
  size_t p = m_data.find(ch, static_cast<size_t>(start));
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::Find(LPCTSTR sub) const { return Find(sub, 0); }

int CString::Find(LPCTSTR sub, int start) const {
  return Find(CString(sub), start);
}

int CString::Find(const CString& sub, int start) const {
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) > m_data.size()) return -1;
  size_t p = m_data.find(sub.m_data, static_cast<size_t>(start));
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(TCHAR ch) const {
  size_t p = m_data.rfind(ch);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::FindOneOf(LPCTSTR charSet) const {
  if (!charSet) return -1;
  size_t p = m_data.find_first_of(charSet);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

void CString::Format(LPCTSTR format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(LPCTSTR format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0) {
    m_data.clear();
    return;
  }
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  std::vsnprintf(buf.data(), buf.size(), format, args);
  m_data.assign(buf.data(), static_cast<size_t>(n));
}

// Only ASCII letters change case: the module's Cyrillic comparisons are exact.
void CString::MakeUpper() {
  for (char& c : m_data) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

void CString::MakeLower() {
  for (char& c : m_data) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

namespace {
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}  // namespace

void CString::TrimLeft() {
  size_t i = 0;
  while (i < m_data.size() && IsSpace(m_data[i])) ++i;
  m_data.erase(0, i);
}

void CString::TrimRight() {
  size_t n = m_data.size();
  while (n > 0 && IsSpace(m_data[n - 1])) --n;
  m_data.resize(n);
}

int CString::Replace(LPCTSTR from, LPCTSTR to) {
  std::string f = from ? from : "";
  std::string t = to ? to : "";
  if (f.empty()) return 0;
  int count = 0;
  std::string out;
  size_t pos = 0;
  for (;;) {
    size_t hit = m_data.find(f, pos);
    if (hit == std::string::npos) break;
    out.append(m_data, pos, hit - pos);
    out += t;
    pos = hit + f.size();
    ++count;
  }
  if (count == 0) return 0;
  out.append(m_data, pos, std::string::npos);
  m_data.swap(out);
  return count;
}

int CString::Replace(TCHAR from, TCHAR to) {
  int count = 0;
  for (char& c : m_data) {
    if (c == from) {
      c = to;
      ++count;
    }
  }
  return count;
}

int CString::Remove(TCHAR ch) {
  size_t before = m_data.size();
  m_data.erase(std::remove(m_data.begin(), m_data.end(), ch), m_data.end());
  return static_cast<int>(before - m_data.size());
}

int CString::Insert(int index, TCHAR ch) {
  m_data.insert(Clamp(index, m_data.size()), 1, ch);
  return GetLength();
}

int CString::Insert(int index, LPCTSTR text) {
  if (text) m_data.insert(Clamp(index, m_data.size()), text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  size_t from = Clamp(index, m_data.size());
  m_data.erase(from, Clamp(count, m_data.size() - from));
  return GetLength();
}

LPTSTR CString::GetBuffer(int minLength) {
  if (minLength > 0 && static_cast<size_t>(minLength) > m_data.size()) {
    size_t keep = m_data.size();
    m_data.resize(static_cast<size_t>(minLength));
    std::fill(m_data.begin() + static_cast<std::ptrdiff_t>(keep), m_data.end(), '\0');
  }
  return m_data.data();
}

LPTSTR CString::GetBufferSetLength(int length) {
  m_data.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return m_data.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) {
    m_data.resize(std::strlen(m_data.c_str()));
  } else {
    m_data.resize(std::min(static_cast<size_t>(newLength), m_data.size()));
  }
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCTSTR b) { return !(a == b); }
bool operator!=(LPCTSTR a, const CString& b) { return !(b == a); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
