// tobiuox-cli: the program's core on the command line.
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/image_out.h"
#include "decode/jis.h"
#include "decode/romaji.h"
#include "display/glyph.h"
#include "display/layout.h"
#include "view/memory_form.h"
#include "view/state.h"
#include "view/text_file.h"
#include "view/tobiuox_view.h"

namespace {

// The viewer's client size in the desktop program, in dots.
constexpr int kDefaultWidth = 310;
constexpr int kDefaultHeight = 351;
// Limits that keep a viewer and its picture within memory.
constexpr long kMaxSide = 10000;
constexpr int64_t kMaxPicturePixels = int64_t(1) << 28;

constexpr const char* kUsage =
    "Usage: tobiuox-cli COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  render   draw a text in the viewer and write the picture\n"
    "  convert  write the Shift-JIS bytes a text is drawn from\n"
    "  detect   tell how a text would be read\n"
    "  glyph    show the glyphs of character codes\n"
    "\n"
    "Run 'tobiuox-cli COMMAND --help' for a command's options.\n";

constexpr const char* kRenderHelp =
    "Usage: tobiuox-cli render [FILE] [--size WxH] [--mode M] [--do A,A,...] [--opened]\n"
    "                          [--scale K] [--state] [-o OUT]\n"
    "\n"
    "Starts as the program does (nothing checked, UP and DOWN disabled), puts the bytes\n"
    "of FILE (standard input when FILE is absent or '-') into the editor unchanged and\n"
    "runs one refresh, as a user's edit does. Then runs the actions in order.\n"
    "\n"
    "  --size WxH   viewer client size in dots (default 310x351, the desktop program's)\n"
    "  --opened     read FILE as File > Open does (line ends made CR LF, 0x1A ends the\n"
    "               file) and run what Open runs, instead of the edit\n"
    "  --do A,...   actions: up, down (button clicks), romaji, jis, sjis, rawjis (radio\n"
    "               button clicks), refresh (a repaint of the form)\n"
    "  --mode M     short for --do M (M: romaji, jis, sjis, rawjis)\n"
    "  -o OUT       write the viewer: OUT.png in its colours, OUT.pbm as binary PBM\n"
    "               (1 = black dot), '-' as PBM on standard output\n"
    "  --scale K    draw each dot as K x K pixels (default 1)\n"
    "  --state      print the state after the actions:\n"
    "               mode=N checked=N more=N picked=N up=N down=N first_line=N\n"
    "\n"
    "Exit status: 0 success, 1 a file could not be read or written, 2 bad usage.\n";

constexpr const char* kConvertHelp =
    "Usage: tobiuox-cli convert [FILE] --mode romaji|jis|rawjis|sjis|auto\n"
    "\n"
    "Writes to standard output the Shift-JIS bytes that the viewer draws for the text\n"
    "of FILE (standard input when FILE is absent or '-'): romaji turned into hiragana,\n"
    "JIS with escape sequences (jis) or without (rawjis) turned into Shift-JIS, or the\n"
    "text unchanged (sjis), up to a NUL byte that the viewer reads as a character, where\n"
    "drawing ends. 'auto' reads the text the way the program detects it.\n"
    "\n"
    "Exit status: 0 success, 1 the file could not be read, 2 bad usage.\n";

constexpr const char* kDetectHelp =
    "Usage: tobiuox-cli detect [FILE]\n"
    "\n"
    "Prints how the program reads the text of FILE (standard input when FILE is absent\n"
    "or '-'): '1 Roma-ji', '2 JIS' (an escape byte comes first) or '3 S-JIS' (a\n"
    "Shift-JIS lead byte comes first).\n"
    "\n"
    "Exit status: 0 success, 1 the file could not be read, 2 bad usage.\n";

constexpr const char* kGlyphHelp =
    "Usage: tobiuox-cli glyph CODE...\n"
    "\n"
    "Shows the built-in glyph of each CODE, given in hexadecimal: two digits for a\n"
    "single byte, four for a double-byte pair (lead byte, then trail byte). For each, a\n"
    "line 'CODE TABLE INDEX' (TABLE: half, symbol, kanji1, kanji2, fallback or control)\n"
    "and ten rows of '#' (dot) and '.' (no dot), 12 wide for a pair, 6 for a byte.\n"
    "\n"
    "Exit status: 0 success, 2 bad usage.\n";

struct UsageError {
  std::string message;
};

struct FileFailure {
  std::string message;
};

const char* const kModeNames[] = {"", "romaji", "jis", "sjis", "rawjis"};
const char* const kButtonTexts[] = {"", "Roma-ji", "JIS", "S-JIS", "JIS??"};

int ModeByName(const std::string& name) {
  for (int m = MODE_ROMAJI; m <= MODE_RAWJIS; ++m) {
    if (name == kModeNames[m])
      return m;
  }
  return 0;
}

std::string FullPath(const std::string& path) {
  std::error_code ec;
  auto full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

// The bytes of FILE, or of standard input for "" and "-".
std::string ReadInput(const std::string& file) {
  std::string bytes;
  if (file.empty() || file == "-") {
    char buf[65536];
    for (;;) {
      const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
      if (n > 0) {
        bytes.append(buf, size_t(n));
      } else if (n == 0) {
        break;
      } else if (errno != EINTR) {
        throw FileFailure{FileErrorMessage(FileError::kGeneric, "standard input")};
      }
    }
    return bytes;
  }
  const std::string path = FullPath(file);
  const FileError error = ReadFileBytes(path, bytes);
  if (error != FileError::kNone)
    throw FileFailure{FileErrorMessage(error, path)};
  return bytes;
}

void WriteStdout(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
      std::fflush(stdout) != 0) {
    throw FileFailure{FileErrorMessage(FileError::kDiskFull, "standard output")};
  }
}

// Whether s ends in suffix (lower case), whatever the case of s.
bool HasSuffix(const std::string& s, const std::string& suffix) {
  if (s.size() < suffix.size())
    return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) != suffix[i]) {
      return false;
    }
  }
  return true;
}

