#include "app/form_panel.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include <algorithm>

#include "app/cp932_codec.h"
#include "app/dialog_units.h"

namespace {

// The form's controls with their texts, in the order of the template: the z-order and the
// order of keyboard navigation.
constexpr DluRect kFormDlu{0, 0, 350, 241};
constexpr DluRect kEditorDlu{7, 27, 128, 207};
constexpr DluRect kViewerDlu{135, 18, 208, 217};
constexpr DluRect kViewerLabelDlu{151, 7, 65, 8};
constexpr DluRect kUpDlu{222, 7, 51, 11};
constexpr DluRect kDownDlu{275, 7, 50, 11};
constexpr DluRect kRomajiDlu{45, 7, 38, 8};
constexpr DluRect kJisDlu{45, 17, 25, 8};
constexpr DluRect kSjisDlu{95, 7, 34, 8};
constexpr DluRect kRawJisDlu{95, 17, 32, 8};
constexpr DluRect kEditorLabelDlu{7, 7, 31, 10};

// "*" shows every file, as "*.*" does on other systems; GTK's "*.*" wants a dot.
constexpr const char* kFileWildcard = "Text(*.txt)|*.txt|All Files(*.*)|*";

}  // namespace

wxString WxFromUtf8(const std::string& text) {
  wxString s = wxString::FromUTF8(text.data(), text.size());
  if (s.empty() && !text.empty())
    s = wxString(text.data(), wxConvISO8859_1, text.size());
  return s;
}

wxSize CFormPanel::FormSize() {
  const PxRect r = DluToPx(kFormDlu);
  return wxSize(r.w, r.h);
}

CFormPanel::CFormPanel(wxWindow* parent) : view_(*this) {
  Create(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxBORDER_NONE);
  // The form's own font: every control inherits it.
  SetFont(wxFont(wxFontInfo(8)));
  SetVirtualSize(FromDIP(FormSize()));
  SetScrollRate(FromDIP(8), FromDIP(8));

  auto place = [this](DluRect dlu) {
    const PxRect r = DluToPx(dlu);
    return std::pair{FromDIP(wxPoint(r.x, r.y)), FromDIP(wxSize(r.w, r.h))};
  };
  auto [editor_pos, editor_size] = place(kEditorDlu);
  editor_ = new wxTextCtrl(this, IDC_EDITOR, wxString(), editor_pos, editor_size,
                           wxTE_MULTILINE | wxTE_DONTWRAP | wxVSCROLL);
  auto [viewer_pos, viewer_size] = place(kViewerDlu);
  viewer_ = new CViewerCtrl(this, IDC_VIEWER, viewer_pos, viewer_size);
  auto [vlabel_pos, vlabel_size] = place(kViewerLabelDlu);
  auto* viewer_label = new wxStaticText(this, wxID_ANY, "VIEWER (Japanese)", vlabel_pos,
                                        vlabel_size, wxST_NO_AUTORESIZE);
  auto [up_pos, up_size] = place(kUpDlu);
  up_ = new wxButton(this, IDC_UP, "UP", up_pos, up_size);
  auto [down_pos, down_size] = place(kDownDlu);
  down_ = new wxButton(this, IDC_DOWN, "DOWN", down_pos, down_size);
  const struct {
    int id;
    const char* text;
    DluRect dlu;
  } radios[] = {{IDC_ROMAJI, "Roma-ji", kRomajiDlu},
                {IDC_JIS, "JIS", kJisDlu},
                {IDC_SJIS, "S-JIS", kSjisDlu},
                {IDC_RAWJIS, "JIS??", kRawJisDlu}};
  for (int i = 0; i < 4; ++i) {
    auto [pos, size] = place(radios[i].dlu);
    radios_[i] =
        new wxRadioButton(this, radios[i].id, radios[i].text, pos, size, i == 0 ? wxRB_GROUP : 0);
    radios_[i]->DisableFocusFromKeyboard();
    radios_[i]->Bind(wxEVT_RADIOBUTTON, &CFormPanel::OnRadio, this);
  }
  // GTK keeps one button of a group checked. A hidden fifth member holds the check while
  // none of the four has it: before the first refresh, and after SetCheck(id, false).
  none_ = new wxRadioButton(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(0, 0));
  none_->Hide();
  none_->SetValue(true);
  auto [elabel_pos, elabel_size] = place(kEditorLabelDlu);
  auto* editor_label =
      new wxStaticText(this, wxID_ANY, "EDITOR", elabel_pos, elabel_size, wxST_NO_AUTORESIZE);

  // Radio buttons and labels keep their place but grow to the size their text needs, up to
  // the next control on their right: GTK's radio buttons need more room than the table's
  // eight units, and its fonts are wider than the classic dialog font.
  const struct {
    wxWindow* control;
    int right_limit;
  } grow[] = {
      {radios_[0], place(kSjisDlu).first.x},
      {radios_[1], place(kRawJisDlu).first.x},
      {radios_[2], place(kViewerLabelDlu).first.x},
      {radios_[3], viewer_pos.x},
      {viewer_label, up_pos.x},
      {editor_label, place(kRomajiDlu).first.x},
  };
  for (const auto& g : grow) {
    const wxRect table = g.control->GetRect();
    const wxSize best = g.control->GetBestSize();
    const int width = std::min(std::max(table.width, best.x), g.right_limit - table.x - 1);
    const int height = std::max(table.height, best.y);
    g.control->SetSize(table.x, table.y + (table.height - height) / 2, width, height);
  }

  up_->Disable();
  down_->Disable();

  editor_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    editor_bytes_.reset();
    Run([this] { view_.RefreshViewer(); });
  });
  editor_->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
    Run([this] { view_.OnSetFocusEditor(); });
    event.Skip();
  });
  editor_->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
    Run([this] { view_.OnKillFocusEditor(); });
    event.Skip();
  });
  up_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Run([this] { view_.OnUp(); }); });
  down_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Run([this] { view_.OnDown(); }); });
}

