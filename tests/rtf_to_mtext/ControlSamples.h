// The documents the real control wrote, from the shared folder beside the project.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// Every .rtf file of <shared>/richedit10-samples, in name order.
inline std::vector<std::string> ControlSamples(const std::string& shared) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(shared + "/richedit10-samples")) {
    if (entry.path().extension() == ".rtf") paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}