int ParseNumber(const std::string& option, const std::string& value, long least, long most) {
  size_t used = 0;
  long n = 0;
  try {
    n = std::stol(value, &used);
  } catch (...) {
    used = 0;
  }
  if (used != value.size() || value.empty() || n < least || n > most) {
    throw UsageError{option + ": not a whole number from " + std::to_string(least) + " to " +
                     std::to_string(most) + ": '" + value + "'"};
  }
  return int(n);
}

// Takes the value of an option: "--opt value" or "--opt=value".
std::string OptionValue(const std::vector<std::string>& args, size_t& i, const std::string& name) {
  const std::string& a = args[i];
  if (a.size() > name.size() && a.compare(0, name.size() + 1, name + "=") == 0) {
    return a.substr(name.size() + 1);
  }
  if (i + 1 >= args.size())
    throw UsageError{name + ": a value is missing"};
  return args[++i];
}

bool IsOption(const std::string& a, const std::string& name) {
  return a == name || a.rfind(name + "=", 0) == 0;
}

void TakeFile(std::optional<std::string>& file, const std::string& arg) {
  if (file)
    throw UsageError{"more than one FILE: '" + arg + "'"};
  file = arg;
}

int Render(const std::vector<std::string>& args) {
  std::optional<std::string> file;
  int width = kDefaultWidth;
  int height = kDefaultHeight;
  int scale = 1;
  bool opened = false;
  bool state = false;
  std::optional<std::string> out;
  std::vector<std::string> actions;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::cout << kRenderHelp;
      return 0;
    } else if (IsOption(a, "--size")) {
      const std::string v = OptionValue(args, i, "--size");
      const size_t x = v.find_first_of("xX");
      if (x == std::string::npos)
        throw UsageError{"--size: expected WxH, got '" + v + "'"};
      width = ParseNumber("--size", v.substr(0, x), 0, kMaxSide);
      height = ParseNumber("--size", v.substr(x + 1), 0, kMaxSide);
    } else if (IsOption(a, "--mode")) {
      const std::string v = OptionValue(args, i, "--mode");
      if (!ModeByName(v))
        throw UsageError{"--mode: unknown mode '" + v + "'"};
      actions.push_back(v);
    } else if (IsOption(a, "--do")) {
      std::string v = OptionValue(args, i, "--do");
      size_t start = 0;
      for (;;) {
        const size_t comma = v.find(',', start);
        const std::string action = v.substr(start, comma - start);
        if (action != "up" && action != "down" && action != "refresh" && !ModeByName(action)) {
          throw UsageError{"--do: unknown action '" + action + "'"};
        }
        actions.push_back(action);
        if (comma == std::string::npos)
          break;
        start = comma + 1;
      }
    } else if (a == "--opened") {
      opened = true;
    } else if (IsOption(a, "--scale")) {
      scale = ParseNumber("--scale", OptionValue(args, i, "--scale"), 1, 64);
    } else if (a == "--state") {
      state = true;
    } else if (IsOption(a, "-o") || IsOption(a, "--output")) {
      out = OptionValue(args, i, a.rfind("--output", 0) == 0 ? "--output" : "-o");
      if (*out != "-" && !HasSuffix(*out, ".png") && !HasSuffix(*out, ".pbm")) {
        throw UsageError{"-o: the output must end in .png or .pbm, or be '-'"};
      }
    } else if (a.size() > 1 && a[0] == '-') {
      throw UsageError{"render: unknown option '" + a + "'"};
    } else {
      TakeFile(file, a);
    }
  }
  if (opened && (!file || *file == "-"))
    throw UsageError{"--opened needs a FILE"};
  if (out && int64_t(width) * scale * int64_t(height) * scale > kMaxPicturePixels) {
    throw UsageError{"-o: a picture of " + std::to_string(int64_t(width) * scale) + "x" +
                     std::to_string(int64_t(height) * scale) + " pixels is too large"};
  }

  ResetState();
  MemoryForm form(width, height);
  CTobiuoxView view(form);
  if (opened) {
    if (!view.OpenFile(*file))
      throw FileFailure{form.errors.back()};
  } else {
    form.SetEditorText(ReadInput(file.value_or("")));
    view.RefreshViewer();
  }
  for (const std::string& action : actions) {
    if (action == "up") {
      view.OnUp();
    } else if (action == "down") {
      view.OnDown();
    } else if (action == "refresh") {
      view.OnDraw();
    } else {
      const int mode = ModeByName(action);
      form.ClickRadio(RadioOfMode(mode));
      view.OnRadio(mode);
    }
  }

  if (out) {
    if (*out == "-") {
      WriteStdout(EncodePbm(form.Viewer(), scale));
    } else {
      const std::string bytes = HasSuffix(*out, ".png") ? EncodePng(form.Viewer(), scale)
                                                        : EncodePbm(form.Viewer(), scale);
      const std::string path = FullPath(*out);
      if (bytes.empty())
        throw FileFailure{"the PNG picture of " + path + " could not be made"};
      const FileError error = WriteTextFile(path, bytes);
      if (error != FileError::kNone)
        throw FileFailure{FileErrorMessage(error, path)};
    }
  }
  if (state) {
    std::string line = "mode=" + std::to_string(g_nMode) +
                       " checked=" + std::to_string(form.CheckedMode()) +
                       " more=" + std::to_string(g_bMore) + " picked=" + std::to_string(g_bPicked) +
                       " up=" + (form.IsButtonEnabled(IDC_UP) ? "1" : "0") +
                       " down=" + (form.IsButtonEnabled(IDC_DOWN) ? "1" : "0") +
                       " first_line=" + std::to_string(g_nFirstLine) + "\n";
    WriteStdout(line);
  }
  return 0;
}

