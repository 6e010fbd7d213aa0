// Host stand-in: the host's growable array.
#pragma once

#include <vector>

template <class T>
class AcArray {
 public:
  AcArray() = default;
  int length() const { return static_cast<int>(m_items.size()); }
  int logicalLength() const { return length(); }
  bool isEmpty() const { return m_items.empty(); }
  int append(const T& value) {
    m_items.push_back(value);
    return length() - 1;
  }
  T& at(int i) { return m_items.at(static_cast<size_t>(i)); }
  const T& at(int i) const { return m_items.at(static_cast<size_t>(i)); }
  T& operator[](int i) { return at(i); }
  const T& operator[](int i) const { return at(i); }
  void setLogicalLength(int n) { m_items.resize(static_cast<size_t>(n)); }
  AcArray& removeAt(int i) {
    m_items.erase(m_items.begin() + i);
    return *this;
  }
  bool contains(const T& value) const {
    for (const T& v : m_items)
      if (v == value) return true;
    return false;
  }

 private:
  std::vector<T> m_items;
};
