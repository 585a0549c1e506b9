// The form view's behaviour: the render pass, the refresh, the paging and radio handlers,
// the clipboard forwarding and the file commands, all through a Form.
#pragma once

#include <string>

#include "view/form.h"

inline constexpr const char* kAppTitle = "Tobiuo X";
inline constexpr const char* kCaptionPrefix = "Tobiuo X  ";

class CTobiuoxView {
 public:
  explicit CTobiuoxView(Form& form) : form_(form) {}

  // Draws the editor's text in the given mode (1-4) from line g_nFirstLine on.
  void RenderViewer(int mode);
  // Detects the mode (unless one was picked by hand), sets the radio buttons and draws.
  // Also the handler of every change of the editor's text.
  void RefreshViewer();
  // Every paint of the form.
  void OnDraw() { RefreshViewer(); }

  void OnUp();
  void OnDown();
  void OnRomaji() { OnRadio(MODE_ROMAJI); }
  void OnJis() { OnRadio(MODE_JIS); }
  void OnSjis() { OnRadio(MODE_SJIS); }
  void OnRawJis() { OnRadio(MODE_RAWJIS); }
  // A click on the radio button of a mode (1-4), which the platform has checked.
  void OnRadio(int mode);

  // Clipboard commands, forwarded to the editor only while it has the focus.
  void OnEditCut();
  void OnEditCopy();
  void OnEditPaste();
  void OnSetFocusEditor();
  void OnKillFocusEditor();

  // File commands. New and Open ask first when the text has unsaved changes.
  void OnFileNew();
  void OnFileOpen();
  void OnFileSave() { SaveText(); }
  void OnFileSaveAs() { SaveTextAs(); }

  // Loads a file as Open does, without the dialog or the question (a file named on the
  // command line). False, after the error message, when it cannot be read.
  bool OpenFile(const std::string& path);
  // Before the window closes: asks whether to save unsaved text. False when the user
  // cancels or the save fails.
  bool CanClose();
  // True when the editor's text differs from what was last opened, saved or made new.
  bool IsModified();

  std::string m_strEdit;  // the editor's text as of the last exchange
  std::string m_strPath;  // full path of the current text file; empty when there is none

 private:
  bool SaveText();
  bool SaveTextAs();
  bool WriteTo(const std::string& path);
  bool LoadFrom(const std::string& path);
  bool ConfirmDiscard();
  void SetCaption();

  Form& form_;
  std::string clean_text_;  // the text as last opened, saved or made new
};
