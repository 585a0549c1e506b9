// The real window under a virtual X server: start-up, typing, the accelerator keys, the
// clipboard, keyboard navigation, the About box, the settings file and Open then Save
// through the editor control. Each test acts through X events or the view's commands and
// runs the event loop before it checks.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <wx/clipbrd.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/form_panel.h"
#include "app/main_frame.h"
#include "app/settings.h"
#include "app/tobiuox_app.h"
#include "display/glyph.h"
#include "view/state.h"

wxIMPLEMENT_APP_NO_MAIN(CTobiuoxApp);

namespace {

namespace fs = std::filesystem;

fs::path g_temp;                // removed at the end of the run
std::string g_startup_caption;  // the caption as start-up left it

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs the event loop for about ms milliseconds.
void Pump(int ms = 300) {
  const wxLongLong end = wxGetLocalTimeMillis() + ms;
  while (wxGetLocalTimeMillis() < end) {
    wxYield();
    wxMilliSleep(5);
  }
}

wxPoint CentreOnScreen(wxWindow* window) {
  return window->ClientToScreen(
      wxPoint(window->GetClientSize().x / 2, window->GetClientSize().y / 2));
}

bool IsBlack(const wxImage& image, int x, int y) {
  return image.GetRed(x, y) == 0 && image.GetGreen(x, y) == 0 && image.GetBlue(x, y) == 0;
}

bool IsGround(const wxImage& image, int x, int y) {
  return image.GetRed(x, y) == kGroundRgb[0] && image.GetGreen(x, y) == kGroundRgb[1] &&
         image.GetBlue(x, y) == kGroundRgb[2];
}

struct Cell {
  int x, y;
  const Glyph& glyph;
};

// Checks the whole viewer image: black exactly at the set dots of the cells' double-byte
// glyphs, the ground colour everywhere else.
void ExpectViewerShows(const wxImage& image, const std::vector<Cell>& cells) {
  int wrong = 0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      bool dot = false;
      for (const Cell& c : cells) {
        const int col = x - c.x, row = y - c.y;
        if (col >= 0 && col < 12 && row >= 0 && row < 10) {
          dot = (c.glyph.rows[row] >> (15 - col)) & 1;
        }
      }
      if (dot ? !IsBlack(image, x, y) : !IsGround(image, x, y))
        ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0) << "wrong pixels in the viewer";
}

class GuiTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = wxGetApp().Frame();
    ASSERT_NE(frame_, nullptr);
    form_ = frame_->Form();
    editor_ = form_->Editor();
    CFormPanel::DialogHooks hooks;
    hooks.ask = [](const std::string&) { return Answer::kNo; };
    hooks.show_error = [this](const std::string& message) { errors_.push_back(message); };
    form_->SetDialogHooks(hooks);
    form_->View().OnFileNew();
    FocusEditor();
  }

  void FocusEditor() {
    frame_->Show();
    frame_->Raise();
    sim_.MouseMove(CentreOnScreen(editor_));
    editor_->SetFocus();
    Pump();
  }

  // Puts text into the editor as a user's paste would: one change, reported.
  void TypeAtOnce(const wxString& text) {
    editor_->WriteText(text);
    Pump(100);
  }

  CMainFrame* frame_ = nullptr;
  CFormPanel* form_ = nullptr;
  wxTextCtrl* editor_ = nullptr;
  wxUIActionSimulator sim_;
  std::vector<std::string> errors_;
};

