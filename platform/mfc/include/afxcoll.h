// MFC collections stand-in: CStringArray and CDWordArray, growable arrays indexed from 0.
#pragma once

#include <afx.h>

#include <vector>

namespace afxdetail {

// The shared body of MFC's typed arrays; an index out of range is a caller's error, as in MFC.
template <typename T, typename Arg>
class TypedArray {
 public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_items.empty(); }
  void SetSize(int size) { m_items.resize(size > 0 ? static_cast<size_t>(size) : 0); }
  void RemoveAll() { m_items.clear(); }
  const T& GetAt(int index) const { return m_items.at(static_cast<size_t>(index)); }
  void SetAt(int index, Arg value) { m_items.at(static_cast<size_t>(index)) = value; }
  T& ElementAt(int index) { return m_items.at(static_cast<size_t>(index)); }
  const T& operator[](int index) const { return GetAt(index); }
  T& operator[](int index) { return ElementAt(index); }
  int Add(Arg value) {
    m_items.push_back(value);
    return GetUpperBound();
  }
  void SetAtGrow(int index, Arg value) {
    if (index >= GetSize()) SetSize(index + 1);
    SetAt(index, value);
  }
  void InsertAt(int index, Arg value, int count = 1) {
    if (index > GetSize()) SetSize(index);
    m_items.insert(m_items.begin() + index, static_cast<size_t>(count), value);
  }
  void RemoveAt(int index, int count = 1) {
    m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
  }
  int Append(const TypedArray& other) {
    int first = GetSize();
    m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    return first;
  }
  void Copy(const TypedArray& other) { m_items = other.m_items; }

 private:
  std::vector<T> m_items;
};

}  // namespace afxdetail

class CStringArray : public afxdetail::TypedArray<CString, const CString&> {};
class CDWordArray : public afxdetail::TypedArray<DWORD, DWORD> {};
