#include "app/main_frame.h"

#include <wx/menu.h>

#include <algorithm>

#include "app/app_icon.h"
#include "app/form_panel.h"

int AcceleratorCommand(int key_code, int modifiers) {
  const bool ctrl = modifiers == wxMOD_CONTROL;
  const bool shift = modifiers == wxMOD_SHIFT;
  const bool alt = modifiers == wxMOD_ALT;
  switch (key_code) {
    case 'N':
      return ctrl ? ID_FILE_NEW : 0;
    case 'O':
      return ctrl ? ID_FILE_OPEN : 0;
    case 'S':
      return ctrl ? ID_FILE_SAVE : 0;
    case 'Z':
      return ctrl ? ID_EDIT_UNDO : 0;
    case 'X':
      return ctrl ? ID_EDIT_CUT : 0;
    case 'C':
      return ctrl ? ID_EDIT_COPY : 0;
    case 'V':
      return ctrl ? ID_EDIT_PASTE : 0;
    case WXK_BACK:
      return alt ? ID_EDIT_UNDO : 0;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
      return shift ? ID_EDIT_CUT : 0;
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT:
      return ctrl ? ID_EDIT_COPY : shift ? ID_EDIT_PASTE : 0;
    case WXK_F6:
      return modifiers == wxMOD_NONE ? ID_NEXT_PANE : shift ? ID_PREV_PANE : 0;
    default:
      return 0;
  }
}

CMainFrame::CMainFrame()
    : wxFrame(nullptr, wxID_ANY, "Tobiuo X ", wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE & ~wxMAXIMIZE_BOX) {
  const wxSize max_size = FromDIP(wxSize(kMaxWidth, kMaxHeight));
  SetSize(max_size);
  SetMaxSize(max_size);
  SetIcons(MakeAppIcons());

  auto* file = new wxMenu;
  file->Append(ID_FILE_NEW, "&New\tCtrl+N");
  file->Append(ID_FILE_OPEN, "&Open...\tCtrl+O");
  file->Append(ID_FILE_SAVE, "&Save\tCtrl+S");
  file->Append(ID_FILE_SAVE_AS, "Save &As...");
  file->AppendSeparator();
  file->Append(ID_APP_EXIT, "E&xit");
  auto* edit = new wxMenu;
  edit->Append(ID_EDIT_CUT, "Cu&t\tCtrl+X");
  edit->Append(ID_EDIT_COPY, "&Copy\tCtrl+C");
  edit->Append(ID_EDIT_PASTE, "&Paste\tCtrl+V");
  auto* help = new wxMenu;
  help->Append(ID_APP_ABOUT, "&About Tobiuo X...");
  auto* bar = new wxMenuBar;
  bar->Append(file, "&File");
  bar->Append(edit, "&Edit");
  bar->Append(help, "&Help");
  SetMenuBar(bar);

  form_ = new CFormPanel(this);

  // The view's commands. About goes on to the application; Undo and the pane commands
  // have no handler anywhere, so their keys do nothing.
  auto bind_view = [this](int id, void (CTobiuoxView::*handler)()) {
    Bind(
        wxEVT_MENU,
        [this, handler](wxCommandEvent&) { form_->Run([&] { (form_->View().*handler)(); }); }, id);
  };
  bind_view(ID_FILE_NEW, &CTobiuoxView::OnFileNew);
  bind_view(ID_FILE_OPEN, &CTobiuoxView::OnFileOpen);
  bind_view(ID_FILE_SAVE, &CTobiuoxView::OnFileSave);
  bind_view(ID_FILE_SAVE_AS, &CTobiuoxView::OnFileSaveAs);
  bind_view(ID_EDIT_CUT, &CTobiuoxView::OnEditCut);
  bind_view(ID_EDIT_COPY, &CTobiuoxView::OnEditCopy);
  bind_view(ID_EDIT_PASTE, &CTobiuoxView::OnEditPaste);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, ID_APP_EXIT);
  Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
}

void CMainFrame::ShrinkToForm() {
  const wxSize form = form_->FromDIP(CFormPanel::FormSize());
  const wxSize client = GetClientSize();
  SetClientSize(std::min(client.x, form.x), std::min(client.y, form.y));
}

void CMainFrame::SendCommand(int id) {
  wxCommandEvent command(wxEVT_MENU, id);
  command.SetEventObject(this);
  ProcessWindowEvent(command);
}

void CMainFrame::OnCharHook(wxKeyEvent& event) {
  const int id = AcceleratorCommand(event.GetKeyCode(), event.GetModifiers());
  if (id == 0) {
    event.Skip();
    return;
  }
  // Not skipped: a key of the table never reaches the focused control.
  SendCommand(id);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  if (event.CanVeto()) {
    bool may_close = false;
    form_->Run([&] { may_close = form_->View().CanClose(); });
    if (!may_close) {
      event.Veto();
      return;
    }
  }
  Destroy();
}
