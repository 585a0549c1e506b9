// The About box: the icon, the program's name and version and the maker's details.
#pragma once

#include <wx/dialog.h>

inline constexpr const char* kAboutVersion = "Tobiuo X  Version 0.44";
// The maker's details, top to bottom on screen.
inline constexpr const char* kAboutContact = "Tobiuo X developers <tobiuox@example.org>";
inline constexpr const char* kAboutWeb = "https://tobiuox.example.org/";
inline constexpr const char* kAboutRights = "Copyright (C) Tobiuo X developers";

class CAboutDialog : public wxDialog {
 public:
  explicit CAboutDialog(wxWindow* parent);
};
