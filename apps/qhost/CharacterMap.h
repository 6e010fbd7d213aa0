// qhost's own character map: what a program started as "Charmap.exe" offers on this platform.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "qplatform/InputQueue.h"

namespace qhostui {

// The code page 1251 characters from 0x20 to 0xFF, sixteen a row, each row led by its code.
std::string CharacterTable();

// Whether a character map is open now (main thread), for front ends that draw it.
bool CharacterMapOpen();

// Passes events through from `inner`. Once a module has started "Charmap.exe", the map is open:
// qhost shows the table (when `show` is given), and the event `charmap <code>` (hexadecimal, or
// the character itself) becomes `type <character>` into the dialog's text area, at its caret;
// the map then closes.
class CharacterMapSource : public qhost::InputSource {
 public:
  CharacterMapSource(std::unique_ptr<qhost::InputSource> inner, void (*show)(const std::string&));
  std::optional<qhost::InputEvent> Next(const std::string& waitingFor) override;
  std::string Name() const override { return m_inner->Name(); }

 private:
  std::unique_ptr<qhost::InputSource> m_inner;
  void (*m_show)(const std::string&);
  size_t m_requestsSeen = 0;
  bool m_open = false;
};

}  // namespace qhostui