void CFormPanel::OnDraw(wxDC&) {
  // GTK draws a control inside its parent's paint; a paint that covers nothing but
  // controls is their own redraw (a caret, a changed text, a button), not one of the form.
  // GTK also repaints a few pixels around a control that redraws itself (focus rings,
  // shadows, the room a radio button's state change takes), so only the form's own ground
  // well away from every control counts: a real exposure of the window always reaches the
  // form's margins.
  wxRegion own(GetUpdateRegion());
  for (const wxWindow* child : GetChildren()) {
    if (child->IsShown())
      own.Subtract(child->GetRect().Inflate(FromDIP(8)));
  }
  if (own.IsEmpty())
    return;
  ++paints_;
  Run([this] { view_.OnDraw(); });
}

void CFormPanel::OnRadio(wxCommandEvent& event) {
  // The group has checked the clicked button and unchecked the others.
  const int id = event.GetId();
  Run([this, id] {
    switch (id) {
      case IDC_ROMAJI:
        view_.OnRomaji();
        break;
      case IDC_JIS:
        view_.OnJis();
        break;
      case IDC_SJIS:
        view_.OnSjis();
        break;
      case IDC_RAWJIS:
        view_.OnRawJis();
        break;
    }
  });
}

wxButton* CFormPanel::Button(int id) const {
  return id == IDC_UP ? up_ : id == IDC_DOWN ? down_ : nullptr;
}

wxRadioButton* CFormPanel::Radio(int id) const {
  return id >= IDC_ROMAJI && id <= IDC_RAWJIS ? radios_[id - IDC_ROMAJI] : nullptr;
}

const std::string& CFormPanel::GetEditorText() {
  if (!editor_bytes_)
    editor_bytes_ = Cp932FromEditor(editor_->GetValue().ToStdWstring());
  return *editor_bytes_;
}

void CFormPanel::SetEditorText(std::string_view text) {
  editor_->ChangeValue(wxString(EditorFromCp932(text)));
  editor_bytes_.reset();  // read back from the control, which holds the text as set
}

void CFormPanel::EnableButton(int id, bool enable) {
  if (wxButton* button = Button(id))
    button->Enable(enable);
}

bool CFormPanel::IsButtonEnabled(int id) const {
  const wxButton* button = Button(id);
  return button && button->IsEnabled();
}

void CFormPanel::SetCheck(int id, bool checked) {
  wxRadioButton* radio = Radio(id);
  if (!radio || radio->GetValue() == checked)
    return;
  if (checked) {
    radio->SetValue(true);
  } else {
    none_->SetValue(true);
  }
}

bool CFormPanel::IsChecked(int id) const {
  const wxRadioButton* radio = Radio(id);
  return radio && radio->GetValue();
}

void CFormPanel::SetCaption(const std::string& caption) {
  wxGetTopLevelParent(this)->SetLabel(WxFromUtf8(caption));
}

bool CFormPanel::AskOpenPath(std::string& path) {
  return AskPath(false, path);
}

bool CFormPanel::AskSavePath(std::string& path) {
  return AskPath(true, path);
}

bool CFormPanel::AskPath(bool save, std::string& path) {
  if (hooks_.ask_path)
    return hooks_.ask_path(save, path);
  wxWindow* owner = wxGetTopLevelParent(this);
  const long style = save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN;
  for (;;) {
    wxFileDialog dialog(owner, save ? "Save As" : "Open", wxString(), wxString(), kFileWildcard,
                        style);
    if (dialog.ShowModal() != wxID_OK)
      return false;
    if (dialog.GetPath().empty()) {
      // GTK gave a name that does not convert to text (not UTF-8): it cannot be used.
      ShowError("The name of the chosen file cannot be read; choose another name.");
      continue;
    }
    wxFileName name(dialog.GetPath());
    // The default extension: a name typed without one gets ".txt"; an open dialog keeps a
    // name without extension that exists as typed.
    if (!name.HasExt() && !(!save && name.FileExists())) {
      wxFileName with_ext = name;
      with_ext.SetExt("txt");
      if (save) {
        // The dialog asked about the name as typed, not about this one.
        if (with_ext.FileExists() &&
            wxMessageBox(with_ext.GetFullName() + " already exists.\nDo you want to replace it?",
                         "Save As", wxYES_NO | wxICON_WARNING, owner) != wxYES) {
          continue;
        }
        name = with_ext;
      } else if (with_ext.FileExists()) {
        name = with_ext;
      }
    }
    path = name.GetFullPath().utf8_string();
    return true;
  }
}

void CFormPanel::ShowError(const std::string& message) {
  if (hooks_.show_error) {
    hooks_.show_error(message);
    return;
  }
  wxMessageBox(WxFromUtf8(message), kAppTitle, wxOK | wxICON_ERROR, wxGetTopLevelParent(this));
}

Answer CFormPanel::AskYesNoCancel(const std::string& question) {
  if (hooks_.ask)
    return hooks_.ask(question);
  switch (wxMessageBox(WxFromUtf8(question), kAppTitle, wxYES_NO | wxCANCEL | wxICON_QUESTION,
                       wxGetTopLevelParent(this))) {
    case wxYES:
      return Answer::kYes;
    case wxNO:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}
