// The refresh: detection, the radio checks and their timing, paging, the hand-picked
// mode, and the clipboard commands that go to the editor only while it has the focus.
#include <algorithm>
#include <string>
#include <vector>

#include "display/layout.h"
#include "view_fixture.h"

namespace {

using RefreshTest = ViewTest;

int Detect(const std::string& s) {
  return DetectCode(reinterpret_cast<const unsigned char*>(s.data()), s.size());
}

TEST(DetectCode, FirstEscOrLeadByteDecides) {
  struct Case {
    std::string text;
    int mode;
  } cases[] = {
      {"", 1},
      {"konnichiha\r\n", 1},
      {"\xB1\xB2\xDF abc", 1},   // half-width katakana are no lead bytes
      {"\xEB\xFC\x80\xA0", 1},   // nor are these
      {"abc\x1B$B\x82\xA0", 2},  // ESC first, Shift-JIS after it
      {"abc\x82\xA0\x1B$B", 3},  // lead byte first
      {"\x81\x1B", 3},           // the lead byte is not paired
      {"\xEA\x40", 3},
      {std::string("a\0\x1B", 3), 2},  // the length counts, not a NUL
  };
  for (const Case& c : cases)
    EXPECT_EQ(Detect(c.text), c.mode) << c.text;
}

TEST_F(RefreshTest, EmptyEditorChecksRomajiAndDrawsNothing) {
  Edit("");
  EXPECT_EQ(g_nMode, MODE_ROMAJI);
  EXPECT_EQ(form.CheckedMode(), MODE_ROMAJI);
  EXPECT_EQ(DotCount(), 0);
  EXPECT_EQ(g_bPicked, 0);
  EXPECT_FALSE(Up());
  EXPECT_FALSE(Down());
}

// The log entries from the last refresh on: checks and the drawing, in order.
std::vector<std::string> ChecksAndDraws(const std::vector<std::string>& log) {
  std::vector<std::string> out;
  for (const std::string& e : log) {
    if (e.rfind("check", 0) == 0 || e == "draw")
      out.push_back(e);
  }
  return out;
}

TEST_F(RefreshTest, ChecksGoInButtonOrderBeforeTheDrawInMode1AfterItOtherwise) {
  struct Case {
    std::string text;
    std::vector<std::string> expected;
  } cases[] = {
      {"ka", {"check 1007 1", "check 1008 0", "check 1009 0", "check 1010 0", "draw"}},
      {"\x1B$B$\"", {"draw", "check 1007 0", "check 1008 1", "check 1009 0", "check 1010 0"}},
      {"\x82\xA0", {"draw", "check 1007 0", "check 1008 0", "check 1009 1", "check 1010 0"}},
  };
  for (const Case& c : cases) {
    form.log.clear();
    Edit(c.text);
    EXPECT_EQ(ChecksAndDraws(form.log), c.expected) << c.text;
  }
}

TEST_F(RefreshTest, RefreshKeepsThePickedFlagAndNeverChecksRawJis) {
  form.ClickRadio(IDC_RAWJIS);  // checked by hand, but no pass ran: nothing is picked
  Edit("\x1B$B$\"");
  EXPECT_EQ(g_bPicked, 0);
  EXPECT_EQ(form.CheckedMode(), MODE_JIS);
  EXPECT_TRUE(Wide(1, 1, 0x82, 0xA0));
}

TEST_F(RefreshTest, UpAtTheTopAndDownWithoutMoreDoNothing) {
  Edit("ka");
  form.log.clear();
  form.Viewer().Dot(50, 50);  // anything drawn would clear this
  view.OnUp();
  view.OnDown();
  EXPECT_TRUE(form.log.empty());
  EXPECT_EQ(g_nFirstLine, 0);
  EXPECT_TRUE(form.Viewer().IsDot(50, 50));
}

TEST_F(RefreshTest, PagingByLogicalLines) {
  SetSize(100, 21);  // two lines
  Edit("1\r\n2\r\n3\r\n4");
  EXPECT_EQ(g_bMore, 1);
  EXPECT_TRUE(Down());
  EXPECT_FALSE(Up());
  view.OnDown();
  EXPECT_EQ(g_nFirstLine, 1);
  EXPECT_TRUE(Narrow(1, 1, '2'));
  EXPECT_TRUE(Up());
  EXPECT_TRUE(Down());
  view.OnDown();  // "3" and "4" fit
  EXPECT_EQ(g_nFirstLine, 2);
  EXPECT_FALSE(Down());
  view.OnDown();
  EXPECT_EQ(g_nFirstLine, 2);
  view.OnUp();
  view.OnUp();
  EXPECT_EQ(g_nFirstLine, 0);
  EXPECT_FALSE(Up());
  EXPECT_TRUE(Narrow(1, 1, '1'));
}

TEST_F(RefreshTest, AnEditKeepsTheScrollPosition) {
  SetSize(100, 21);
  Edit("1\r\n2\r\n3\r\n");
  view.OnDown();
  Edit("X\r\nY\r\nZ\r\n");
  EXPECT_EQ(g_nFirstLine, 1);
  EXPECT_TRUE(Narrow(1, 1, 'Y'));
}

TEST_F(RefreshTest, RadioClickOnAnEmptyEditor) {
  struct Case {
    int mode;
    int picked;
  } cases[] = {{MODE_ROMAJI, 0}, {MODE_JIS, 1}, {MODE_SJIS, 0}, {MODE_RAWJIS, 1}};
  for (const Case& c : cases) {
    ResetState();
    form.SetEditorText("");
    Click(c.mode);
    EXPECT_EQ(g_bPicked, c.picked) << c.mode;
    EXPECT_EQ(g_nMode, 0);  // a click does not detect
  }
}

TEST_F(RefreshTest, AHandPickedModeStaysInForce) {
  Edit("$\"$$");  // detected as romaji
  EXPECT_EQ(form.CheckedMode(), MODE_ROMAJI);
  Click(MODE_RAWJIS);
  EXPECT_EQ(g_bPicked, 1);
  EXPECT_TRUE(Wide(1, 1, 0x82, 0xA0));
  // Edits, paints and paging draw in the picked mode with its button checked.
  Edit("$\"$$$&");
  EXPECT_EQ(form.CheckedMode(), MODE_RAWJIS);
  EXPECT_TRUE(Wide(25, 1, 0x82, 0xA4));
  view.OnDraw();
  EXPECT_EQ(form.CheckedMode(), MODE_RAWJIS);
  EXPECT_EQ(g_nMode, MODE_ROMAJI);  // detection has not run again
  // Another click moves the pick, even on text that would be detected otherwise.
  Edit("\x82\xA0");
  Click(MODE_ROMAJI);
  Edit("ka\x82\xA0");
  EXPECT_EQ(form.CheckedMode(), MODE_ROMAJI);
  EXPECT_TRUE(Wide(1, 1, 0x82, 0xA9));  // か
}

TEST_F(RefreshTest, AClickBeforeAnyDetectionStillDraws) {
  form.SetEditorText("\x1B$B$\"");
  Click(MODE_SJIS);
  Edit("\x1B$B$\"$$");
  EXPECT_EQ(form.CheckedMode(), MODE_SJIS);
  EXPECT_TRUE(Narrow(1, 1, 0x1B));
}

TEST_F(RefreshTest, ClipboardGoesToTheEditorOnlyWithTheFocus) {
  view.OnEditCut();
  view.OnEditCopy();
  view.OnEditPaste();
  EXPECT_TRUE(form.log.empty());
  view.OnSetFocusEditor();
  view.OnEditCut();
  view.OnEditCopy();
  view.OnEditPaste();
  EXPECT_EQ(form.log, (std::vector<std::string>{"cut", "copy", "paste"}));
  view.OnKillFocusEditor();
  form.log.clear();
  view.OnEditPaste();
  EXPECT_TRUE(form.log.empty());
}

}  // namespace
