#pragma once

#include <cstdint>

#include "lang/translation.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace tessalune::ui {

// The result line: a label whose text colour and weight change with what it reports.
using StyledLabel = Label;

// frmUpd: finds out whether a newer version is on the update server, shows its news and
// downloads and starts its installer. Closing only hides it, so what it found and what it
// is downloading stay until the plug-in is unloaded.
//
// The window starts idle: only the check button is shown; the news and download buttons
// appear once a check has found a newer version, the download panel while downloading.
class UpdateWindow : public Window {
 public:
  UpdateWindow();

  Control titleBar{"titleBar", ControlKind::Banner};
  Label lbl_titre{"lbl_titre"};
  Frame grp_maj{"grp_maj"};
  Label lbl_majVerTitle{"lbl_majVerTitle"};
  Label lbl_majVer{"lbl_majVer"};          // the installed version, e.g. 2.0.708
  StyledLabel lbl_majInfo{"lbl_majInfo"};  // the result line of the check
  OwnerDrawnButton btnCheck{"btnCheck"}, btnNews{"btnNews"}, btnDwld{"btnDwld"}, btnClose{"btnClose"};

  // The download panel: status, progress in kilobytes, the progress bar and the button
  // that cancels the download and, once it is complete, starts the installer.
  Frame cnt_dwld{"cnt_dwld", ControlKind::Panel};
  Label lbl_statusTitle{"lbl_statusTitle"}, lbl_status{"lbl_status"};
  Label lbl_progressTitle{"lbl_progressTitle"}, lbl_progress{"lbl_progress"};
  Frame cnt_progressBar{"cnt_progressBar"};
  Control progressBar{"progressBar", ControlKind::ProgressBar};  // a filled shape growing in its frame
  Control btnCancel{"btnCancel", ControlKind::PushButton};       // a standard button: its caption is its own

  // The progress bar's width when nothing has been received, in twips.
  static constexpr int kEmptyProgressWidth = 15;
  // The progress container's one-pixel border on each side, in twips.
  static constexpr int kProgressBorder = 15;
  // The colours of the result line: the system's button text, and red for a failure.
  static constexpr std::uint32_t kButtonText = 0x80000012;
  static constexpr std::uint32_t kRed = 255;

  // The width the progress bar fills when everything has been received.
  int progressInnerWidth() const {
    const int inner = cnt_progressBar.width() - 2 * kProgressBorder;
    return inner > 0 ? inner : 0;
  }

  // Registers the owner-drawn buttons (and the banner) at their sizes now.
  void registerDrawing(gdi::OwnerDrawing& drawing);

  // This window's entries of the caption list, in its order: the title, grp_maj,
  // lbl_majVerTitle, btnCheck_label, btnNews_label, btnDwld_label, lbl_statusTitle,
  // lbl_progressTitle, btnCancel, btnClose_label (10 entries).
  lang::CaptionList captionEntries();

 private:
  void registerControls();
  void layOut();
};

}  // namespace tessalune::ui