TEST_F(GuiTest, StartsWithItsCaptionAndFitsTheFrameToTheForm) {
  EXPECT_EQ(g_startup_caption, "Tobiuo X  ");
  EXPECT_EQ(frame_->GetMaxSize(), wxSize(640, 442));
  EXPECT_FALSE(frame_->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_EQ(frame_->GetClientSize(), wxSize(525, 392));
  EXPECT_EQ(form_->ViewerControl()->GetSize(), wxSize(312, 353));
  EXPECT_EQ(form_->Viewer().Width(), 310);
  EXPECT_EQ(form_->Viewer().Height(), 351);
  // Dragging cannot make the window larger than its cap.
  frame_->SetSize(900, 700);
  Pump();
  EXPECT_LE(frame_->GetSize().x, 640);
  EXPECT_LE(frame_->GetSize().y, 442);
  frame_->ShrinkToForm();
  Pump();
  EXPECT_EQ(frame_->GetClientSize(), wxSize(525, 392));
}

TEST_F(GuiTest, NoButtonIsCheckedOrEnabledUntilTheFirstPaint) {
  // A second window of the same kind, looked at before and after it is shown.
  auto* frame = new CMainFrame;
  CFormPanel* form = frame->Form();
  for (int id = IDC_ROMAJI; id <= IDC_RAWJIS; ++id)
    EXPECT_FALSE(form->IsChecked(id)) << id;
  EXPECT_FALSE(form->IsButtonEnabled(IDC_UP));
  EXPECT_FALSE(form->IsButtonEnabled(IDC_DOWN));
  frame->Show();
  Pump();
  EXPECT_GT(form->PaintCount(), 0);
  EXPECT_TRUE(form->IsChecked(IDC_ROMAJI));
  frame->Destroy();
  Pump(100);
}

TEST_F(GuiTest, TypingRomajiDrawsKanaInTheViewer) {
  sim_.Text("kya");
  Pump();
  EXPECT_EQ(form_->GetEditorText(), "kya");
  EXPECT_TRUE(form_->IsChecked(IDC_ROMAJI));
  ExpectViewerShows(form_->ViewerControl()->GetImage(),
                    {{1, 1, WideGlyph(0x82, 0xAB)}, {13, 1, WideGlyph(0x82, 0xE1)}});
}

TEST_F(GuiTest, PaintsRefreshOnceAndDoNotLoop) {
  // A text set by the program raises no refresh; the next paint of the form runs one.
  form_->SetEditorText("\x82\xa0");  // あ in Shift-JIS
  Pump();
  EXPECT_FALSE(form_->IsChecked(IDC_SJIS));
  const int before = form_->PaintCount();
  form_->Refresh();
  Pump();
  EXPECT_GT(form_->PaintCount(), before);
  EXPECT_TRUE(form_->IsChecked(IDC_SJIS));
  EXPECT_FALSE(form_->IsChecked(IDC_ROMAJI));
  ExpectViewerShows(form_->ViewerControl()->GetImage(), {{1, 1, WideGlyph(0x82, 0xA0)}});
  // Left alone, the form does not paint again.
  const int settled = form_->PaintCount();
  Pump(500);
  EXPECT_EQ(form_->PaintCount(), settled);
}

TEST_F(GuiTest, ARadioClickChecksOnlyItself) {
  TypeAtOnce("kya");
  sim_.MouseMove(CentreOnScreen(form_->Radio(IDC_JIS)));
  sim_.MouseClick();
  Pump();
  for (int id = IDC_ROMAJI; id <= IDC_RAWJIS; ++id) {
    EXPECT_EQ(form_->IsChecked(id), id == IDC_JIS) << id;
  }
  EXPECT_EQ(g_nPickedMode, MODE_JIS);
}

TEST_F(GuiTest, ControlsRedrawingThemselvesRunNoRefresh) {
  // A click on "S-JIS" with an empty editor picks nothing, so the next refresh would check
  // "Roma-ji" again; the redraw of the clicked button and the editor is no such refresh.
  Pump(300);
  sim_.MouseMove(CentreOnScreen(form_->Radio(IDC_SJIS)));
  sim_.MouseClick();
  Pump(700);
  EXPECT_TRUE(form_->IsChecked(IDC_SJIS));
  EXPECT_FALSE(form_->IsChecked(IDC_ROMAJI));
  EXPECT_EQ(g_bPicked, 0);
  // New keeps the buttons as they were until a refresh.
  TypeAtOnce("$\"");
  sim_.MouseMove(CentreOnScreen(form_->Radio(IDC_RAWJIS)));
  sim_.MouseClick();
  Pump(300);
  ASSERT_TRUE(form_->IsChecked(IDC_RAWJIS));
  FocusEditor();
  sim_.Char('n', wxMOD_CONTROL);
  Pump(700);
  EXPECT_EQ(form_->GetEditorText(), "");
  EXPECT_TRUE(form_->IsChecked(IDC_RAWJIS));
  // A real exposure of the form (the window uncovered) refreshes, by the refresh's rules.
  form_->Refresh();
  Pump(300);
  EXPECT_TRUE(form_->IsChecked(IDC_ROMAJI));
  EXPECT_FALSE(form_->IsChecked(IDC_RAWJIS));
}

TEST_F(GuiTest, TheTablesKeysNeverReachTheEditor) {
  sim_.Text("kya");
  sim_.Char(WXK_RETURN);  // Enter makes a line break
  Pump();
  ASSERT_EQ(form_->GetEditorText(), "kya\r\n");
  sim_.Char('z', wxMOD_CONTROL);
  sim_.Char(WXK_BACK, wxMOD_ALT);
  sim_.Char(WXK_F6);
  sim_.Char(WXK_F6, wxMOD_SHIFT);
  Pump();
  EXPECT_EQ(form_->GetEditorText(), "kya\r\n");
  EXPECT_EQ(wxWindow::FindFocus(), editor_);
}

TEST(Accelerators, MapExactlyTheirKeys) {
  const struct {
    int key, modifiers, command;
  } cases[] = {
      {'N', wxMOD_CONTROL, ID_FILE_NEW},
      {'O', wxMOD_CONTROL, ID_FILE_OPEN},
      {'S', wxMOD_CONTROL, ID_FILE_SAVE},
      {'Z', wxMOD_CONTROL, ID_EDIT_UNDO},
      {'X', wxMOD_CONTROL, ID_EDIT_CUT},
      {'C', wxMOD_CONTROL, ID_EDIT_COPY},
      {'V', wxMOD_CONTROL, ID_EDIT_PASTE},
      {WXK_BACK, wxMOD_ALT, ID_EDIT_UNDO},
      {WXK_DELETE, wxMOD_SHIFT, ID_EDIT_CUT},
      {WXK_INSERT, wxMOD_CONTROL, ID_EDIT_COPY},
      {WXK_INSERT, wxMOD_SHIFT, ID_EDIT_PASTE},
      {WXK_F6, wxMOD_NONE, ID_NEXT_PANE},
      {WXK_F6, wxMOD_SHIFT, ID_PREV_PANE},
      // Other modifiers make other keys.
      {'C', wxMOD_CONTROL | wxMOD_SHIFT, 0},
      {'C', wxMOD_NONE, 0},
      {WXK_BACK, wxMOD_NONE, 0},
      {WXK_DELETE, wxMOD_NONE, 0},
      {WXK_INSERT, wxMOD_NONE, 0},
      {WXK_F6, wxMOD_CONTROL, 0},
      {'A', wxMOD_CONTROL, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AcceleratorCommand(c.key, c.modifiers), c.command) << c.key << " " << c.modifiers;
  }
}

TEST_F(GuiTest, ClipboardKeysWorkOnlyWhileTheEditorHasTheFocus) {
  TypeAtOnce("kya");
  ASSERT_EQ(g_bEditFocus, 1);
  editor_->SetSelection(-1, -1);
  sim_.Char('c', wxMOD_CONTROL);
  Pump();
  editor_->SetInsertionPointEnd();
  sim_.Char('v', wxMOD_CONTROL);
  Pump();
  EXPECT_EQ(form_->GetEditorText(), "kyakya");
  // The paste redrew the viewer.
  const Glyph& ki = WideGlyph(0x82, 0xAB);
  const Glyph& ya = WideGlyph(0x82, 0xE1);
  ExpectViewerShows(form_->ViewerControl()->GetImage(),
                    {{1, 1, ki}, {13, 1, ya}, {25, 1, ki}, {37, 1, ya}});
  editor_->SetSelection(0, 3);
  sim_.Char(WXK_DELETE, wxMOD_SHIFT);  // cut
  Pump();
  EXPECT_EQ(form_->GetEditorText(), "kya");
  sim_.Char(WXK_INSERT, wxMOD_SHIFT);  // paste
  Pump();
  EXPECT_EQ(form_->GetEditorText(), "kyakya");

  // Focus on DOWN: enough lines to fill the viewer enable it.
  wxString lines;
  for (int i = 0; i < 60; ++i)
    lines += "a\n";
  editor_->ChangeValue(wxString());
  TypeAtOnce(lines);
  ASSERT_TRUE(form_->IsButtonEnabled(IDC_DOWN));
  form_->Button(IDC_DOWN)->SetFocus();
  Pump();
  ASSERT_EQ(g_bEditFocus, 0);
  {
    wxClipboardLocker lock;
    wxTheClipboard->SetData(new wxTextDataObject("zzz"));
  }
  editor_->SetSelection(0, 2);
  sim_.Char('v', wxMOD_CONTROL);
  sim_.Char('x', wxMOD_CONTROL);
  sim_.Char('c', wxMOD_CONTROL);
  frame_->SendCommand(ID_EDIT_PASTE);  // the menu's Paste as well
  Pump();
  EXPECT_EQ(editor_->GetValue(), lines);
  wxTextDataObject data;
  {
    wxClipboardLocker lock;
    ASSERT_TRUE(wxTheClipboard->GetData(data));
  }
  EXPECT_EQ(data.GetText(), "zzz");
}

TEST_F(GuiTest, TabReachesOnlyTheEditorAndEnabledPagingButtons) {
  auto tab_to = [this]() {
    sim_.Char(WXK_TAB);
    Pump(150);
    return wxWindow::FindFocus();
  };
  EXPECT_EQ(tab_to(), editor_);           // UP and DOWN disabled: nowhere else to go
  EXPECT_EQ(form_->GetEditorText(), "");  // and no tab character typed
  wxString lines;
  for (int i = 0; i < 60; ++i)
    lines += "a\n";
  TypeAtOnce(lines);
  form_->View().OnDown();
  Pump();
  ASSERT_TRUE(form_->IsButtonEnabled(IDC_UP));
  ASSERT_TRUE(form_->IsButtonEnabled(IDC_DOWN));
  EXPECT_EQ(tab_to(), form_->Button(IDC_UP));
  EXPECT_EQ(tab_to(), form_->Button(IDC_DOWN));
  EXPECT_EQ(tab_to(), editor_);
}

TEST_F(GuiTest, AboutBoxShowsItsTextsAndClosesWithEscape) {
  std::vector<wxString> texts;
  wxString title;
  bool escaped = true;
  wxTimer look, rescue;
  look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    auto* dialog = wxDynamicCast(wxGetTopLevelParent(wxWindow::FindFocus()), wxDialog);
    if (!dialog)
      return;
    title = dialog->GetTitle();
    for (wxWindow* child : dialog->GetChildren()) {
      if (auto* text = wxDynamicCast(child, wxStaticText))
        texts.push_back(text->GetLabel());
    }
    sim_.MouseMove(CentreOnScreen(dialog));
    sim_.Char(WXK_ESCAPE);
  });
  rescue.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    escaped = false;
    for (wxWindow* w : wxTopLevelWindows) {
      if (auto* dialog = wxDynamicCast(w, wxDialog); dialog && dialog->IsModal()) {
        dialog->EndModal(wxID_CANCEL);
      }
    }
  });
  look.StartOnce(500);
  rescue.StartOnce(4000);
  frame_->SendCommand(ID_APP_ABOUT);  // returns when the box has closed
  rescue.Stop();
  EXPECT_TRUE(escaped);
  EXPECT_EQ(title, "About Tobiuo X");
  EXPECT_EQ(texts, (std::vector<wxString>{kAboutVersion, kAboutRights, kAboutContact, kAboutWeb}));
}

