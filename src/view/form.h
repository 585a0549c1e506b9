// The seam between the form view's behaviour and the platform that shows it: the editor,
// the viewer, the buttons, the caption, the dialogs and the clipboard. The wx GUI and the
// in-memory forms of the CLI and the tests implement it.
#pragma once

#include <string>
#include <string_view>

#include "display/surface.h"

// Control numbers of the form.
enum : int {
  IDC_EDITOR = 1000,
  IDC_VIEWER = 1001,
  IDC_UP = 1002,
  IDC_DOWN = 1003,
  IDC_ROMAJI = 1007,
  IDC_JIS = 1008,
  IDC_SJIS = 1009,
  IDC_RAWJIS = 1010,
};

// How the editor's bytes are read; the radio buttons in this order.
enum : int { MODE_ROMAJI = 1, MODE_JIS = 2, MODE_SJIS = 3, MODE_RAWJIS = 4 };

// The radio button of a mode (1-4), and the mode of a radio button.
inline int RadioOfMode(int mode) {
  return IDC_ROMAJI + mode - 1;
}

enum class Answer { kYes, kNo, kCancel };

class Form {
 public:
  virtual ~Form() = default;

  // The editor's whole text: Shift-JIS bytes, lines ended by CR LF. Valid until the text
  // changes.
  virtual const std::string& GetEditorText() = 0;
  // Replaces the editor's whole text. Raises no change notification.
  virtual void SetEditorText(std::string_view text) = 0;

  // The viewer's surface, sized to the viewer's client area in dots.
  virtual Surface& Viewer() = 0;
  // The surface has been drawn on: show it.
  virtual void ViewerChanged() {}

  // UP (IDC_UP) and DOWN (IDC_DOWN).
  virtual void EnableButton(int id, bool enable) = 0;
  virtual bool IsButtonEnabled(int id) const = 0;
  // The radio buttons IDC_ROMAJI..IDC_RAWJIS. Setting a check never raises a click.
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool IsChecked(int id) const = 0;

  // The main window's caption.
  virtual void SetCaption(const std::string& caption) = 0;

  // The file dialogs ("txt" default extension, "*.txt" initial name, the text and all-files
  // filters; the save dialog confirms an overwrite). True with a full path on OK.
  virtual bool AskOpenPath(std::string& path) = 0;
  virtual bool AskSavePath(std::string& path) = 0;
  // A message box titled "Tobiuo X" with a stop icon and OK.
  virtual void ShowError(const std::string& message) = 0;
  // A question titled "Tobiuo X" with Yes, No and Cancel.
  virtual Answer AskYesNoCancel(const std::string& question) = 0;

  // The editor's own clipboard operations.
  virtual void EditorCut() = 0;
  virtual void EditorCopy() = 0;
  virtual void EditorPaste() = 0;
};
