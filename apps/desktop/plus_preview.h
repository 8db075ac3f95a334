#pragma once

#include <QLabel>
#include <QString>
#include <QTextBrowser>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "errors/message_texts.h"
#include "host_texts.h"
#include "plugin/silent_conversion.h"
#include "targets/target_table.h"

namespace tessalune::desktop {

// Plus! text as an HTML fragment in its colours and formats.
QString plusToHtml(const std::string& plus);

// What a conversion gave: its Plus! text, that text in the codes it is written in, the length
// it must fit there, and what it would have said or asked.
struct PreviewResult {
  std::string coded;
  std::string written;  // in the target's codes; the Plus! text itself for Plus! codes
  targets::Unit unit = targets::Unit::Characters;
  int limit = 0;  // in the unit; 0: none
  std::string message;
  std::string question;
  bool watchdogAsked = false;
  std::string said;  // what OK would say or ask, introduced in the language of its message
};
// messages: those the conversion spoke with. The result is written in Plus! codes.
PreviewResult previewOf(const plugin::SilentConversion& conversion, const errors::MessageTexts& messages,
                        std::string coded, int limit);

// A limit as a person reads it: the number alone, in bytes ("N bytes"), or no limit.
QString limitText(const HostTexts& texts, targets::Unit unit, int limit);

// What a conversion gives, shown as a person will see it: the Plus! text in its colours, its
// length (in the unit of the codes it is written in) against the limit, and what the conversion would say or
// ask. It converts a moment after the last change it is told of, never more than once for a burst of changes.
class PlusPreview : public QWidget {
 public:
  PlusPreview(std::function<PreviewResult()> convert, const HostTexts& texts, QWidget* parent = nullptr);

  // Something changed: convert after a pause, once, whatever else changes meanwhile.
  void changed();
  // Converts now (tests, and the first showing).
  void refresh();
  int conversions() const { return conversions_; }

  QString shownText() const { return shown_; }
  QString countText() const { return count_->text(); }
  QString noteText() const { return note_->text(); }

 private:
  std::function<PreviewResult()> convert_;
  const HostTexts& texts_;
  QTimer timer_;
  int conversions_ = 0;
  QString shown_;         // the HTML of the Plus! text on show
  QTextBrowser* result_;  // wraps a long text, even one without spaces, in its own width
  QLabel* count_;
  QLabel* note_;
};

}  // namespace tessalune::desktop
