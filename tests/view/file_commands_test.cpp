// New, Open, Save and Save As on real files, through the in-memory form.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "view_fixture.h"

namespace {

namespace fs = std::filesystem;

class FileCommandsTest : public ViewTest {
 protected:
  FileCommandsTest() {
    char templ[] = "/tmp/tobiuox-files-XXXXXX";
    dir = mkdtemp(templ);
  }
  ~FileCommandsTest() override { fs::remove_all(dir); }

  std::string Path(const std::string& name) const { return dir + "/" + name; }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string dir;
};

TEST_F(FileCommandsTest, OpenLoadsShowsAndRefreshesFromTheTop) {
  Write(Path("a.txt"), "ka\nki");
  g_nFirstLine = 3;
  form.open_paths.push_back(Path("a.txt"));
  view.OnFileOpen();
  EXPECT_EQ(form.GetEditorText(), "ka\r\nki\r\n");
  EXPECT_EQ(view.m_strEdit, "ka\r\nki\r\n");
  EXPECT_EQ(view.m_strPath, Path("a.txt"));
  EXPECT_EQ(form.Caption(), "Tobiuo X  " + Path("a.txt"));
  EXPECT_EQ(g_nFirstLine, 0);
  EXPECT_EQ(form.CheckedMode(), MODE_ROMAJI);
  EXPECT_TRUE(Wide(1, 1, 0x82, 0xA9));
  EXPECT_FALSE(view.IsModified());
}

TEST_F(FileCommandsTest, CancelledDialogsChangeNothing) {
  Edit("text");
  form.answers.push_back(Answer::kNo);
  view.OnFileOpen();  // no path queued: the dialog is cancelled
  EXPECT_EQ(form.GetEditorText(), "text");
  EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "open-dialog"), 1);
  view.OnFileSaveAs();
  EXPECT_TRUE(view.m_strPath.empty());
  EXPECT_TRUE(form.errors.empty());
}

TEST_F(FileCommandsTest, OpenOfAMissingFileShowsItsMessageAndKeepsEverything) {
  Edit("old");
  form.answers.push_back(Answer::kNo);
  form.open_paths.push_back(Path("missing.txt"));
  view.OnFileOpen();
  ASSERT_EQ(form.errors.size(), 1u);
  EXPECT_EQ(form.errors[0], Path("missing.txt") + " was not found.");
  EXPECT_EQ(form.GetEditorText(), "old");
  EXPECT_TRUE(view.m_strPath.empty());
}

TEST_F(FileCommandsTest, SaveWithoutAPathAsksForOneThenWritesThere) {
  Edit("\x82\xA0\r\nA\r\n");
  form.save_paths.push_back(Path("b.txt"));
  view.OnFileSave();
  EXPECT_EQ(Read(Path("b.txt")), "\x82\xA0\r\nA\r\n");
  EXPECT_EQ(view.m_strPath, Path("b.txt"));
  EXPECT_EQ(form.Caption(), "Tobiuo X  " + Path("b.txt"));
  Edit("changed");
  form.log.clear();
  view.OnFileSave();
  EXPECT_EQ(Read(Path("b.txt")), "changed");
  EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "save-dialog"), 0);
}

TEST_F(FileCommandsTest, OpenThenSaveRewritesTheFileByteForByte) {
  const std::string bytes =
      "\x1B$B$\"$$\x1B(B\r\n\x82\xA0\x88\x9F\r\n\x80\xA0\xFD\x82\r\n\r\nlast\r\n";
  Write(Path("c.txt"), bytes);
  form.open_paths.push_back(Path("c.txt"));
  view.OnFileOpen();
  view.OnFileSave();
  EXPECT_EQ(Read(Path("c.txt")), bytes);
}

