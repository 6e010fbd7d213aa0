#include "qplatform/Verbs.h"

namespace qhost {

const std::vector<Verb>& Verbs() {
  static const std::vector<Verb> verbs = {
      {"command", kAtCommandPrompt},
      {"type", kAtCommandPrompt | kAtHostPrompt | kAtDialog},
      {"point", kAtHostPrompt},
      {"pick", kAtHostPrompt},
      {"enter", kAtCommandPrompt | kAtHostPrompt | kAtDialog | kAtMessageBox},
      {"escape", kAtCommandPrompt | kAtHostPrompt | kAtDialog | kAtMenu | kAtMessageBox},
      {"context-menu", kAtCommandPrompt},
      {"help", kAtEveryWait},
      {"click", kAtDialog},
      {"dblclick", kAtDialog},
      {"rclick", kAtDialog},
      {"hover", kAtDialog},
      {"focus", kAtDialog},
      {"key", kAtDialog | kAtMenu | kAtMessageBox},
      {"choose", kAtDialog},
      {"edit", kAtDialog},
      {"select", kAtDialog},
      {"resize", kAtDialog},
      {"minimize", kAtDialog},
      {"restore", kAtDialog},
      {"close", kAtDialog},
      {"syscommand", kAtDialog},
      {"menu", kAtMenu},
      {"answer", kAtMessageBox},
      {"clipboard", kAtModalWait},
      {"keyboard", kAtModalWait},
      {"charmap", kAtCharacterMap},
  };
  return verbs;
}

const Verb* FindVerb(const std::string& name) {
  for (const Verb& verb : Verbs())
    if (name == verb.name) return &verb;
  return nullptr;
}

}  // namespace qhost
