#pragma once

#include <string>
#include <string_view>

#include "lang/languages.h"
#include "lang/translation.h"
#include "platform/shell.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace tessalune::ui {

// What the version frame shows: the version ("v2.0") and the revision, which lbl_build
// shows as "Build 708" in the plug-in's language.
struct VersionCaptions {
  std::string version;
  std::string revision;
};

// frmAbout: the product, its version and build, credits, rights, a contact line and the
// web site, which opens in the browser when clicked. The language file sets the captions
// of the title, the version frame, the credit, rights and contact lines and the OK button;
// the texts given here are what the window shows before one is applied.
class AboutWindow : public Window {
 public:
  AboutWindow(platform::Shell& shell, const VersionCaptions& version);

  Control titleBar{"titleBar", ControlKind::Banner};
  Label lbl_titre{"lbl_titre"};
  Label lbl_prod{"lbl_prod"};
  Frame grp_version{"grp_version"};
  Label lbl_ver{"lbl_ver"}, lbl_build{"lbl_build"};
  Frame grp_credits{"grp_credits"};
  Label lbl_credits{"lbl_credits"}, lbl_translation{"lbl_translation"};
  Label lbl_copyright{"lbl_copyright"}, lbl_contact{"lbl_contact"};
  Label lbl_link{"lbl_link", ControlKind::Link};  // the maker's web site; a click opens it
  OwnerDrawnButton btnOK{"btnOK"};

  static constexpr std::string_view kWebSite = "https://tessalune.org";

  // Registers the owner-drawn buttons (and the banner) at their sizes now.
  void registerDrawing(gdi::OwnerDrawing& drawing);

  // This window's entries of the caption list, in its order: the title, grp_version,
  // lbl_contact, btnOK_label, lbl_copyright, lbl_credits, lbl_translation (7 entries).
  lang::CaptionList captionEntries();
  // The credits frame and the build line, which no language file captions, in the words of
  // the language the plug-in has just applied.
  void followLanguage(lang::LanguageId language);

 private:
  void registerControls();
  void layOut();

  platform::Shell& shell_;
  std::string revision_;
};

}  // namespace tessalune::ui
