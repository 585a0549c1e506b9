// The application object, the document and the start-up sequence.
#pragma once

#include <wx/app.h>

#include <memory>
#include <string>

#include "app/settings.h"

class CMainFrame;
class wxCmdLineParser;

// The single document: it carries no data. The view, not the document, knows the file.
class CTobiuoxDoc {
 public:
  bool OnNewDocument() { return true; }
};

class CTobiuoxApp : public wxApp {
 public:
  CTobiuoxApp();

  // Start-up: settings, the document with its frame and form, the command line's file,
  // the caption, shown. False ends the program (bad usage, a file that cannot be opened).
  bool OnInit() override;
  // Writes the settings back.
  int OnExit() override;
  // An exception that escapes an event handler: its message in a box, and the program goes
  // on.
  bool OnExceptionInMainLoop() override;

  // Loads a file named on the command line as Open does and puts it at the head of the
  // recent list. False, after the error message, when it cannot be read.
  bool OpenCommandLineFile(const std::string& name);
  // The file named on the command line, as the bytes the system gave: main() takes it out
  // before wx converts the arguments, which would drop a name that is not UTF-8.
  static void SetCommandLineFile(std::string name) { s_command_line_file = std::move(name); }
  void OnAppAbout();

  CMainFrame* Frame() const { return frame_; }
  Settings& GetSettings() { return settings_; }
  const std::string& GetSettingsPath() const { return settings_path_; }

 private:
  std::string settings_path_;
  Settings settings_;
  std::unique_ptr<CTobiuoxDoc> doc_;
  CMainFrame* frame_ = nullptr;
  static inline std::string s_command_line_file;
};

wxDECLARE_APP(CTobiuoxApp);
