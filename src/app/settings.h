// The program's settings: the recent-file list of four and "PreviewPages", kept in an INI
// file at $XDG_CONFIG_HOME/MURETAKI TobiuoX/Tobiuo X.conf (~/.config when unset).
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Settings {
  static constexpr size_t kRecentFiles = 4;

  std::vector<std::string> recent;  // full paths, most recent first, none empty
  long preview_pages = 0;           // kept for the file's sake; the program does not use it

  // Puts path at the head of the recent list, dropping an older entry of the same path and
  // the entry that falls off the end.
  void AddRecentFile(const std::string& path);
};

// Where the settings live.
std::string SettingsPath();

// The settings that an INI text holds; defaults for anything missing or malformed.
Settings ParseSettings(std::string_view ini);
// The INI text to write over old: the "Recent File List" section replaced by the list
// (File1.. for the non-empty entries, the section left out when the list is empty),
// "PreviewPages" in "Settings" set when it is not 0, every other line kept as it was.
std::string MergeSettings(std::string_view old, const Settings& settings);

// Reads the file at path; defaults when it is missing, unreadable or broken.
Settings LoadSettings(const std::string& path);
// Writes the settings into the file at path, creating its folder (mode 0700) when missing,
// through a temporary file renamed over the old one. False when that fails; the old file
// is then left as it was.
bool SaveSettings(const Settings& settings, const std::string& path);
