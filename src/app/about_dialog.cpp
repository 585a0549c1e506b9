#include "app/about_dialog.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/app_icon.h"
#include "app/dialog_units.h"

namespace {

// The box's template in dialog units, in template order.
constexpr DluRect kBoxDlu{0, 0, 235, 65};
constexpr DluRect kIconDlu{11, 17, 21, 23};
constexpr DluRect kVersionDlu{40, 10, 119, 8};
constexpr DluRect kRightsDlu{40, 49, 119, 8};
constexpr DluRect kOkDlu{178, 7, 50, 14};
constexpr DluRect kContactDlu{40, 23, 124, 8};
constexpr DluRect kWebDlu{40, 36, 130, 8};

}  // namespace

CAboutDialog::CAboutDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "About Tobiuo X", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  SetFont(wxFont(wxFontInfo(8)));
  const PxRect box = DluToPx(kBoxDlu);
  SetClientSize(FromDIP(wxSize(box.w, box.h)));

  auto pos = [this](DluRect dlu) {
    const PxRect r = DluToPx(dlu);
    return FromDIP(wxPoint(r.x, r.y));
  };
  auto size = [this](DluRect dlu) {
    const PxRect r = DluToPx(dlu);
    return FromDIP(wxSize(r.w, r.h));
  };
  // An icon control takes the icon's own size at its top left corner.
  new wxStaticBitmap(this, wxID_ANY, wxBitmap(MakeAppImage(32)), pos(kIconDlu),
                     FromDIP(wxSize(32, 32)));
  new wxStaticText(this, wxID_ANY, kAboutVersion, pos(kVersionDlu), size(kVersionDlu),
                   wxST_NO_AUTORESIZE);
  // The maker's lines lie below the OK button and take the width their text needs.
  new wxStaticText(this, wxID_ANY, kAboutRights, pos(kRightsDlu));
  auto* ok = new wxButton(this, wxID_OK, "OK", pos(kOkDlu), size(kOkDlu));
  new wxStaticText(this, wxID_ANY, kAboutContact, pos(kContactDlu));
  new wxStaticText(this, wxID_ANY, kAboutWeb, pos(kWebDlu));

  ok->SetDefault();
  ok->SetFocus();
  SetEscapeId(wxID_OK);
  CentreOnParent();
}