// How many bytes of a text the layout reads: up to the NUL that it reads as a character
// (a NUL taken as a trail byte, or passed over after a CR, does not end it).
size_t LaidOutLength(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0)
      return i;
    i += (c == 0x0D || IsSjisLead(c)) ? 2 : 1;
  }
  return text.size();
}

int Convert(const std::vector<std::string>& args) {
  std::optional<std::string> file;
  std::optional<std::string> mode_name;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::cout << kConvertHelp;
      return 0;
    } else if (IsOption(a, "--mode")) {
      mode_name = OptionValue(args, i, "--mode");
      if (*mode_name != "auto" && !ModeByName(*mode_name)) {
        throw UsageError{"--mode: unknown mode '" + *mode_name + "'"};
      }
    } else if (a.size() > 1 && a[0] == '-') {
      throw UsageError{"convert: unknown option '" + a + "'"};
    } else {
      TakeFile(file, a);
    }
  }
  if (!mode_name)
    throw UsageError{"convert: --mode is missing"};
  std::string text = ReadInput(file.value_or(""));
  int mode = ModeByName(*mode_name);
  if (mode == 0) {
    mode = DetectCode(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  }
  std::string out;
  if (mode == MODE_ROMAJI || mode == MODE_SJIS) {
    if (mode == MODE_ROMAJI)
      RomajiToKana(text);
    out = std::move(text);
  } else {
    JisReader reader(text, mode);
    while (reader.Next(out)) {
    }
  }
  if (mode == MODE_JIS || mode == MODE_RAWJIS) {
    out.pop_back();  // the decoder's NUL, its only one
  } else {
    out.resize(LaidOutLength(out));
  }
  WriteStdout(out);
  return 0;
}