TEST_F(FileCommandsTest, FailedSaveAsKeepsPathCaptionAndOldFile) {
  Write(Path("ro.txt"), "old");
  chmod(Path("ro.txt").c_str(), 0444);
  Edit("new");
  form.SetCaption("Tobiuo X  ");
  form.save_paths.push_back(Path("ro.txt"));
  view.OnFileSaveAs();
  ASSERT_EQ(form.errors.size(), 1u);
  EXPECT_EQ(form.errors[0], "Access to " + Path("ro.txt") + " was denied.");
  EXPECT_EQ(Read(Path("ro.txt")), "old");
  EXPECT_TRUE(view.m_strPath.empty());
  EXPECT_EQ(form.Caption(), "Tobiuo X  ");
}

TEST_F(FileCommandsTest, NewResetsPagingAndTheHandPick) {
  SetSize(100, 21);
  Edit("A\r\nB\r\nC\r\nD\r\n");
  view.OnDown();
  Click(MODE_SJIS);
  form.answers.push_back(Answer::kNo);
  view.OnFileNew();
  EXPECT_EQ(form.GetEditorText(), "");
  EXPECT_EQ(form.Caption(), "Tobiuo X  ");
  EXPECT_EQ(DotCount(), 0);
  EXPECT_EQ(g_nFirstLine, 0);
  EXPECT_EQ(g_bMore, 0);
  EXPECT_FALSE(Down());
  EXPECT_FALSE(Up());
  EXPECT_EQ(g_bPicked, 0);
  view.OnDown();  // nothing to scroll
  EXPECT_EQ(g_nFirstLine, 0);
  Edit("\x1B$B$\"");
  EXPECT_EQ(form.CheckedMode(), MODE_JIS);  // detection runs again
}

TEST_F(FileCommandsTest, OpenEndsTheHandPick) {
  Edit("ka");
  Click(MODE_SJIS);
  Write(Path("j.txt"), "\x1B$B$\"\x1B(B");
  form.answers.push_back(Answer::kNo);
  form.open_paths.push_back(Path("j.txt"));
  view.OnFileOpen();
  EXPECT_EQ(form.CheckedMode(), MODE_JIS);
  EXPECT_EQ(g_bPicked, 0);
}

TEST_F(FileCommandsTest, UnsavedTextIsNeverThrownAwayWithoutAsking) {
  Edit("draft");
  // Cancel keeps everything.
  form.answers.push_back(Answer::kCancel);
  view.OnFileNew();
  EXPECT_EQ(form.GetEditorText(), "draft");
  form.answers.push_back(Answer::kCancel);
  EXPECT_FALSE(view.CanClose());
  // Yes saves first (asking for a name), then goes on.
  form.answers.push_back(Answer::kYes);
  form.save_paths.push_back(Path("d.txt"));
  view.OnFileNew();
  EXPECT_EQ(Read(Path("d.txt")), "draft");
  EXPECT_EQ(form.GetEditorText(), "");
  // Nothing changed since New: no question.
  form.questions.clear();
  EXPECT_TRUE(view.CanClose());
  EXPECT_TRUE(form.questions.empty());
  // A save that fails keeps the window open.
  Edit("more");
  form.answers.push_back(Answer::kYes);
  form.save_paths.push_back(dir + "/no/such/folder/e.txt");
  EXPECT_FALSE(view.CanClose());
  EXPECT_EQ(form.errors.size(), 1u);
}

TEST_F(FileCommandsTest, OpenFileFromTheCommandLine) {
  Write(Path("f.txt"), "\x82\xA0");
  EXPECT_TRUE(view.OpenFile(Path("f.txt")));
  EXPECT_EQ(form.GetEditorText(), "\x82\xA0\r\n");
  EXPECT_EQ(form.Caption(), "Tobiuo X  " + Path("f.txt"));
  EXPECT_EQ(form.CheckedMode(), MODE_SJIS);
  EXPECT_FALSE(view.OpenFile(Path("none.txt")));
  EXPECT_EQ(form.errors.back(), Path("none.txt") + " was not found.");
}

}  // namespace
