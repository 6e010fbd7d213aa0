// Where qhost finds the Quillon module it loads at start: beside it when installed, else its build's.
#pragma once

#include <string>

namespace qhostui {

// The module qhost loads when no --load names one: the installed one (QHOST_INSTALLED_MODULE,
// relative to the folder of qhost's own executable) when it is there, otherwise the one of the
// build qhost came from (QHOST_MODULE_FILE); "" when neither is readable.
std::string DefaultModule();

}  // namespace qhostui
