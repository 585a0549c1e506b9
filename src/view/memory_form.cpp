#include "view/memory_form.h"

void MemoryForm::EnableButton(int id, bool enable) {
  if (id == IDC_UP)
    up_enabled_ = enable;
  if (id == IDC_DOWN)
    down_enabled_ = enable;
  Log("enable " + std::to_string(id) + (enable ? " 1" : " 0"));
}

bool MemoryForm::IsButtonEnabled(int id) const {
  if (id == IDC_UP)
    return up_enabled_;
  if (id == IDC_DOWN)
    return down_enabled_;
  return true;
}

void MemoryForm::SetCheck(int id, bool checked) {
  if (id >= IDC_ROMAJI && id <= IDC_RAWJIS)
    checked_[id - IDC_ROMAJI] = checked;
  Log("check " + std::to_string(id) + (checked ? " 1" : " 0"));
}

bool MemoryForm::IsChecked(int id) const {
  return id >= IDC_ROMAJI && id <= IDC_RAWJIS && checked_[id - IDC_ROMAJI];
}

int MemoryForm::CheckedMode() const {
  for (int m = MODE_ROMAJI; m <= MODE_RAWJIS; ++m) {
    if (checked_[m - 1])
      return m;
  }
  return 0;
}

void MemoryForm::ClickRadio(int id) {
  for (int i = 0; i < 4; ++i)
    checked_[i] = (IDC_ROMAJI + i == id);
}

bool MemoryForm::AskOpenPath(std::string& path) {
  Log("open-dialog");
  if (open_paths.empty())
    return false;
  path = open_paths.front();
  open_paths.pop_front();
  return true;
}

bool MemoryForm::AskSavePath(std::string& path) {
  Log("save-dialog");
  if (save_paths.empty())
    return false;
  path = save_paths.front();
  save_paths.pop_front();
  return true;
}

void MemoryForm::ShowError(const std::string& message) {
  Log("error");
  errors.push_back(message);
}

Answer MemoryForm::AskYesNoCancel(const std::string& question) {
  Log("question");
  questions.push_back(question);
  if (answers.empty())
    return Answer::kCancel;
  const Answer a = answers.front();
  answers.pop_front();
  return a;
}
