#include <cstdio>
#include <cstring>
#include <vector>

#include "app/tobiuox_app.h"

wxIMPLEMENT_APP_NO_MAIN(CTobiuoxApp);

int main(int argc, char** argv) {
  // Answered before the toolkit starts, so that it works without a display too.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(
          "Usage: tobiuox [FILE]\n"
          "\n"
          "Tobiuo X shows Japanese text in its built-in 10-dot bitmap font. The editor on\n"
          "the left takes romaji, JIS or Shift-JIS text; the viewer on the right draws it.\n"
          "FILE, when given, is opened as File > Open does.\n"
          "\n"
          "The viewer's client area is 310 x 351 dots. Settings: the recent-file list in\n"
          "$XDG_CONFIG_HOME/MURETAKI TobiuoX/Tobiuo X.conf (default ~/.config/...).\n",
          stdout);
      return 0;
    }
  }
  // The file name goes to the program as the system's bytes; wx would drop a name that is
  // not valid UTF-8. The other arguments go to wx's own command line.
  std::vector<char*> args(argv, argv + argc);
  for (size_t i = 1; i < args.size(); ++i) {
    if (std::strcmp(args[i], "--") == 0 && i + 1 < args.size()) {
      CTobiuoxApp::SetCommandLineFile(args[i + 1]);
      args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
      break;
    }
    if (args[i][0] != '-') {
      CTobiuoxApp::SetCommandLineFile(args[i]);
      args.erase(args.begin() + long(i));
      break;
    }
  }
  int count = int(args.size());
  args.push_back(nullptr);
  return wxEntry(count, args.data());
}