TEST_F(GuiTest, OpenThenSaveRewritesFilesByteForByte) {
  std::string odd = "odd\r\n\x80\xa0\xfd\xfe\xff\r\n\x82\r\n\xed\x40\x87\x90\r\na\rb\r\r\n";
  for (char c = 1; c < 0x20; ++c) {
    if (c != '\n' && c != '\r' && c != 0x1A)
      odd += c;
  }
  odd += "\x81\x7f\x82\r\n";
  const struct {
    const char* name;
    std::string bytes;
  } fixtures[] = {
      {"sjis.txt",
       "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\r\n"
       "\xb6\xc0\xb6\xc5 \\ ~\r\n\r\n\x87\x40\xfa\x5c\r\n"},
      {"iso2022jp.txt", "\x1b$B$3$s$K$A$O\x1b(B hello\r\n\x1b$B4A;z\x1b(J\r\n"},
      {"odd.txt", odd},
  };
  for (const auto& f : fixtures) {
    SCOPED_TRACE(f.name);
    const fs::path in = g_temp / f.name;
    const fs::path out = g_temp / (std::string("saved-") + f.name);
    WriteBytes(in, f.bytes);
    ASSERT_TRUE(form_->View().OpenFile(in.string()));
    Pump(100);
    EXPECT_EQ(frame_->GetTitle(), wxString("Tobiuo X  ") + in.string());
    form_->View().m_strPath = out.string();
    form_->View().OnFileSave();
    EXPECT_EQ(ReadBytes(out), f.bytes);
  }
  EXPECT_TRUE(errors_.empty());
  // The Shift-JIS text reads as Japanese in the editor.
  form_->View().OpenFile((g_temp / "sjis.txt").string());
  EXPECT_TRUE(editor_->GetValue().StartsWith(L"\x65E5\x672C\x8A9E"));  // 日本語
}

