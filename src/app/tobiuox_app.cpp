#include "app/tobiuox_app.h"

#include <wx/cmdline.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include <exception>

#include "app/about_dialog.h"
#include "app/form_panel.h"
#include "app/main_frame.h"
#include "view/tobiuox_view.h"

CTobiuoxApp::CTobiuoxApp() {
  SetAppName(kAppTitle);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { OnAppAbout(); }, ID_APP_ABOUT);
}

void CTobiuoxApp::OnInitCmdLine(wxCmdLineParser& parser) {
  wxApp::OnInitCmdLine(parser);
  parser.AddParam("file", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CTobiuoxApp::OnCmdLineParsed(wxCmdLineParser& parser) {
  if (parser.GetParamCount() > 0)
    file_arg_ = parser.GetParam(0);
  return wxApp::OnCmdLineParsed(parser);
}

bool CTobiuoxApp::OnInit() {
  if (!wxApp::OnInit())
    return false;  // the command line: usage shown, the program ends
  settings_path_ = SettingsPath();
  settings_ = LoadSettings(settings_path_);

  doc_ = std::make_unique<CTobiuoxDoc>();
  frame_ = new CMainFrame;
  SetTopWindow(frame_);
  doc_->OnNewDocument();

  if (!file_arg_.empty() && !OpenCommandLineFile(file_arg_)) {
    frame_->Destroy();
    frame_ = nullptr;
    return false;
  }
  frame_->SetTitle(WxFromUtf8(kCaptionPrefix + frame_->Form()->View().m_strPath));
  frame_->Show();
  frame_->ShrinkToForm();
  frame_->Update();
  return true;
}

bool CTobiuoxApp::OpenCommandLineFile(const wxString& name) {
  wxFileName file(name);
  file.MakeAbsolute();
  const std::string path = file.GetFullPath().utf8_string();
  CFormPanel* form = frame_->Form();
  bool opened = false;
  form->Run([&] { opened = form->View().OpenFile(path); });
  if (opened)
    settings_.AddRecentFile(path);
  return opened;
}

int CTobiuoxApp::OnExit() {
  SaveSettings(settings_, settings_path_);
  return wxApp::OnExit();
}

bool CTobiuoxApp::OnExceptionInMainLoop() {
  wxString message = "An unknown error occurred.";
  try {
    throw;
  } catch (const std::exception& e) {
    message = WxFromUtf8(e.what());
  } catch (...) {
  }
  wxMessageBox(message, kAppTitle, wxOK | wxICON_ERROR, GetTopWindow());
  return true;
}

void CTobiuoxApp::OnAppAbout() {
  CAboutDialog about(GetTopWindow());
  about.ShowModal();
}
