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

bool CTobiuoxApp::OnInit() {
  if (!wxApp::OnInit())
    return false;  // the command line: usage shown, the program ends
  settings_path_ = SettingsPath();
  settings_ = LoadSettings(settings_path_);

  doc_ = std::make_unique<CTobiuoxDoc>();
  frame_ = new CMainFrame;
  SetTopWindow(frame_);
  doc_->OnNewDocument();

  if (!s_command_line_file.empty() && !OpenCommandLineFile(s_command_line_file)) {
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

bool CTobiuoxApp::OpenCommandLineFile(const std::string& name) {
  CFormPanel* form = frame_->Form();
  bool opened = false;
  form->Run([&] { opened = form->View().OpenFile(name); });  // made a full path there
  if (opened)
    settings_.AddRecentFile(form->View().m_strPath);
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