TEST_F(GuiTest, CommandLineFileAndSettingsWrittenAtExit) {
  // Start-up read the seeded file; the broken line and the unknown key did no harm.
  Settings& settings = wxGetApp().GetSettings();
  EXPECT_EQ(settings.recent, (std::vector<std::string>{"/old/one.txt", "/old/three.txt"}));
  EXPECT_EQ(settings.preview_pages, 3);

  const fs::path file = g_temp / "named.txt";
  WriteBytes(file, "kya\r\n");
  ASSERT_TRUE(wxGetApp().OpenCommandLineFile(file.string()));
  EXPECT_EQ(frame_->GetTitle(), wxString("Tobiuo X  ") + file.string());
  EXPECT_EQ(form_->GetEditorText(), "kya\r\n");
  EXPECT_FALSE(wxGetApp().OpenCommandLineFile((g_temp / "missing.txt").string()));
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], (g_temp / "missing.txt").string() + " was not found.");

  // What exit writes: the section cleared, the list most recent first.
  ASSERT_TRUE(SaveSettings(settings, wxGetApp().GetSettingsPath()));
  const std::string written = ReadBytes(wxGetApp().GetSettingsPath());
  EXPECT_EQ(written,
            "[Recent File List]\nFile1=" + file.string() +
                "\nFile2=/old/one.txt\nFile3=/old/three.txt\n[Settings]\nPreviewPages=3\n");
}

