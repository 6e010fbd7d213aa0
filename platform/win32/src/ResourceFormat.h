// The byte layout of compiled dialog and menu resources, shared by the resource compiler (writer)
// and the window stand-in (reader). Little-endian; a string is a 16-bit length and its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qwin::rc {

constexpr char kDialogMagic[4] = {'Q', 'D', 'L', 'G'};
constexpr char kMenuMagic[4] = {'Q', 'M', 'N', 'U'};
constexpr char kNamesMagic[4] = {'Q', 'N', 'A', 'M'};

// The resource type of a dialog's control names: the symbols (IDC_BOLD) that the .rc file wrote
// for its controls' ids, stored under the dialog's own name. Not a Windows type: the names let
// front ends show and address controls as the module's developer named them, without reading
// the module's headers.
constexpr int kControlNamesType = 0x5100;

struct DialogControl {
  int32_t id = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::string className;
  std::string text;  // "#5006" names a resource by number
};

struct Dialog {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::string menu;
  std::string className;
  std::string caption;
  uint16_t pointSize = 0;  // 0: no DS_SETFONT font
  uint16_t weight = 0;
  uint8_t italic = 0;
  uint8_t charset = 1;
  std::string face;
  std::vector<DialogControl> controls;
};

struct MenuItem {
  uint16_t flags = 0;  // MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_CHECKED, ...
  uint32_t id = 0;
  std::string text;
  std::vector<MenuItem> children;
};

class Writer {
 public:
  void Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    m_out.insert(m_out.end(), p, p + n);
  }
  void U8(uint8_t v) { m_out.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void Str(const std::string& s) {
    U16(static_cast<uint16_t>(s.size()));
    Bytes(s.data(), s.size());
  }
  const std::vector<unsigned char>& Out() const { return m_out; }

 private:
  std::vector<unsigned char> m_out;
};

// Reads what Writer wrote; a short or damaged resource sets `ok` to false and reads zeros.
class Reader {
 public:
  Reader(const unsigned char* data, size_t size) : m_p(data), m_end(data + size) {}
  bool ok = true;
  uint8_t U8() {
    if (m_p >= m_end) {
      ok = false;
      return 0;
    }
    return *m_p++;
  }
  uint16_t U16() {
    uint16_t lo = U8();
    return static_cast<uint16_t>(lo | (U8() << 8));
  }
  uint32_t U32() {
    uint32_t lo = U16();
    return lo | (static_cast<uint32_t>(U16()) << 16);
  }
  std::string Str() {
    size_t n = U16();
    if (static_cast<size_t>(m_end - m_p) < n) {
      ok = false;
      return {};
    }
    std::string s(reinterpret_cast<const char*>(m_p), n);
    m_p += n;
    return s;
  }
  bool Magic(const char (&magic)[4]) {
    for (char c : magic) {
      if (U8() != static_cast<uint8_t>(c)) ok = false;
    }
    return ok;
  }

 private:
  const unsigned char* m_p;
  const unsigned char* m_end;
};

inline std::vector<unsigned char> WriteDialog(const Dialog& d) {
  Writer w;
  w.Bytes(kDialogMagic, 4);
  w.U32(d.style);
  w.U32(d.exStyle);
  for (int16_t v : {d.x, d.y, d.cx, d.cy}) w.U16(static_cast<uint16_t>(v));
  w.Str(d.menu);
  w.Str(d.className);
  w.Str(d.caption);
  w.U16(d.pointSize);
  w.U16(d.weight);
  w.U8(d.italic);
  w.U8(d.charset);
  w.Str(d.face);
  w.U16(static_cast<uint16_t>(d.controls.size()));
  for (const auto& c : d.controls) {
    w.U32(static_cast<uint32_t>(c.id));
    w.U32(c.style);
    w.U32(c.exStyle);
    for (int16_t v : {c.x, c.y, c.cx, c.cy}) w.U16(static_cast<uint16_t>(v));
    w.Str(c.className);
    w.Str(c.text);
  }
  return w.Out();
}

inline bool ReadDialog(const unsigned char* data, size_t size, Dialog& d) {
  Reader r(data, size);
  if (!r.Magic(kDialogMagic)) return false;
  d.style = r.U32();
  d.exStyle = r.U32();
  for (int16_t* v : {&d.x, &d.y, &d.cx, &d.cy}) *v = static_cast<int16_t>(r.U16());
  d.menu = r.Str();
  d.className = r.Str();
  d.caption = r.Str();
  d.pointSize = r.U16();
  d.weight = r.U16();
  d.italic = r.U8();
  d.charset = r.U8();
  d.face = r.Str();
  size_t count = r.U16();
  for (size_t i = 0; i < count && r.ok; ++i) {
    DialogControl c;
    c.id = static_cast<int32_t>(r.U32());
    c.style = r.U32();
    c.exStyle = r.U32();
    for (int16_t* v : {&c.x, &c.y, &c.cx, &c.cy}) *v = static_cast<int16_t>(r.U16());
    c.className = r.Str();
    c.text = r.Str();
    d.controls.push_back(std::move(c));
  }
  return r.ok;
}

struct ControlName {
  int32_t id = 0;
  std::string name;
};

inline std::vector<unsigned char> WriteControlNames(const std::vector<ControlName>& names) {
  Writer w;
  w.Bytes(kNamesMagic, 4);
  w.U16(static_cast<uint16_t>(names.size()));
  for (const auto& n : names) {
    w.U32(static_cast<uint32_t>(n.id));
    w.Str(n.name);
  }
  return w.Out();
}

inline bool ReadControlNames(const unsigned char* data, size_t size, std::vector<ControlName>& names) {
  Reader r(data, size);
  if (!r.Magic(kNamesMagic)) return false;
  size_t count = r.U16();
  for (size_t i = 0; i < count && r.ok; ++i) {
    ControlName n;
    n.id = static_cast<int32_t>(r.U32());
    n.name = r.Str();
    names.push_back(std::move(n));
  }
  return r.ok;
}

inline void WriteMenuItems(Writer& w, const std::vector<MenuItem>& items) {
  w.U16(static_cast<uint16_t>(items.size()));
  for (const auto& item : items) {
    w.U16(item.flags);
    w.U32(item.id);
    w.Str(item.text);
    if (item.flags & 0x0010) WriteMenuItems(w, item.children);
  }
}

inline std::vector<unsigned char> WriteMenu(const std::vector<MenuItem>& items) {
  Writer w;
  w.Bytes(kMenuMagic, 4);
  WriteMenuItems(w, items);
  return w.Out();
}

inline bool ReadMenuItems(Reader& r, std::vector<MenuItem>& items, int depth) {
  size_t count = r.U16();
  for (size_t i = 0; i < count && r.ok && depth < 16; ++i) {
    MenuItem item;
    item.flags = r.U16();
    item.id = r.U32();
    item.text = r.Str();
    if (item.flags & 0x0010) ReadMenuItems(r, item.children, depth + 1);
    items.push_back(std::move(item));
  }
  return r.ok && depth < 16;
}

inline bool ReadMenu(const unsigned char* data, size_t size, std::vector<MenuItem>& items) {
  Reader r(data, size);
  return r.Magic(kMenuMagic) && ReadMenuItems(r, items, 0);
}

}  // namespace qwin::rc
