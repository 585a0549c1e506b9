#include "app/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::string_view kRecentSection = "Recent File List";
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kPreviewKey = "PreviewPages";

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos)
    return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// Section and key names compare without regard to ASCII case, as the classic INI files
// and the registry do.
bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

// One line of an INI text, split into what it says.
struct Line {
  std::string_view text;  // as written, without the line end
  bool is_section = false;
  std::string_view name;  // the section's name, or the key of a key=value line
  std::string_view value;
};

std::vector<Line> SplitLines(std::string_view ini) {
  std::vector<Line> lines;
  while (!ini.empty()) {
    const size_t end = std::min(ini.find('\n'), ini.size());
    Line line;
    line.text = ini.substr(0, end);
    if (!line.text.empty() && line.text.back() == '\r')
      line.text.remove_suffix(1);
    ini.remove_prefix(std::min(end + 1, ini.size()));
    const std::string_view trimmed = Trim(line.text);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
      line.is_section = true;
      line.name = Trim(trimmed.substr(1, trimmed.size() - 2));
    } else if (const size_t eq = trimmed.find('='); eq != std::string_view::npos) {
      line.name = Trim(trimmed.substr(0, eq));
      line.value = Trim(trimmed.substr(eq + 1));
    }
    lines.push_back(line);
  }
  return lines;
}

// The file's bytes; false when it cannot be read (missing, a folder, no permission).
bool ReadFile(const std::string& path, std::string& bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return false;
  bytes.clear();
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) != 0) {
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      break;
    bytes.append(buf, size_t(n));
  }
  close(fd);
  if (n < 0)
    bytes.clear();
  return n == 0;
}

// Creates the folder and any missing parents with mode 0700.
bool MakeFolder(const std::string& folder) {
  struct stat st;
  if (stat(folder.c_str(), &st) == 0)
    return S_ISDIR(st.st_mode);
  const size_t slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolder(folder.substr(0, slash))) {
    return false;
  }
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

void Settings::AddRecentFile(const std::string& path) {
  recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
  recent.insert(recent.begin(), path);
  if (recent.size() > kRecentFiles)
    recent.resize(kRecentFiles);
}

std::string SettingsPath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0] != '\0') {
    base = std::string(home) + "/.config";
  } else {
    base = "/tmp";  // no home at all: nothing sensible to keep, but never a crash
  }
  return base + "/MURETAKI TobiuoX/Tobiuo X.conf";
}

Settings ParseSettings(std::string_view ini) {
  Settings settings;
  std::string files[Settings::kRecentFiles];
  std::string_view section;
  for (const Line& line : SplitLines(ini)) {
    if (line.is_section) {
      section = line.name;
    } else if (SameName(section, kRecentSection)) {
      for (size_t i = 0; i < Settings::kRecentFiles; ++i) {
        if (SameName(line.name, "File" + std::to_string(i + 1)))
          files[i] = line.value;
      }
    } else if (SameName(section, kSettingsSection) && SameName(line.name, kPreviewKey)) {
      long value = 0;
      const char* end = line.value.data() + line.value.size();
      const auto [ptr, ec] = std::from_chars(line.value.data(), end, value);
      settings.preview_pages = ec == std::errc() && ptr == end ? value : 0;
    }
  }
  for (const std::string& file : files) {
    if (!file.empty())
      settings.recent.push_back(file);
  }
  return settings;
}

std::string MergeSettings(std::string_view old, const Settings& settings) {
  std::string recent_section;
  if (!settings.recent.empty()) {
    recent_section = "[" + std::string(kRecentSection) + "]\n";
    for (size_t i = 0; i < settings.recent.size() && i < Settings::kRecentFiles; ++i) {
      recent_section += "File" + std::to_string(i + 1) + "=" + settings.recent[i] + "\n";
    }
  }
  const bool write_preview = settings.preview_pages != 0;
  const std::string preview_line =
      std::string(kPreviewKey) + "=" + std::to_string(settings.preview_pages) + "\n";

  std::string out;
  bool in_recent = false, in_settings = false;
  bool recent_done = false, preview_done = !write_preview;
  auto end_of_settings = [&] {
    if (in_settings && !preview_done) {
      out += preview_line;
      preview_done = true;
    }
  };
  for (const Line& line : SplitLines(old)) {
    if (line.is_section) {
      end_of_settings();
      in_recent = SameName(line.name, kRecentSection);
      in_settings = SameName(line.name, kSettingsSection);
      if (in_recent) {
        // The old section goes; the new list takes the place of its first occurrence.
        if (!recent_done)
          out += recent_section;
        recent_done = true;
        continue;
      }
    } else if (in_recent) {
      continue;
    } else if (in_settings && write_preview && SameName(line.name, kPreviewKey)) {
      end_of_settings();
      continue;
    }
    out.append(line.text);
    out += '\n';
  }
  end_of_settings();
  if (!recent_done)
    out += recent_section;
  if (!preview_done)
    out += "[" + std::string(kSettingsSection) + "]\n" + preview_line;
  return out;
}

Settings LoadSettings(const std::string& path) {
  std::string ini;
  if (!ReadFile(path, ini))
    return Settings();
  return ParseSettings(ini);
}

bool SaveSettings(const Settings& settings, const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolder(path.substr(0, slash))) {
    return false;
  }
  std::string old;
  ReadFile(path, old);  // a missing or unreadable file: start from nothing
  const std::string text = MergeSettings(old, settings);

  const std::string temp = path + ".new";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0)
    return false;
  bool ok = true;
  for (size_t done = 0; ok && done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    ok = n > 0;
    if (ok)
      done += size_t(n);
  }
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok && std::rename(temp.c_str(), path.c_str()) == 0)
    return true;
  unlink(temp.c_str());
  return false;
}
