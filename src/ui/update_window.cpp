#include "ui/update_window.h"

#include <initializer_list>

namespace tessalune::ui {

UpdateWindow::UpdateWindow() : Window("frmUpd") {
  // The download panel holds the status and progress; the progress bar fills its frame.
  for (Control* c : std::initializer_list<Control*>{&lbl_statusTitle, &lbl_status, &lbl_progressTitle,
                                                    &lbl_progress, &cnt_progressBar}) {
    c->setContainer(&cnt_dwld);
  }
  progressBar.setContainer(&cnt_progressBar);
  registerControls();
  setKeyButtons(nullptr, &btnClose);

  // The captions shown before a language file is applied.
  setCaption("Tessalune update");
  lbl_titre.setCaption("Tessalune v2");
  grp_maj.setCaption("Update");
  lbl_majVerTitle.setCaption("Installed version:");
  btnCheck.label().setCaption("Check now");
  btnNews.label().setCaption("What's new");
  btnDwld.label().setCaption("Download");
  lbl_statusTitle.setCaption("Status:");
  lbl_progressTitle.setCaption("Progress:");
  btnCancel.setCaption("Cancel");
  btnClose.label().setCaption("Close");

  // Idle: nothing found yet, nothing downloading. A button's caption and a container's
  // controls show and hide with it.
  for (Control* c :
       std::initializer_list<Control*>{&btnNews, &btnDwld, &cnt_dwld, &cnt_progressBar, &btnCancel}) {
    c->setVisible(false);
  }
  cnt_progressBar.resize(4215, 255);
  progressBar.resize(kEmptyProgressWidth, 225);

  btnClose.setClickHandler([this] { hide(); });
}

void UpdateWindow::registerControls() {
  for (Control* c : std::initializer_list<Control*>{
           &titleBar,     &lbl_titre,        &grp_maj,     &lbl_majVerTitle, &lbl_majVer, &lbl_majInfo,
           &btnCheck,     &btnCheck.label(), &btnNews,     &btnNews.label(), &btnDwld,    &btnDwld.label(),
           &btnClose,     &btnClose.label(), &cnt_dwld,    &lbl_statusTitle, &lbl_status, &lbl_progressTitle,
           &lbl_progress, &cnt_progressBar,  &progressBar, &btnCancel}) {
    add(*c);
  }
}

lang::CaptionList UpdateWindow::captionEntries() {
  return {this,
          &grp_maj,
          &lbl_majVerTitle,
          &btnCheck.label(),
          &btnNews.label(),
          &btnDwld.label(),
          &lbl_statusTitle,
          &lbl_progressTitle,
          &btnCancel,
          &btnClose.label()};
}

}  // namespace tessalune::ui
