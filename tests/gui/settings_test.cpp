// The settings file: what start-up reads, what exit writes, and that a broken or
// unreadable file never stops the program.
#include "app/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Settings, ReadsTheListAndPreviewPagesWhateverElseTheFileHolds) {
  const struct {
    std::string ini;
    std::vector<std::string> recent;
    long preview;
  } cases[] = {
      {"", {}, 0},
      {"[Recent File List]\nFile1=/a b.txt\nFile2=\nFile3=C:\\x\\y.txt\nFile5=/no\n"
       "[Settings]\nPreviewPages=3\n",
       {"/a b.txt", "C:\\x\\y.txt"},
       3},
      {"[recent file list]\r\n file2 = /two \r\nFILE1=/one\r\n", {"/one", "/two"}, 0},
      {"garbage\n[\n=\n[Settings\nPreviewPages=7\n[Other]\nFile1=/not/recent\n", {}, 0},
      {"[Settings]\nPreviewPages=x\n", {}, 0},
      {"[Settings]\nPreviewPages=12abc\n", {}, 0},
      {std::string("\0\xff\xfe[Recent File List]\nFile1=/z\n", 31), {}, 0},
  };
  for (const auto& c : cases) {
    const Settings s = ParseSettings(c.ini);
    EXPECT_EQ(s.recent, c.recent) << c.ini;
    EXPECT_EQ(s.preview_pages, c.preview) << c.ini;
  }
}

TEST(Settings, WritingReplacesOnlyTheListAndANonZeroPreviewPages) {
  Settings s;
  s.recent = {"/new.txt", "/old.txt"};
  const struct {
    const char* old;
    long preview;
    const char* written;
  } cases[] = {
      {"", 0, "[Recent File List]\nFile1=/new.txt\nFile2=/old.txt\n"},
      {"", 2, "[Recent File List]\nFile1=/new.txt\nFile2=/old.txt\n[Settings]\nPreviewPages=2\n"},
      // The old section is cleared, other sections and stray lines stay where they were.
      {"# note\n[Recent File List]\nFile1=/old.txt\nFile4=/gone.txt\n[Other]\nk=v\n", 0,
       "# note\n[Recent File List]\nFile1=/new.txt\nFile2=/old.txt\n[Other]\nk=v\n"},
      // A zero PreviewPages leaves the file's value alone; another one replaces it.
      {"[Settings]\nPreviewPages=5\nX=1\n", 0,
       "[Settings]\nPreviewPages=5\nX=1\n[Recent File List]\nFile1=/new.txt\nFile2=/old.txt\n"},
      {"[Settings]\nPreviewPages=5\nX=1\n[Other]\n", 9,
       "[Settings]\nPreviewPages=9\nX=1\n[Other]\n"
       "[Recent File List]\nFile1=/new.txt\nFile2=/old.txt\n"},
  };
  for (const auto& c : cases) {
    s.preview_pages = c.preview;
    EXPECT_EQ(MergeSettings(c.old, s), c.written) << c.old;
  }
  // An empty list leaves no section behind.
  EXPECT_EQ(MergeSettings("[Recent File List]\nFile1=/x\n[A]\n", Settings()), "[A]\n");
}

TEST(Settings, TheListKeepsFourDistinctPathsMostRecentFirst) {
  Settings s;
  for (const char* path : {"/a", "/b", "/c", "/d", "/e"})
    s.AddRecentFile(path);
  EXPECT_EQ(s.recent, (std::vector<std::string>{"/e", "/d", "/c", "/b"}));
  s.AddRecentFile("/c");
  EXPECT_EQ(s.recent, (std::vector<std::string>{"/c", "/e", "/d", "/b"}));
}

class SettingsFile : public testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/tobiuox-settings-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    dir_ = folder;
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(SettingsFile, LivesUnderTheConfigFolder) {
  const char* old = getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  EXPECT_EQ(SettingsPath(), dir_.string() + "/MURETAKI TobiuoX/Tobiuo X.conf");
  setenv("XDG_CONFIG_HOME", "", 1);
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(SettingsPath(), "/home/someone/.config/MURETAKI TobiuoX/Tobiuo X.conf");
  if (old)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST_F(SettingsFile, SavingCreatesAPrivateFolderAndLoadingReadsItBack) {
  const fs::path path = dir_ / "config" / "MURETAKI TobiuoX" / "Tobiuo X.conf";
  Settings s;
  s.recent = {"/x.txt"};
  s.preview_pages = 4;
  ASSERT_TRUE(SaveSettings(s, path.string()));
  EXPECT_EQ(fs::status(path.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
  const Settings back = LoadSettings(path.string());
  EXPECT_EQ(back.recent, s.recent);
  EXPECT_EQ(back.preview_pages, 4);
  EXPECT_FALSE(fs::exists(path.string() + ".new"));
}

TEST_F(SettingsFile, UnusableFilesMeanDefaultsAndAFailedWriteChangesNothing) {
  fs::create_directories(dir_ / "folder.conf");
  for (const fs::path& path : {dir_ / "missing.conf", dir_ / "folder.conf"}) {
    const Settings s = LoadSettings(path.string());
    EXPECT_TRUE(s.recent.empty()) << path;
    EXPECT_EQ(s.preview_pages, 0) << path;
  }
  Settings s;
  s.recent = {"/x.txt"};
  EXPECT_FALSE(SaveSettings(s, (dir_ / "folder.conf").string()));
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.conf"));
  // A file where the folder should be.
  std::ofstream(dir_ / "plain") << "x";
  EXPECT_FALSE(SaveSettings(s, (dir_ / "plain" / "Tobiuo X.conf").string()));
  EXPECT_EQ(ReadBytes(dir_ / "plain"), "x");
}

}  // namespace
