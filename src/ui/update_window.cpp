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
  lbl_titre.setContainer(&titleBar);
  for (Control* c : std::initializer_list<Control*>{&lbl_majVerTitle, &lbl_majVer, &lbl_majInfo, &btnCheck,
                                                    &btnNews, &btnDwld}) {
    c->setContainer(&grp_maj);
  }
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
  layOut();
  for (OwnerDrawnButton* b : {&btnClose, &btnCheck, &btnNews, &btnDwld}) bindButtonLook(*b);

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

// Positions are relative to the container. The progress bar starts one pixel inside its
// frame and grows to the right.
void UpdateWindow::layOut() {
  resize(6000, 4080);
  titleBar.place(0, 0, 6000, 615);
  lbl_titre.place(180, 150, 5640, 315);
  grp_maj.place(120, 690, 5760, 1530);
  lbl_majVerTitle.place(120, 240, 2700, 225);
  lbl_majVer.place(2880, 240, 1500, 225);
  lbl_majInfo.place(120, 540, 5520, 450);
  btnCheck.placeWithLabel(120, 1035, 1740, 375);
  btnNews.placeWithLabel(1980, 1035, 1740, 375);
  btnDwld.placeWithLabel(3840, 1035, 1740, 375);
  cnt_dwld.place(120, 2295, 5760, 1170);
  lbl_statusTitle.place(120, 120, 1500, 225);
  lbl_status.place(1680, 120, 3960, 225);
  lbl_progressTitle.place(120, 420, 1500, 225);
  lbl_progress.place(1680, 420, 3960, 225);
  cnt_progressBar.place(120, 750, 4215, 255);
  progressBar.place(kProgressBorder, kProgressBorder, kEmptyProgressWidth, 225);
  btnCancel.place(4440, 705, 1200, 345);
  btnClose.placeWithLabel(4500, 3585, 1380, 375);
}

void UpdateWindow::registerDrawing(gdi::OwnerDrawing& drawing) {
  attachDrawing(drawing);
  registerButtons({&btnClose, &btnCheck, &btnNews, &btnDwld});
  drawing.registerBanner(gdi::Banner::Update, titleBar, gdi::TwipSize{titleBar.width(), titleBar.height()});
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