TEST_F(GuiTest, ScreenshotOfTheWindow) {
  // The bundled sample, as the program starts with it: saved for a look by eye.
  ASSERT_TRUE(wxGetApp().OpenCommandLineFile(TOBIUOX_SAMPLE));
  frame_->Raise();
  Pump(500);
  const wxRect rect = frame_->GetScreenRect();
  wxBitmap shot(rect.width, rect.height);
  {
    wxMemoryDC memory(shot);
    wxScreenDC screen;
    memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
  }
  const std::string path = std::string(TOBIUOX_ARTIFACT_DIR) + "/tobiuox-window.png";
  EXPECT_TRUE(shot.SaveFile(path, wxBITMAP_TYPE_PNG)) << path;
  EXPECT_TRUE(form_->IsChecked(IDC_SJIS));
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  char folder[] = "/tmp/tobiuox-gui-XXXXXX";
  if (!mkdtemp(folder))
    return 2;
  g_temp = folder;
  // Settings of this run only, with a list and a value to read at start-up.
  setenv("XDG_CONFIG_HOME", (g_temp / "config").c_str(), 1);
  fs::create_directories(g_temp / "config" / "MURETAKI TobiuoX");
  WriteBytes(g_temp / "config" / "MURETAKI TobiuoX" / "Tobiuo X.conf",
             "[Recent File List]\nFile1=/old/one.txt\nFile2=\nFile3=/old/three.txt\n"
             "File7=/old/seven.txt\nnot a setting\n[Settings]\nPreviewPages=3\n");

  // A failed wx assertion fails the test that caused it instead of opening a dialog.
  wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond,
                        const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion " << cond << ": " << msg;
  });
  wxApp::SetInstance(new CTobiuoxApp);
  int wx_argc = 1;
  char* wx_argv[] = {argv[0], nullptr};
  if (!wxEntryStart(wx_argc, wx_argv))
    return 2;
  delete wxLog::SetActiveTarget(new wxLogStderr);  // no message box may block a test
  wxInitAllImageHandlers();
  if (!wxTheApp->CallOnInit())
    return 2;
  g_startup_caption = wxGetApp().Frame()->GetTitle().utf8_string();

  const int result = RUN_ALL_TESTS();

  wxGetApp().Frame()->Destroy();
  Pump(100);
  wxTheApp->OnExit();
  wxEntryCleanup();
  fs::remove_all(g_temp);
  return result;
}
