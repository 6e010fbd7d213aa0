// The application profile's storage: an INI file per profile name in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config, then "quillon"). Stand-in only: for front ends and tests.
#pragma once

#include <string>

namespace qmfc {

// Overrides the folder that holds the profile files (empty: back to the user's configuration folder).
void SetProfileFolder(const std::string& folder);
// The file that holds a profile, for example ".../quillon/qhost.ini".
std::string ProfilePath(const std::string& profileName);

}  // namespace qmfc
