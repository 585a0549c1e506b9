#include "view/tobiuox_view.h"

#include <filesystem>

#include "decode/jis.h"
#include "decode/romaji.h"
#include "display/layout.h"
#include "view/state.h"
#include "view/text_file.h"

namespace {

// How much decoded text the layout asks for at a time. A viewer page holds a few
// thousand bytes at most, so this keeps decoding close to what is drawn.
constexpr size_t kPiece = 4096;

}  // namespace

void CTobiuoxView::RenderViewer(int mode) {
  Surface& viewer = form_.Viewer();
  viewer.Fill();
  const std::string& text = form_.GetEditorText();

  LayoutResult result;
  if (mode == MODE_ROMAJI || mode == MODE_SJIS) {
    // An empty text ends the pass here, leaving the flags and buttons as they were. A
    // non-empty text never converts to an empty one.
    if (text.empty()) {
      form_.ViewerChanged();
      return;
    }
    if (mode == MODE_SJIS) {
      LazyText lazy(text);
      result = LayOutText(lazy, g_nFirstLine, viewer);
    } else {
      RomajiReader reader(text);
      LazyText lazy([&reader](std::string& out) { return reader.Next(out, kPiece); });
      result = LayOutText(lazy, g_nFirstLine, viewer);
    }
  } else {
    // The decoder ends its output with a NUL, which ends the layout.
    JisReader reader(text, mode);
    LazyText lazy([&reader](std::string& out) { return reader.Next(out, kPiece); });
    result = LayOutText(lazy, g_nFirstLine, viewer);
  }

  g_bMore = result.more ? 1 : 0;
  form_.EnableButton(IDC_DOWN, result.more);
  if (result.up != LayoutResult::Up::kKeep) {
    form_.EnableButton(IDC_UP, result.up == LayoutResult::Up::kEnable);
  }
  g_bPicked = 1;
  form_.ViewerChanged();
}

void CTobiuoxView::RefreshViewer() {
  form_.Viewer().Fill();
  const int32_t picked = g_bPicked;
  int mode;
  if (picked == 0) {
    const std::string& text = form_.GetEditorText();
    g_nMode = DetectCode(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    mode = g_nMode;
  } else {
    // A mode picked by hand stays in force, and its button stays checked.
    mode = g_nPickedMode;
  }

  auto set_checks = [this](int checked_mode) {
    for (int m = MODE_ROMAJI; m <= MODE_RAWJIS; ++m) {
      form_.SetCheck(RadioOfMode(m), m == checked_mode);
    }
  };
  if (mode == MODE_ROMAJI) {
    set_checks(mode);
    RenderViewer(mode);
  } else if (mode >= MODE_JIS && mode <= MODE_RAWJIS) {
    RenderViewer(mode);
    set_checks(mode);
  } else {
    form_.ViewerChanged();
  }
  g_bPicked = picked;
}

void CTobiuoxView::OnUp() {
  if (g_nFirstLine > 0) {
    --g_nFirstLine;
    RefreshViewer();
  }
}

void CTobiuoxView::OnDown() {
  if (g_bMore == 1) {
    ++g_nFirstLine;
    RefreshViewer();
  }
}

void CTobiuoxView::OnRadio(int mode) {
  // The platform has checked the clicked button already.
  g_nPickedMode = mode;
  RenderViewer(mode);
}

void CTobiuoxView::OnEditCut() {
  if (g_bEditFocus == 1)
    form_.EditorCut();
}

void CTobiuoxView::OnEditCopy() {
  if (g_bEditFocus == 1)
    form_.EditorCopy();
}

void CTobiuoxView::OnEditPaste() {
  if (g_bEditFocus == 1)
    form_.EditorPaste();
}

void CTobiuoxView::OnSetFocusEditor() {
  g_bEditFocus = 1;
}

void CTobiuoxView::OnKillFocusEditor() {
  g_bEditFocus = 0;
}

void CTobiuoxView::SetCaption() {
  form_.SetCaption(kCaptionPrefix + m_strPath);
}

bool CTobiuoxView::IsModified() {
  return form_.GetEditorText() != clean_text_;
}

bool CTobiuoxView::ConfirmDiscard() {
  if (!IsModified())
    return true;
  const std::string name = m_strPath.empty() ? std::string("Untitled") : m_strPath;
  switch (form_.AskYesNoCancel("Save changes to " + name + "?")) {
    case Answer::kYes:
      return SaveText();
    case Answer::kNo:
      return true;
    case Answer::kCancel:
      break;
  }
  return false;
}

bool CTobiuoxView::CanClose() {
  return ConfirmDiscard();
}

void CTobiuoxView::OnFileNew() {
  if (!ConfirmDiscard())
    return;
  form_.Viewer().Fill();
  form_.ViewerChanged();
  form_.SetEditorText("");
  m_strPath.clear();
  SetCaption();
  g_nFirstLine = 0;
  // Nothing is left below the edge, and a mode picked by hand ends with the text.
  g_bMore = 0;
  form_.EnableButton(IDC_DOWN, false);
  form_.EnableButton(IDC_UP, false);
  g_bPicked = 0;
  clean_text_.clear();
}

void CTobiuoxView::OnFileOpen() {
  if (!ConfirmDiscard())
    return;
  std::string path;
  if (!form_.AskOpenPath(path))
    return;
  LoadFrom(path);
}

bool CTobiuoxView::OpenFile(const std::string& path) {
  return LoadFrom(std::filesystem::absolute(path).lexically_normal().string());
}

bool CTobiuoxView::LoadFrom(const std::string& path) {
  std::string text;
  const FileError error = ReadTextFile(path, text);
  if (error != FileError::kNone) {
    form_.ShowError(FileErrorMessage(error, path));
    return false;
  }
  m_strEdit = std::move(text);
  form_.SetEditorText(m_strEdit);
  m_strPath = path;
  SetCaption();
  g_nFirstLine = 0;
  g_bPicked = 0;  // a new text is read as detection finds it
  RefreshViewer();
  clean_text_ = form_.GetEditorText();
  return true;
}

bool CTobiuoxView::WriteTo(const std::string& path) {
  m_strEdit = form_.GetEditorText();
  const FileError error = WriteTextFile(path, m_strEdit);
  if (error != FileError::kNone) {
    form_.ShowError(FileErrorMessage(error, path));
    return false;
  }
  clean_text_ = m_strEdit;
  return true;
}

bool CTobiuoxView::SaveText() {
  if (m_strPath.empty())
    return SaveTextAs();
  return WriteTo(m_strPath);
}

bool CTobiuoxView::SaveTextAs() {
  std::string path;
  if (!form_.AskSavePath(path))
    return false;
  if (!WriteTo(path))
    return false;
  m_strPath = path;
  SetCaption();
  g_nFirstLine = 0;
  RefreshViewer();
  return true;
}