int Detect(const std::vector<std::string>& args) {
  std::optional<std::string> file;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kDetectHelp;
      return 0;
    } else if (a.size() > 1 && a[0] == '-') {
      throw UsageError{"detect: unknown option '" + a + "'"};
    } else {
      TakeFile(file, a);
    }
  }
  const std::string text = ReadInput(file.value_or(""));
  const int mode = DetectCode(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  WriteStdout(std::to_string(mode) + " " + kButtonTexts[mode] + "\n");
  return 0;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

int Glyphs(const std::vector<std::string>& args) {
  if (args.empty())
    throw UsageError{"glyph: no CODE given"};
  std::string out;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kGlyphHelp;
      return 0;
    }
  }
  for (const std::string& a : args) {
    std::string code = a;
    if (code.rfind("0x", 0) == 0 || code.rfind("0X", 0) == 0)
      code = code.substr(2);
    unsigned value = 0;
    for (char c : code) {
      const int d = HexDigit(c);
      if (d < 0)
        throw UsageError{"glyph: not a hexadecimal code: '" + a + "'"};
      value = value * 16 + unsigned(d);
    }
    GlyphRef ref;
    int columns;
    if (code.size() == 2) {
      if (value == 0x00 || value == 0x0D) {
        throw UsageError{"glyph: byte " + code + " takes no cell (" +
                         (value ? "CR ends a line" : "NUL ends the text") + ")"};
      }
      ref = FindNarrowGlyph(value);
      columns = 6;
    } else if (code.size() == 4) {
      ref = FindWideGlyph(value >> 8, value & 0xFF);
      columns = 12;
    } else {
      throw UsageError{"glyph: a CODE has two or four hexadecimal digits: '" + a + "'"};
    }
    char head[64];
    std::snprintf(head, sizeof head, "%0*X %s %d\n", int(code.size()), value,
                  GlyphTableName(ref.table), ref.index);
    out += head;
    const int top_bit = columns == 12 ? 15 : 7;
    for (int r = 0; r < 10; ++r) {
      for (int k = 0; k < columns; ++k)
        out += (ref.glyph->rows[r] >> (top_bit - k)) & 1 ? '#' : '.';
      out += '\n';
    }
  }
  WriteStdout(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << "tobiuox-cli: no command given (render, convert, detect or glyph; see --help)\n";
    return 2;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  try {
    if (command == "render")
      return Render(args);
    if (command == "convert")
      return Convert(args);
    if (command == "detect")
      return Detect(args);
    if (command == "glyph")
      return Glyphs(args);
    if (command == "--help" || command == "-h" || command == "help") {
      std::cout << kUsage;
      return 0;
    }
    throw UsageError{"unknown command '" + command + "'"};
  } catch (const UsageError& e) {
    std::cerr << "tobiuox-cli: " << e.message << "\n";
    return 2;
  } catch (const FileFailure& e) {
    std::cerr << "tobiuox-cli: " << e.message << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "tobiuox-cli: " << e.what() << "\n";
    return 1;
  }
}
