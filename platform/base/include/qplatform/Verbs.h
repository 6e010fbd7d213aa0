// The vocabulary of session scripts: every verb an input event may carry and which waits
// understand it. docs/session-script.md describes the same verbs (a test holds the two together);
// the waits that apply events (the command line, the host's prompts, the window stand-in's modal
// loops, qhost's character map) each handle their part of it.
#pragma once

#include <string>
#include <vector>

namespace qhost {

// The waits at which a verb means something (a bit set).
enum VerbWaits : unsigned {
  kAtCommandPrompt = 1u << 0,  // the host's "Command:" prompt
  kAtHostPrompt = 1u << 1,     // a prompt inside a command (acedGetPoint, acedEntSel, acedGetString)
  kAtDialog = 1u << 2,         // a waiting dialog of the window stand-in
  kAtMenu = 1u << 3,           // a waiting popup menu
  kAtMessageBox = 1u << 4,     // a waiting message box
  kAtCharacterMap = 1u << 5,   // while qhost's character map is open
  kAtModalWait = kAtDialog | kAtMenu | kAtMessageBox,  // any modal loop (the machine's events)
  kAtEveryWait = kAtCommandPrompt | kAtHostPrompt | kAtModalWait | kAtCharacterMap,
};

struct Verb {
  const char* name;  // as scripts write it, lower case
  unsigned waits;    // VerbWaits
};

// Every verb, in the order docs/session-script.md introduces them.
const std::vector<Verb>& Verbs();
// The verb of this name (exact case), or null.
const Verb* FindVerb(const std::string& name);

}  // namespace qhost
