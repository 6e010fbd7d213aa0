// Prints the displayed text of each MText contents line of standard input (code page 1251), one line
// each with line breaks as "\n", so that a test can hold it to another reader.
#include <iostream>
#include <string>

#include "converter/MTextSearch.h"

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    std::string shown = mtextsearch::Display(line, mtextsearch::TextKind::kMText).utf8;
    std::string out;
    for (char c : shown) {
      if (c == '\n') out += "\\n";
      else if (c == '\\') out += "\\\\";
      else out += c;
    }
    std::cout << out << '\n';
  }
  return 0;
}
