// The form: the editor, the viewer, the four radio buttons, UP, DOWN and two labels, laid
// out from the form's dialog-unit table. It implements Form for CTobiuoxView and binds the
// controls' events to the view's handlers.
#pragma once

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/scrolwin.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "app/viewer_ctrl.h"
#include "view/form.h"
#include "view/tobiuox_view.h"

// A UTF-8 std::string shown by wx; bytes that are no UTF-8 show one character each.
wxString WxFromUtf8(const std::string& text);

class CFormPanel : public wxScrolled<wxPanel>, public Form {
 public:
  // The form's size in pixels (350 x 241 dialog units).
  static wxSize FormSize();

  explicit CFormPanel(wxWindow* parent);

  CTobiuoxView& View() { return view_; }

  // Runs a handler; an exception that escapes it ends in the error message box.
  template <class F>
  void Run(F&& handler) {
    try {
      handler();
    } catch (const std::exception& e) {
      ShowError(e.what());
    }
  }

  // Form
  const std::string& GetEditorText() override;
  void SetEditorText(std::string_view text) override;
  Surface& Viewer() override { return viewer_->GetSurface(); }
  void ViewerChanged() override { viewer_->ShowSurface(); }
  void EnableButton(int id, bool enable) override;
  bool IsButtonEnabled(int id) const override;
  void SetCheck(int id, bool checked) override;
  bool IsChecked(int id) const override;
  void SetCaption(const std::string& caption) override;
  bool AskOpenPath(std::string& path) override;
  bool AskSavePath(std::string& path) override;
  void ShowError(const std::string& message) override;
  Answer AskYesNoCancel(const std::string& question) override;
  void EditorCut() override { editor_->Cut(); }
  void EditorCopy() override { editor_->Copy(); }
  void EditorPaste() override { editor_->Paste(); }

  // Stand-ins for the modal dialogs, for tests that cannot click them; unset means the
  // real dialog.
  struct DialogHooks {
    std::function<bool(bool save, std::string& path)> ask_path;
    std::function<void(const std::string& message)> show_error;
    std::function<Answer(const std::string& question)> ask;
  };
  void SetDialogHooks(DialogHooks hooks) { hooks_ = std::move(hooks); }

  wxTextCtrl* Editor() const { return editor_; }
  CViewerCtrl* ViewerControl() const { return viewer_; }
  wxButton* Button(int id) const;
  wxRadioButton* Radio(int id) const;
  // Paints of the form so far (each ran a refresh).
  int PaintCount() const { return paints_; }

 private:
  void OnDraw(wxDC& dc) override;
  void OnRadio(wxCommandEvent& event);
  bool AskPath(bool save, std::string& path);

  CTobiuoxView view_;
  wxTextCtrl* editor_ = nullptr;
  CViewerCtrl* viewer_ = nullptr;
  wxButton* up_ = nullptr;
  wxButton* down_ = nullptr;
  wxRadioButton* radios_[4] = {};
  wxRadioButton* none_ = nullptr;
  DialogHooks hooks_;
  int paints_ = 0;
  // The editor's text as CP932 bytes, kept from one change of the text to the next, so
  // that paints and the two reads of a refresh do not convert the whole text again.
  std::optional<std::string> editor_bytes_;
};
