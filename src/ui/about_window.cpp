#include "ui/about_window.h"

#include <initializer_list>

#include "lang/host_words.h"

namespace tessalune::ui {

AboutWindow::AboutWindow(platform::Shell& shell, const VersionCaptions& version)
    : Window("frmAbout"), shell_(shell), revision_(version.revision) {
  registerControls();
  setKeyButtons(&btnOK, &btnOK);
  for (Label* label : {&lbl_ver, &lbl_build}) label->setContainer(&grp_version);
  for (Label* label : {&lbl_credits, &lbl_translation}) label->setContainer(&grp_credits);
  lbl_titre.setContainer(&titleBar);
  layOut();
  bindButtonLook(btnOK);

  // The window's fixed content; the language file replaces the captioned lines.
  setCaption("About Tessalune");
  lbl_titre.setCaption("Tessalune v2");
  lbl_prod.setCaption("Tessalune");
  grp_version.setCaption("Version");
  lbl_credits.setCaption("Thanks to everyone who tested Tessalune and sent suggestions.");
  lbl_translation.setCaption("Translations: the Tessalune team");
  lbl_copyright.setCaption("\u00A9 2026 Tessalune. All rights reserved.");
  lbl_contact.setCaption("Contact: support@tessalune.org");
  lbl_link.setCaption(std::string(kWebSite));
  btnOK.label().setCaption("OK");

  lbl_ver.setCaption(version.version);
  followLanguage(lang::LanguageId::fallback());

  // Whether anything could open the address is not looked at: without a handler, nothing
  // visible happens.
  lbl_link.setClickHandler([this] { shell_.open(lbl_link.caption()); });
  btnOK.setClickHandler([this] { hide(); });
}

void AboutWindow::registerControls() {
  for (Control* c : std::initializer_list<Control*>{
           &titleBar, &lbl_titre, &lbl_prod, &grp_version, &lbl_ver, &lbl_build, &grp_credits, &lbl_credits,
           &lbl_translation, &lbl_copyright, &lbl_contact, &lbl_link, &btnOK, &btnOK.label()}) {
    add(*c);
  }
}

void AboutWindow::layOut() {
  resize(6000, 5055);
  titleBar.place(0, 0, 6000, 615);
  lbl_titre.place(180, 150, 5640, 315);
  lbl_prod.place(120, 735, 5760, 315);
  grp_version.place(120, 1140, 5760, 825);
  lbl_ver.place(120, 240, 2400, 225);
  lbl_build.place(120, 510, 2400, 225);
  grp_credits.place(120, 2040, 5760, 1500);
  lbl_credits.place(120, 240, 5520, 600);
  lbl_translation.place(120, 900, 5520, 450);
  lbl_copyright.place(120, 3645, 5760, 225);
  lbl_contact.place(120, 3930, 5760, 225);
  lbl_link.place(120, 4215, 5760, 225);
  btnOK.placeWithLabel(4500, 4560, 1380, 375);
}

void AboutWindow::registerDrawing(gdi::OwnerDrawing& drawing) {
  attachDrawing(drawing);
  registerButtons({&btnOK});
  drawing.registerBanner(gdi::Banner::About, titleBar, gdi::TwipSize{titleBar.width(), titleBar.height()});
}

lang::CaptionList AboutWindow::captionEntries() {
  return {this, &grp_version, &lbl_contact, &btnOK.label(), &lbl_copyright, &lbl_credits, &lbl_translation};
}

void AboutWindow::followLanguage(lang::LanguageId language) {
  lang::HostWords words;
  words.follow(language);
  grp_credits.setCaption(words(lang::HostWord::Credits));
  lbl_build.setCaption(words(lang::HostWord::BuildNumber, revision_));
}

}  // namespace tessalune::ui
