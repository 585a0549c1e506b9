// A form that lives in memory: the command-line tool draws through it, and the tests
// drive the view through it and read what the view did to it.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "view/form.h"

class MemoryForm : public Form {
 public:
  MemoryForm(int viewer_width, int viewer_height) : viewer_(viewer_width, viewer_height) {}

  const std::string& GetEditorText() override { return editor_; }
  void SetEditorText(std::string_view text) override { editor_.assign(text); }

  Surface& Viewer() override { return viewer_; }
  void ViewerChanged() override { Log("draw"); }

  void EnableButton(int id, bool enable) override;
  bool IsButtonEnabled(int id) const override;
  void SetCheck(int id, bool checked) override;
  bool IsChecked(int id) const override;
  // The mode whose radio button is checked, 0 when none is.
  int CheckedMode() const;
  // A click on a radio button checks it and unchecks the others, as the platform does.
  void ClickRadio(int id);

  void SetCaption(const std::string& caption) override { caption_ = caption; }
  const std::string& Caption() const { return caption_; }

  // Dialogs answer from queues that a test fills; an empty queue means Cancel.
  bool AskOpenPath(std::string& path) override;
  bool AskSavePath(std::string& path) override;
  void ShowError(const std::string& message) override;
  Answer AskYesNoCancel(const std::string& question) override;

  void EditorCut() override { Log("cut"); }
  void EditorCopy() override { Log("copy"); }
  void EditorPaste() override { Log("paste"); }

  std::deque<std::string> open_paths;
  std::deque<std::string> save_paths;
  std::deque<Answer> answers;
  std::vector<std::string> errors;     // messages shown
  std::vector<std::string> questions;  // questions asked
  // What the view did to the form, in order: "check <id> <0|1>", "enable <id> <0|1>",
  // "draw", "cut", "copy", "paste", "open-dialog", "save-dialog", "error", "question".
  std::vector<std::string> log;

 private:
  void Log(std::string entry) { log.push_back(std::move(entry)); }

  std::string editor_;
  Surface viewer_;
  bool up_enabled_ = false;
  bool down_enabled_ = false;
  bool checked_[4] = {false, false, false, false};
  std::string caption_;
};
