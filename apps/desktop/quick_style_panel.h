#pragma once

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "engine/side_style.h"
#include "errors/message_texts.h"
#include "host_texts.h"
#include "platform/dialogs.h"
#include "plus_preview.h"
#include "targets/target_table.h"

namespace tessalune::desktop {

// What the panel needs of its host.
struct QuickStyleHost {
  platform::Dialogs& dialogs;                             // the colour chooser and the refusals
  const HostTexts& texts;                                 // the host's words, in the plug-in's language
  std::function<const errors::MessageTexts&()> messages;  // in the plug-in's language
  std::function<void(const std::string&)> deliver;        // a result, as a command's would be
};

// The styles the plug-in's windows and saved presets cannot hold: a gradient through up to
// ten colours, linear or mirrored, or the rainbow, over a text or its background. The same
// live preview as the editor's. The result is written in the codes chosen (Plus! codes, or
// another target's) and fitted to their limit for the purpose; "Copy" puts that text on the
// clipboard. The host speaks Plus! codes alone: "Use as nickname" and "Send" hand it the
// result as the plug-in's commands hand theirs ("/nick2 " and the nickname, or the message),
// and are offered only while Plus! codes are chosen, so that they hand over what is shown.
class QuickStylePanel : public QWidget {
 public:
  enum class Kind { Linear = 0, Mirrored = 1, Rainbow = 2 };
  enum class Target { Text = 0, Background = 1 };
  enum class Purpose { Nickname = 0, Message = 1 };

  explicit QuickStylePanel(QuickStyleHost host, QWidget* parent = nullptr);

  QLineEdit* text() const { return text_; }
  const std::vector<engine::ColourNumber>& stops() const { return stops_; }
  PlusPreview* preview() const { return preview_; }
  void addStop();
  void removeStop();
  void setStop(std::size_t index, engine::ColourNumber colour);
  void setKind(Kind kind);
  void setTarget(Target target);
  void setPurpose(Purpose purpose);
  // The codes the result is written in: one of the targets, in their table's order.
  void setCodes(targets::Target codes);
  targets::Target codes() const;
  void useAsNickname();
  void send();
  void copy();
  // Takes the host's words in their language now.
  void retranslate();

 private:
  engine::SideStyle gradient() const;
  engine::EditorMode mode() const;
  PreviewResult convert(engine::EditorMode mode, targets::Target codes, bool stopAtWatchdog) const;
  void showCodes();
  void showStops();
  void changed();

  QuickStyleHost host_;
  std::vector<engine::ColourNumber> stops_;
  QLineEdit* text_;
  QHBoxLayout* stopRow_;
  std::vector<QToolButton*> stopButtons_;
  QToolButton* add_;
  QToolButton* remove_;
  QComboBox* kind_;
  QComboBox* target_;
  QComboBox* purpose_;
  QComboBox* codes_;
  PlusPreview* preview_;
  QPushButton* useAsNickname_;
  QLabel* textLabel_ = nullptr;
  QLabel* coloursLabel_ = nullptr;
  QLabel* styleLabel_ = nullptr;
  QLabel* targetLabel_ = nullptr;
  QLabel* purposeLabel_ = nullptr;
  QLabel* codesLabel_ = nullptr;
  QPushButton* send_;
  QPushButton* copy_;
};

}  // namespace tessalune::desktop
