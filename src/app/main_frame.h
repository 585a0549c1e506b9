// The main window: at most 640 by 442 pixels, no maximize box, no status bar or tool bar;
// the menu bar, the thirteen accelerator keys and the form as its only child.
#pragma once

#include <wx/frame.h>

class CFormPanel;

// Commands of the menus and the accelerator keys. (wx menu items need numbers below 0x7FFF,
// so these are wx's user range rather than the classic 0xE1xx command numbers.)
enum : int {
  ID_FILE_NEW = wxID_HIGHEST + 1,
  ID_FILE_OPEN,
  ID_FILE_SAVE,
  ID_FILE_SAVE_AS,
  ID_EDIT_COPY,
  ID_EDIT_CUT,
  ID_EDIT_PASTE,
  ID_EDIT_UNDO,
  ID_APP_ABOUT,
  ID_APP_EXIT,
  ID_NEXT_PANE,
  ID_PREV_PANE,
};

// The command of an accelerator key (a wx key code and its exact wxMOD_* modifiers), or 0
// when the key is none of the thirteen.
int AcceleratorCommand(int key_code, int modifiers);

class CMainFrame : public wxFrame {
 public:
  static constexpr int kMaxWidth = 640;
  static constexpr int kMaxHeight = 442;

  CMainFrame();

  CFormPanel* Form() const { return form_; }

  // Sends a command as the menu and the accelerator keys do.
  void SendCommand(int id);
  // Makes the frame smaller where its client area is larger than the form, never larger.
  void ShrinkToForm();

 private:
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
  CFormPanel* form_ = nullptr;
};
