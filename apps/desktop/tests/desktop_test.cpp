// The desktop host as a person uses it, with real mouse and key events on the offscreen
// platform: each window opened through its command, the editor's main path, the keyboard,
// a restart by import, a download cancelled while it runs, and captions that fit.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "box_edit.h"
#include "control_widgets.h"
#include "editor_preview.h"
#include "engine/limits.h"
#include "host_window.h"
#include "lang/languages.h"
#include "mnemonics.h"
#include "palettes.h"
#include "plugin/command_table.h"
#include "plugin/plugin_folder.h"
#include "quick_style_panel.h"
#include "store/config_file.h"
#include "store/store_context.h"
#include "support/http_test_server.h"
#include "targets/target_table.h"
#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"

using namespace tessalune;
using desktop::HostWindow;
using desktop::WindowView;

class DesktopTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<HostWindow> host_;
  QStringList messages_;
  std::function<void()> whenAsked_;  // runs as a box is answered

  std::filesystem::path pluginDir() const { return folder_->path().toStdString(); }

  // A host on a fresh plug-in folder; every box is recorded and answered Yes. With
  // automaticCheck the preferences ask for the update check at start-up.
  HostWindow& startHost(bool automaticCheck = false) {
    folder_ = std::make_unique<QTemporaryDir>();
    plugin::installDataFolder(pluginDir());
    if (automaticCheck) {
      store::writeDefaultConfiguration(pluginDir(), lang::LanguageId::fallback().catalogueId());
      const std::filesystem::path config = store::configFilePath(pluginDir());
      std::ifstream in(config);
      std::string file(std::istreambuf_iterator<char>(in), {});
      file.replace(file.find("<update>0</update>"), 18, "<update>1</update>");
      std::ofstream(config) << file;
    }
    return openHost();
  }

  // A host on the plug-in folder and the host's settings of the last one started.
  HostWindow& openHost() {
    host_.reset();
    // The host's own settings in the test's folder: no window remembers another test's size.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_->path());
    host_ = std::make_unique<HostWindow>(pluginDir(), "Tessalune");
    messages_.clear();
    host_->dialogs().answerMessage = [this](std::string_view text) {
      messages_ << QString::fromStdString(std::string(text));
      if (whenAsked_) whenAsked_();
      return platform::Answer::Yes;
    };
    host_->start();
    host_->show();
    return *host_;
  }

  // Types a line into the host's input and presses Enter, as a person does.
  void type(const QString& line) {
    QTest::keyClicks(host_->input(), line);
    QTest::keyClick(host_->input(), Qt::Key_Return);
  }

  // The typed line of a command, its word as the command table spells it.
  static QString commandLine(plugin::Command command, const QString& argument = {}) {
    const std::string_view word = plugin::commandRow(command).word;
    const QString line = "/" + QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
    return argument.isEmpty() ? line : line + " " + argument;
  }

  static QWidget* widget(WindowView& view, const char* name) {
    QWidget* w = view.widgetOf(name);
    if (!w) qFatal("no widget %s in %s", name, view.window().name().c_str());
    return w;
  }

  // Types text over everything in the editor's nickname box, as a person does; the box.
  static QWidget* typeOver(WindowView& view, const QString& text) {
    QWidget* box = widget(view, "rtf_nick");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    return box;
  }

  // What a test does in a window as it opens; the window is closed afterwards whatever
  // happened, so that a failed check never leaves a modal loop running.
  void onShown(std::function<void(WindowView&)> act) {
    host_->windows().onShown = [act](WindowView& view) {
      act(view);
      view.window().hide();
    };
  }

  // Runs `act` once `ready` holds, polled from the event loop, nested ones included; the
  // poll ends with the host.
  void once(std::function<bool()> ready, std::function<void()> act) {
    auto* poll = new QTimer(host_.get());
    connect(poll, &QTimer::timeout, poll, [poll, ready = std::move(ready), act = std::move(act)] {
      if (!ready()) return;
      poll->stop();
      poll->deleteLater();
      act();
    });
    poll->start(5);
  }

  static void click(WindowView& view, const char* name) {
    QWidget* w = widget(view, name);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
  }

 private slots:
  // A view shows every property a control had before the view existed, bold included; a
  // colour of the plug-in's own reads on the desktop's palette, and on the next one.
  void aViewShowsWhatTheModelHeldBeforeIt() {
    ui::UpdateWindow window;
    window.lbl_majInfo.setBold(true);
    window.lbl_majInfo.setForeColour(ui::UpdateWindow::kRed);
    QStyle* style = QStyleFactory::create("Fusion");
    QApplication::setStyle(style);
    WindowView view(window, {});
    QWidget* label = widget(view, "lbl_majInfo");
    QVERIFY(label->font().bold());
    QStringList ratios;  // light, dark, light again
    for (const bool dark : {false, true, false}) {
      QApplication::setPalette(dark ? desktop::darkPalette() : style->standardPalette());
      QApplication::processEvents();  // the palette reaches the widgets as an event
      ratios << QString::number(
          contrast(label->palette().color(QPalette::WindowText), view.palette().color(QPalette::Window)), 'f',
          2);
    }
    QVERIFY2(std::all_of(ratios.begin(), ratios.end(), [](const QString& r) { return r.toDouble() >= 4.5; }),
             qPrintable(ratios.join(", ")));
  }

  // WCAG's contrast ratio of two colours, 1 to 21.
  static double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
      const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
      };
      return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double l1 = luminance(a), l2 = luminance(b);
    return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05);
  }

  // The colour a widget's text is drawn on: its own field, a face the plug-in paints, or
  // the nearest background filled beneath it.
  static QColor groundOf(const QWidget& widget) {
    if (qobject_cast<const QLineEdit*>(&widget)) return widget.palette().color(QPalette::Base);
    if (qobject_cast<const QPushButton*>(&widget) || qobject_cast<const QComboBox*>(&widget))
      return widget.palette().color(QPalette::Button);
    for (const QWidget* w = widget.parentWidget(); w; w = w->parentWidget()) {
      if (auto* painted = dynamic_cast<const desktop::MouseForwarding*>(w))
        return desktop::ViewContext{}.colour(painted->control().backColour());
      if (w->autoFillBackground() || w->isWindow()) return w->palette().color(w->backgroundRole());
    }
    return widget.palette().color(QPalette::Window);
  }

  // The texts of a window that read below 4.5:1 against their ground. Plus! text (the
  // boxes, previews, the nickname) and the painted controls are not the desktop's to choose.
  static QStringList lowContrast(QWidget& window) {
    QStringList faults;
    for (QWidget* w : window.findChildren<QWidget*>()) {
      if (!w->isVisibleTo(&window) || !w->isEnabled() || w->objectName() == "previewResult" ||
          w->objectName() == "nickname" || dynamic_cast<desktop::DrawnWidget*>(w)) {
        continue;
      }
      QString text;
      QPalette::ColorRole role = QPalette::WindowText;
      if (auto* label = qobject_cast<QLabel*>(w)) {
        text = label->text();
      } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        text = check->text();
      } else if (auto* option = qobject_cast<QRadioButton*>(w)) {
        text = option->text();
      } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        text = button->text(), role = QPalette::ButtonText;
      } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        text = group->title();
      } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        text = edit->text(), role = QPalette::Text;
        // An empty line shows its placeholder, the input line's only label.
        if (text.isEmpty()) text = edit->placeholderText(), role = QPalette::PlaceholderText;
      } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        text = combo->currentText(), role = QPalette::ButtonText;
      }
      if (text.trimmed().isEmpty()) continue;
      const double ratio = contrast(w->palette().color(QPalette::Active, role), groundOf(*w));
      if (ratio < 4.5)
        faults << QString("%1 \"%2\": %3:1").arg(w->objectName(), text.left(30)).arg(ratio, 0, 'f', 2);
    }
    return faults;
  }

  // Presses Tab until the control has the focus, as a person would; fails after a round.
  static void tabTo(WindowView& view, const char* name) {
    QWidget* target = widget(view, name);
    if (!view.isActiveWindow()) {
      view.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&view));
    }
    for (int i = 0; i < 200 && QApplication::focusWidget() != target; ++i)
      QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &view, Qt::Key_Tab);
    QVERIFY2(
        QApplication::focusWidget() == target,
        qPrintable(QString(name) + " not reached; at " +
                   (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "nothing")));
  }

  // Every window opens from its command, every text in it reads against what it is drawn on
  // (WCAG AA, 4.5:1) in Fusion's light palette and in its dark one, and Escape closes it.
  void everyWindowOpensReadsInBothPalettesAndEscapeClosesIt() {
    QStyle* style = QStyleFactory::create("Fusion");
    QApplication::setStyle(style);
    for (const bool dark : {false, true}) {
      QApplication::setPalette(dark ? desktop::darkPalette() : style->standardPalette());
      startHost();
      QStringList opened, faults;
      onShown([&](WindowView& view) {
        opened << QString::fromStdString(view.window().name());
        if (auto* update = dynamic_cast<ui::UpdateWindow*>(&view.window())) {
          update->lbl_majInfo.setCaption("Error during search");  // in red, as a failed check leaves it
          update->lbl_majInfo.setForeColour(ui::UpdateWindow::kRed);
        }
        for (const QString& fault : lowContrast(view))
          faults << QString::fromStdString(view.window().name()) + "." + fault;
        if (view.window().name() == "frmPrefs")
          click(view, "btnUpd_label");  // the update window opens from here
        if (view.window().name() == "frmHelp") {
          view.resize(100, 80);  // the help window springs back to its minimum, 4500 by 3000 twips
          QCOMPARE(view.size(), QSize(300, 200));
          QCOMPARE(widget(view, "btnClose")->geometry().topLeft(), QPoint(203, 141));
        }
        QTest::keyClick(&view, Qt::Key_Escape);
        QVERIFY(!view.window().visible());
      });
      for (plugin::Command command :
           {plugin::Command::Nickname, plugin::Command::Preferences, plugin::Command::About,
            plugin::Command::Help, plugin::Command::UseQuickNick}) {
        type(commandLine(command));
      }
      QCOMPARE(opened,
               (QStringList{"frmPrincipal", "frmPrefs", "frmUpd", "frmAbout", "frmHelp", "frmQuickNick"}));
      type("Hello");
      faults << lowContrast(*host_);
      // A colour stop's tooltip reads in the palette's tooltip colours, not on the swatch.
      for (const char* name : {"stop1", "stop2"}) {
        QWidget* stop = host_->quickStyle()->findChild<QToolButton*>(name);
        QToolTip::showText(stop->mapToGlobal(QPoint(2, 2)), stop->toolTip(), stop);
        int tips = 0;
        for (QWidget* tip : QApplication::topLevelWidgets()) {
          if (!tip->inherits("QTipLabel") || !tip->isVisible()) continue;
          ++tips;
          const QColor ground = tip->grab().toImage().pixelColor(3, 3);  // inside the border
          const double ratio = contrast(tip->palette().color(tip->foregroundRole()), ground);
          if (ratio < 4.5) faults << QString("tooltip of %1: %2:1").arg(name).arg(ratio, 0, 'f', 2);
        }
        if (tips != 1) faults << QString("%1 tooltips of %2").arg(tips).arg(name);
        QToolTip::hideText();
      }
      QVERIFY2(faults.isEmpty(), qPrintable((dark ? "dark: " : "light: ") + faults.join("\n")));
    }
    QApplication::setPalette(style->standardPalette());
  }

  // The strongest contrast, pixel by pixel, between a widget's two looks: how clearly a
  // person sees a state that only colour shows.
  static double lookChange(QWidget& widget, const QRect& area, const std::function<void(bool)>& set) {
    set(false);
    const QImage off = widget.grab(area).toImage();
    set(true);
    const QImage on = widget.grab(area).toImage();
    double strongest = 1;
    for (int y = 0; y < std::min(off.height(), on.height()); ++y) {
      for (int x = 0; x < std::min(off.width(), on.width()); ++x)
        strongest = std::max(strongest, contrast(off.pixelColor(x, y), on.pixelColor(x, y)));
    }
    return strongest;
  }

  // The focus stops of a window, in the order Tab reaches them.
  static QList<QWidget*> focusStops(QWidget& window) {
    QList<QWidget*> stops;
    for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain()) {
      if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&window) && w->isEnabled() &&
          w->window() == &window && !stops.contains(w))
        stops << w;
    }
    return stops;
  }

  // What a window shows by colour alone, below 3:1 against its other look: a focus stop
  // with and without the focus, a tick box or option ticked or not.
  static QStringList faintStates(QWidget& window) {
    QStringList faults;
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) return {window.objectName() + " not active"};
    window.setAttribute(Qt::WA_KeyboardFocusChange);  // as a Tab press sets it
    for (QWidget* w : focusStops(window)) {
      // The widget and a few pixels around it, where a ring may stand.
      const QRect around(w->mapTo(&window, QPoint(-4, -4)), w->size() + QSize(8, 8));
      const double ratio = lookChange(
          window, around, [w](bool on) { on ? w->setFocus(Qt::TabFocusReason) : w->clearFocus(); });
      if (ratio < 3) faults << QString("focus on %1: %2:1").arg(w->objectName()).arg(ratio, 0, 'f', 2);
    }
    for (QAbstractButton* box : window.findChildren<QAbstractButton*>()) {
      if (!box->isCheckable() || !box->isVisibleTo(&window) || !box->isEnabled()) continue;
      const bool was = box->isChecked();
      box->clearFocus();
      const double ratio = lookChange(*box, box->rect(), [box](bool on) { box->setChecked(on); });
      box->setChecked(was);
      if (ratio < 3) faults << QString("ticked %1: %2:1").arg(box->objectName()).arg(ratio, 0, 'f', 2);
    }
    return faults;
  }

  // In both palettes, every focus stop of every window shows the focus, every tick and option
  // its state, and a format toggle its pressed state, each at 3:1 at least against its other look.
  void everyStateShowsAtThreeToOneInBothPalettes() {
    QStyle* style = QStyleFactory::create("Fusion");
    QApplication::setStyle(style);
    for (const bool dark : {false, true}) {
      QApplication::setPalette(dark ? desktop::darkPalette() : style->standardPalette());
      HostWindow& host = startHost();
      QStringList faults;
      onShown([&](WindowView& view) {
        for (const QString& fault : faintStates(view))
          faults << QString::fromStdString(view.window().name()) + ": " + fault;
        if (view.window().name() == "frmPrincipal") {
          ui::EditorWindow& editor = *host.plugin().editor();
          QWidget* box = typeOver(view, "Neo");
          QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
          for (const char* name : {"btnBold", "btnItalic", "btnUline", "btnSO"}) {
            bool pressed = false;  // the typed text starts plain
            const auto press = [&](bool on) {
              if (on != pressed) editor.find(name)->userStroke();
              pressed = on;
            };
            const double ratio = lookChange(*widget(view, name), widget(view, name)->rect(), press);
            press(false);
            if (ratio < 3)
              faults << QString("frmPrincipal: pressed %1: %2:1").arg(name).arg(ratio, 0, 'f', 2);
          }
        }
      });
      for (plugin::Command command :
           {plugin::Command::Nickname, plugin::Command::Preferences, plugin::Command::About,
            plugin::Command::Help, plugin::Command::UseQuickNick}) {
        type(commandLine(command));
      }
      faults << faintStates(*host_);
      QVERIFY2(faults.isEmpty(), qPrintable((dark ? "dark: " : "light: ") + faults.join("\n")));
    }
    QApplication::setPalette(style->standardPalette());
  }

  // What a screen reader finds wrong in a window: a control a person acts on, or a focus
  // stop, without a name of words (a glyph, a colour code or its own value is none), an
  // option that is not one, a tick that does not say it is ticked, a row of tabs none of
  // which is the selected one, or a box that takes typing and does not say it is editable.
  static QStringList accessibilityFaults(QWidget& window, QMap<QString, QString>& names) {
    static const QList<QAccessible::Role> kActing = {
        QAccessible::Button,   QAccessible::CheckBox,   QAccessible::RadioButton,
        QAccessible::ComboBox, QAccessible::PageTab,    QAccessible::Link,
        QAccessible::SpinBox,  QAccessible::ButtonMenu, QAccessible::EditableText};
    QStringList faults;
    QMap<QObject*, int> selectedTabs;  // per row of tabs
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* a) {
      if (!a || a->state().invisible) return;
      auto* w = qobject_cast<QWidget*>(a->object());
      const QString id = w ? w->objectName() : QString("?");
      const QAccessible::State state = a->state();
      if (w && (kActing.contains(a->role()) || state.focusable)) {
        // A list box's name on Linux is its value; its label is the relation a reader reads.
        const auto labels = a->relations(QAccessible::Label);
        const QString name = (a->role() == QAccessible::ComboBox && !labels.isEmpty()
                                  ? labels.first().first->text(QAccessible::Name)
                                  : a->text(QAccessible::Name))
                                 .trimmed();
        names[id] = name;
        if (!name.contains(QRegularExpression("\\p{L}\\p{L}")) || name.startsWith('#') ||
            (a->role() == QAccessible::ComboBox && name == a->text(QAccessible::Value)))
          faults << QString("%1 named \"%2\"").arg(id, name);
        if (qobject_cast<QRadioButton*>(w) && a->role() != QAccessible::RadioButton)
          faults << id + " is no option";
        if (auto* box = qobject_cast<QAbstractButton*>(w);
            box && box->isCheckable() && (!state.checkable || bool(state.checked) != box->isChecked()))
          faults << id + " does not say whether it is ticked";
        if (a->role() == QAccessible::PageTab) selectedTabs[w->parent()] += state.selected ? 1 : 0;
        const auto* line = qobject_cast<QLineEdit*>(w);
        const auto* box = dynamic_cast<desktop::BoxEdit*>(w);
        if (((line && !line->isReadOnly()) || (box && box->control().userEditable())) &&
            (!state.editable || !a->editableTextInterface()))
          faults << id + " is not said to be editable";
        if (box && (!a->textInterface() ||
                    a->textInterface()->text(0, a->textInterface()->characterCount()) !=
                        QString::fromStdString(box->control().box().text()).replace("\r\n", "\n")))
          faults << id + " does not read its text";
      }
      for (int i = 0; i < a->childCount(); ++i) walk(a->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(&window));
    for (auto row = selectedTabs.begin(); row != selectedTabs.end(); ++row) {
      if (row.value() != 1)
        faults << QString("%1 tabs selected in %2").arg(row.value()).arg(row.key()->objectName());
    }
    return faults;
  }

  // Every window as a screen reader reads it: every control named for what it does, in the
  // plug-in's language, with its role and states; the format toggles say when they are on
  // and OK that it is the default button.
  void aScreenReaderNamesEveryControlAndItsState() {
    startHost();
    QStringList faults;
    QMap<QString, QString> names;
    bool boldSaidOn = false, okSaidDefault = false, boxReadAndTyped = false;
    onShown([&](WindowView& view) {
      for (const QString& fault : accessibilityFaults(view, names))
        faults << QString::fromStdString(view.window().name()) + ": " + fault;
      // A group of options is one Tab stop.
      for (QButtonGroup* group : view.findChildren<QButtonGroup*>()) {
        const QList<QAbstractButton*> options = group->buttons();
        const auto stops = std::count_if(options.begin(), options.end(), [](QAbstractButton* b) {
          return bool(b->focusPolicy() & Qt::TabFocus);
        });
        if (stops != 1)
          faults << QString("%1 Tab stops in the group of %2").arg(stops).arg(options[0]->objectName());
      }
      if (view.window().name() == "frmPrincipal") {
        QWidget* box = typeOver(view, "Neo");
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_B, Qt::ControlModifier);
        const QAccessible::State bold =
            QAccessible::queryAccessibleInterface(widget(view, "btnBold"))->state();
        boldSaidOn = bold.checkable && bold.checked;
        // What a screen reader types goes into the box as typing does.
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(box);
        read->editableTextInterface()->insertText(3, "x");
        boxReadAndTyped = read->textInterface()->text(0, 4) == "Neox" &&
                          host_->plugin().editor()->rtf_nick.box().text() == "Neox" &&
                          read->textInterface()->cursorPosition() == 4;
        okSaidDefault = QAccessible::queryAccessibleInterface(widget(view, "btnOK"))->state().defaultButton;
      }
    });
    for (plugin::Command command :
         {plugin::Command::Nickname, plugin::Command::Preferences, plugin::Command::About,
          plugin::Command::Help, plugin::Command::UseQuickNick}) {
      type(commandLine(command));
    }
    faults << accessibilityFaults(*host_, names);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
    QVERIFY(boldSaidOn);
    QVERIFY(okSaidDefault);
    QVERIFY(boxReadAndTyped);
    const QMap<QString, QString> expected = {{"panelColorFG_solid(99)", "Other color..."},
                                             {"panelColorFG_grad1", "Gradient color 1"},
                                             {"panelColorFG_grad2", "Gradient color 2"},
                                             {"panelColorFG_solid(0)", "Custom color"},
                                             {"btnFG", "Text color"},
                                             {"chkNick", "Nickname"},
                                             {"opt_grad_nick(1)", "Gradient 1"},
                                             {"combo_lang", "Language:"},
                                             {"btnPrev", "Previous"},
                                             {"input", "Message"},
                                             {"quickKind", "Style:"},
                                             {"stop1", "Color 1 of 2"},
                                             {"addStop", "Add a color"},
                                             {"quickCodes", "Codes"},
                                             {"copy", "Copy"},
                                             {"conversation", "Conversation"},
                                             {"previewResult", "Preview"}};
    for (auto entry = expected.begin(); entry != expected.end(); ++entry)
      QCOMPARE(names.value(entry.key()), entry.value());
  }

  // Without a mouse event, from the nickname box where the editor opens: Tab reaches the tab,
  // the swatch grid and the presets, each grid one Tab stop with the arrow keys inside, Space
  // applies preset 3, Ctrl+B makes it bold and Enter on the preset presses OK, the default
  // button. A screen reader names the preset.
  void theKeyboardAloneColoursANicknameInFewKeys() {
    HostWindow& host = startHost();
    constexpr int kMostKeys = 8;  // 3 Tabs, 2 arrows, 3 keys
    int keys = 0;
    onShown([&](WindowView& view) {
      view.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&view));
      QWidget* box = typeOver(view, "Neo");
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      QCOMPARE(QApplication::focusWidget(), box);
      const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        ++keys;
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
      };
      const auto focusedName = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
      };
      while (keys < kMostKeys && !focusedName().startsWith("panelColorFG_grad(")) press(Qt::Key_Tab);
      while (keys < kMostKeys && focusedName() < "panelColorFG_grad(3)") press(Qt::Key_Down);
      QCOMPARE(focusedName(), QString("panelColorFG_grad(3)"));
      QCOMPARE(QAccessible::queryAccessibleInterface(QApplication::focusWidget())->text(QAccessible::Name),
               QString("Gradient 3"));
      press(Qt::Key_Space);
      press(Qt::Key_B, Qt::ControlModifier);
      QCOMPARE(host.plugin().editor()->rtf_nick.box().selBold(), engine::Tristate::True);
      press(Qt::Key_Return);
    });
    type(commandLine(plugin::Command::Nickname));
    QVERIFY2(keys <= kMostKeys, qPrintable(QString::number(keys)));
    const QString nickname = QString::fromStdString(host.nickname());
    QVERIFY2(
        nickname.startsWith("\u00B7$") && nickname.contains("\u00B7#") && nickname.contains("\u00B7$#0080FF"),
        qPrintable(nickname));
    QVERIFY(host.conversation()->toPlainText().contains("Your nickname is now Neo"));
  }

  // Enter in the nickname box is OK, with OK's messages; in the message box it is a line
  // break, and Ctrl+Enter is OK.
  void enterActsAsOkAndCtrlEnterInAMessage() {
    HostWindow& host = startHost();
    onShown([&](WindowView& view) {
      QWidget* box = widget(view, "rtf_nick");
      box->setFocus();
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(box, Qt::Key_Backspace);
      QTest::keyClick(box, Qt::Key_Return);
      QVERIFY(view.window().visible());
      QCOMPARE(messages_.last(), QString("You must type a nick."));
      view.window().hide();
    });
    type(commandLine(plugin::Command::Nickname));
    onShown([&](WindowView& view) {
      QWidget* box = widget(view, "rtf_text");
      box->setFocus();
      QTest::keyClicks(box, "a");
      QTest::keyClick(box, Qt::Key_Return);
      QTest::keyClicks(box, "b");
      QVERIFY(view.window().visible());
      const std::string typed = host.plugin().editor()->rtf_text.box().text();
      QVERIFY2(typed.starts_with("a\r\nb"), typed.c_str());  // typed before the sample text
      QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
      QVERIFY(!view.window().visible());
    });
    type(commandLine(plugin::Command::Text));
  }

  // The editor's box undoes and redoes from the keyboard and from its context menu, which
  // has the desktop's edit entries in the plug-in's language.
  void theEditorsBoxUndoesAndRedoes() {
    startHost();
    QString afterUndo, afterRedo, afterMenuUndo;
    QStringList entries;
    onShown([&](WindowView& view) {
      auto* box = static_cast<desktop::BoxEdit*>(typeOver(view, "ab"));
      QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
      afterUndo = box->toPlainText();
      QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      afterRedo = box->toPlainText();
      const std::unique_ptr<QMenu> menu = box->editMenu();
      for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) entries << action->text();
      }
      menu->actions().first()->trigger();
      afterMenuUndo = box->toPlainText();
    });
    type(commandLine(plugin::Command::Nickname));
    QCOMPARE(afterUndo, QString("a"));
    QCOMPARE(afterRedo, QString("ab"));
    QCOMPARE(afterMenuUndo, QString("a"));
    QCOMPARE(entries, (QStringList{"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "&Delete", "Select &All"}));
  }

  // The help text never ends a line between "/" and the command word after it.
  void theHelpKeepsEachCommandWhole() {
    startHost();
    QStringList split;
    int commands = 0;
    onShown([&](WindowView& view) {
      auto* box = static_cast<desktop::BoxEdit*>(widget(view, "rtfHelp"));
      commands = box->toPlainText().count(QChar(0x2060));
      for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
          const QTextLine line = layout->lineAt(i);
          const QString shown = block.text().mid(line.textStart(), line.textLength()).trimmed();
          if (shown.endsWith('/')) split << shown;
        }
      }
    });
    type(commandLine(plugin::Command::Help));
    QVERIFY(commands > 0);
    QVERIFY2(split.isEmpty(), qPrintable(split.join("\n")));
  }

  // The editor's format buttons name their keys, its swatches their colours and its presets
  // their gradients, when the pointer rests on them.
  void theEditorsControlsSayWhatTheyDo() {
    startHost();
    QStringList tips;
    onShown([&](WindowView& view) {
      for (const char* name : {"btnBold", "btnSO", "panelColorFG_solid_rect(1)", "panelColorFG_grad(2)"}) {
        QWidget* w = widget(view, name);
        QHelpEvent asked(QEvent::ToolTip, w->rect().center(), w->mapToGlobal(w->rect().center()));
        QApplication::sendEvent(w, &asked);
        tips << w->toolTip();
      }
    });
    type(commandLine(plugin::Command::Nickname));
    QCOMPARE(tips.size(), 4);
    QCOMPARE(tips[0], QString("Bold (Ctrl+B)"));
    QCOMPARE(tips[1], QString("Strikethrough (Ctrl+S)"));
    QVERIFY2(!tips[2].isEmpty() && !tips[2].startsWith('#'), qPrintable(tips[2]));
    QCOMPARE(tips[3], QString("Gradient 2"));
  }

  // The host and a plug-in window open, in the next session, at the size they had when last
  // closed; a size larger than the screen comes back within it.
  void everyWindowKeepsItsSize() {
    const QSize room = QApplication::primaryScreen()->availableSize();
    for (const QSize helpSize : {QSize(420, 330), room + QSize(300, 300)}) {
      startHost();
      host_->resize(500, 420);
      onShown([&](WindowView& view) { view.resize(helpSize); });
      type(commandLine(plugin::Command::Help));
      host_->close();
      QSize helpAgain;
      QCOMPARE(openHost().size(), QSize(500, 420));
      onShown([&](WindowView& view) { helpAgain = view.size(); });
      type(commandLine(plugin::Command::Help));
      QCOMPARE(helpAgain, helpSize.boundedTo(room));
    }
  }

  // The editor's preview follows the typing, shows what OK would give and what it would ask,
  // and changes nothing of the editor or the plug-in however often it converts.
  void theEditorPreviewShowsWhatOkWouldGiveAndChangesNothing() {
    HostWindow& host = startHost();
    onShown([&](WindowView& view) {
      auto* preview = view.findChild<desktop::PlusPreview*>("preview");
      QVERIFY(preview);
      ui::EditorWindow& editor = *host.plugin().editor();
      QWidget* box = widget(view, "rtf_nick");
      box->setFocus();
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(box, QString(126, 'n'));
      click(view, "panelColorFG_grad(1)");
      QTRY_VERIFY2(preview->noteText().startsWith("OK would ask: "), qPrintable(preview->noteText()));
      QVERIFY(preview->countText().endsWith(QString("/ %1").arg(engine::kNicknameLimit)));
      QCOMPARE(preview->shownText().isEmpty(), false);

      const auto state = [&] {
        return std::make_tuple(editor.rtf_nick.box().textRtf(), editor.rtf_mask.box().textRtf(),
                               editor.rtf_auto.box().textRtf(), editor.rtf_nick.box().selStart(),
                               editor.codedResult(), host.plugin().halted(), messages_.size());
      };
      const auto before = state();
      const int conversions = preview->conversions();
      for (int i = 0; i < 100; ++i) preview->refresh();
      QCOMPARE(preview->conversions(), conversions + 100);
      QVERIFY(state() == before);
      // A burst of changes converts once.
      for (int i = 0; i < 20; ++i) preview->changed();
      QTRY_COMPARE(preview->conversions(), conversions + 101);
      // In the code view the preview still shows what OK gives, not the codes as text.
      const QString styled = preview->shownText();
      click(view, "btnCode_label");
      QVERIFY(editor.codeView());
      preview->refresh();
      QCOMPARE(preview->shownText(), styled);
    });
    type(commandLine(plugin::Command::Nickname));
  }

  // The quick style panel colours through stops, within two to ten of them, and hands the
  // result to the host as the plug-in's commands do.
  void theQuickStylePanelUsesGradientsThroughStops() {
    HostWindow& host = startHost();
    desktop::QuickStylePanel& quick = *host.quickStyle();
    quick.text()->setText("Rainbow");
    quick.setKind(desktop::QuickStylePanel::Kind::Rainbow);
    QTest::mouseClick(quick.findChild<QPushButton*>("useAsNickname"), Qt::LeftButton);
    QCOMPARE(
        QString::fromStdString(host.nickname()),
        QString("\u00B7$4R\u00B7$#FF7F00a\u00B7$8i\u00B7$9n\u00B7$12b\u00B7$#4B0082o\u00B7$#9400D3w\u00B70"));
    QVERIFY(!quick.findChild<QToolButton*>("stop1")->isEnabled());  // the rainbow's colours are its own

    quick.setKind(desktop::QuickStylePanel::Kind::Linear);
    for (int i = 0; i < 12; ++i) QTest::mouseClick(quick.findChild<QToolButton*>("addStop"), Qt::LeftButton);
    QCOMPARE(quick.stops().size(), std::size_t{10});
    for (int i = 0; i < 12; ++i)
      QTest::mouseClick(quick.findChild<QToolButton*>("removeStop"), Qt::LeftButton);
    QCOMPARE(quick.stops().size(), std::size_t{2});
    host.dialogs().answerColour = [](std::uint32_t) { return std::optional<std::uint32_t>(0x00FF00); };
    QTest::mouseClick(quick.findChild<QToolButton*>("stop2"), Qt::LeftButton);  // green instead of blue
    quick.setPurpose(desktop::QuickStylePanel::Purpose::Message);
    quick.preview()->refresh();
    QCOMPARE(quick.preview()->countText(),
             QString("%1 / 1100").arg(quick.preview()->countText().split(' ')[0]));
    QTest::mouseClick(quick.findChild<QPushButton*>("send"), Qt::LeftButton);
    QVERIFY(host.conversation()->toHtml().contains("#00ff00", Qt::CaseInsensitive));

    // The result in each target's codes, fitted to the target's limit for the purpose and
    // counted in its unit; Copy takes exactly that text. The host's buttons hand over Plus!
    // codes, so they are offered with Plus! codes alone.
    auto* copy = quick.findChild<QPushButton*>("copy");
    quick.text()->clear();
    quick.preview()->refresh();
    QVERIFY(!copy->isEnabled());  // nothing to copy
    using Purpose = desktop::QuickStylePanel::Purpose;
    const QString accented(190, QChar(0xE9));  // two bytes each: 380 of IRC's 400
    const struct {
      targets::Target codes;
      Purpose purpose;
      desktop::QuickStylePanel::Kind kind;
      QString text;
      QString start;  // of the copied text
    } cases[] = {
        {targets::Target::Plus, Purpose::Nickname, desktop::QuickStylePanel::Kind::Linear, "T\u00EBssalune",
         "\u00B7$"},
        {targets::Target::Irc, Purpose::Message, desktop::QuickStylePanel::Kind::Rainbow, accented, "\x03"},
        {targets::Target::Html, Purpose::Message, desktop::QuickStylePanel::Kind::Linear, "T\u00EBssalune",
         "<span"},
    };
    for (const auto& c : cases) {
      const int limit = targets::targetLimit(
          c.codes, c.purpose == Purpose::Nickname ? engine::EditorMode::Nickname : engine::EditorMode::Text);
      quick.setCodes(c.codes);
      quick.setPurpose(c.purpose);
      quick.setKind(c.kind);
      quick.text()->setText(c.text);
      quick.preview()->refresh();
      const char* name = targets::targetInfo(c.codes).name.data();
      QVERIFY2(copy->isEnabled(), name);
      QCOMPARE(quick.findChild<QPushButton*>("send")->isEnabled(), c.codes == targets::Target::Plus);
      QCOMPARE(quick.findChild<QPushButton*>("useAsNickname")->isEnabled(), c.codes == targets::Target::Plus);
      QGuiApplication::clipboard()->clear();
      QTest::mouseClick(copy, Qt::LeftButton);
      const QString copied = QGuiApplication::clipboard()->text();
      QVERIFY2(copied.startsWith(c.start), qPrintable(copied));
      const qsizetype length =
          c.codes == targets::Target::Irc ? copied.toUtf8().size() : copied.toUcs4().size();
      QVERIFY2(limit == 0 || length <= limit, name);
      const QString said = limit == 0                        ? QString("no limit")
                           : c.codes == targets::Target::Irc ? QString("%1 bytes").arg(limit)
                                                             : QString::number(limit);
      QCOMPARE(quick.preview()->countText(), QString("%1 / %2").arg(length).arg(said));
      QCOMPARE(quick.findChild<QComboBox*>("quickPurpose")->currentText(),
               QString(c.purpose == Purpose::Nickname ? "Nickname (%1)" : "Message (%1)").arg(said));
    }
    // A plain text over the target's limit is refused, as Send refuses one over Plus! codes'.
    quick.setCodes(targets::Target::Irc);
    quick.text()->setText(accented + QString(11, QChar(0xE9)));
    messages_.clear();
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(messages_, QStringList("The text is too long for this target (more than 400 bytes)."));
    // Codes without background colours say that they leave the text's out.
    quick.text()->setText("Tessalune");
    quick.setTarget(desktop::QuickStylePanel::Target::Background);
    quick.setCodes(targets::Target::Bbcode);
    quick.preview()->refresh();
    QCOMPARE(quick.preview()->noteText(), QString("bbcode has no background colors: they are left out."));
    quick.setTarget(desktop::QuickStylePanel::Target::Text);
    quick.setCodes(targets::Target::Plus);
    quick.preview()->refresh();
    // Tab reaches the codes after the purpose, and Copy after Send; Copy's access key is
    // one the menu bar leaves free.
    const QList<QWidget*> stops = focusStops(host);
    const auto at = [&](const char* name) { return stops.indexOf(quick.findChild<QWidget*>(name)); };
    QVERIFY(at("quickPurpose") >= 0 && at("quickPurpose") < at("quickCodes"));
    QVERIFY(at("quickCodes") < at("useAsNickname") && at("send") < at("copy"));
    QCOMPARE(copy->text(), QString("&Copy"));
    const QChar key = desktop::mnemonicOf(copy->text());
    QVERIFY(!key.isNull());
    for (QAction* menu : host.menuBar()->actions()) QVERIFY(desktop::mnemonicOf(menu->text()) != key);

    // A long text without a space wraps in the preview: the window keeps its size.
    const QSize size = host.size();
    quick.text()->setText(QString(1100, 'x'));
    quick.preview()->refresh();
    QApplication::processEvents();
    QCOMPARE(host.size(), size);
    QVERIFY2(host.minimumSizeHint().width() <= size.width(),
             qPrintable(QString::number(host.minimumSizeHint().width())));
  }

  // On the first start the menu is there before the first-start box asks, and once it is
  // answered the typing goes to the input line and Alt+T opens the menu.
  void theMenuIsThereFromTheFirstStart() {
    bool menuWhenAsked = false;
    whenAsked_ = [&] {
      const QList<QAction*> menus = host_->menuBar()->actions();
      menuWhenAsked = !menus.isEmpty() && menus.first()->menu() && !menus.first()->text().isEmpty();
    };
    HostWindow& host = startHost();
    whenAsked_ = nullptr;
    QVERIFY(!messages_.isEmpty());  // a fresh folder: the first-start box was asked
    QVERIFY(menuWhenAsked);
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(host.input()));
    QMenu* menu = host.menuBar()->actions().first()->menu();
    QVERIFY(host.menuBar()->height() > QFontMetrics(host.menuBar()->font()).height());
    QTest::keyClick(&host, Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(host.input()->text().isEmpty());
    menu->hide();
  }

  // The access keys marked in a set of texts that two of them mark, or a text that marks none.
  static QStringList clashingKeys(const QStringList& texts) {
    QStringList clashes;
    QSet<QChar> seen;
    for (const QString& text : texts) {
      const QChar key = desktop::mnemonicOf(text);
      if (key.isNull() || seen.contains(key)) clashes << text;
      seen.insert(key);
    }
    return clashes;
  }

  // In every language the host has a title of its own, a Help menu that opens the plug-in's
  // help and about windows, and menus whose entries each have an access key no other uses.
  void theMenusHaveHelpAndAccessKeysThatNeverClash() {
    HostWindow& host = startHost();
    for (const lang::Language& row : lang::kLanguages) {
      host.plugin().prefs()->applyLanguageAt(row.position);
      type("/");  // the host follows the plug-in's language after a command
      QVERIFY(!host.windowTitle().isEmpty());
      QVERIFY(host.windowTitle() != QString::fromStdString(host.plugin().editor()->caption()));
      QStringList titles;
      for (QAction* menu : host.menuBar()->actions()) {
        titles << menu->text();
        QStringList entries;
        for (QAction* action : menu->menu()->actions()) {
          if (!action->isSeparator()) entries << action->text();
        }
        QVERIFY2(clashingKeys(entries).isEmpty(),
                 qPrintable(QString("%1: %2").arg(row.position).arg(clashingKeys(entries).join(", "))));
      }
      QVERIFY2(titles.size() == 2 && clashingKeys(titles).isEmpty(), qPrintable(titles.join(", ")));
    }
    QStringList opened;
    onShown([&](WindowView& view) { opened << QString::fromStdString(view.window().name()); });
    for (QAction* action : host.menuBar()->actions().last()->menu()->actions()) action->trigger();
    QCOMPARE(opened, (QStringList{"frmHelp", "frmAbout"}));
  }

  // A nickname of any length leaves the window's width alone: the label elides it and gives
  // the whole of it as its tooltip and to a screen reader.
  void aLongNicknameNeverWidensTheWindow() {
    HostWindow& host = startHost();
    QApplication::processEvents();
    const int minimum = host.minimumSizeHint().width();
    const int width = host.width();
    const std::string nickname(engine::kNicknameLimit, 'W');
    host.deliver("/nick2 " + nickname);
    QApplication::processEvents();
    QCOMPARE(host.minimumSizeHint().width(), minimum);
    QCOMPARE(host.width(), width);
    auto* label = host.findChild<QLabel*>("nickname");
    QCOMPARE(label->toolTip(), QString::fromStdString(nickname));
    QCOMPARE(label->accessibleDescription(), QString::fromStdString(nickname));
    QVERIFY(label->sizeHint().width() <= width);
  }

  // A paste of 100 KB into the message box arrives whole, line breaks, accents and characters
  // beyond the first plane included, and the box goes on taking keys where the paste ended.
  void aLongPasteArrivesAndTheBoxStillAnswers() {
    HostWindow& host = startHost();
    QString pasted;
    for (int line = 0; pasted.size() < 100 * 1024; ++line)
      pasted += QString("Line %1: the quick brown fox, caf\u00E9 \U0001F600 jumps.\n").arg(line);
    onShown([&](WindowView& view) {
      auto* box = static_cast<desktop::BoxEdit*>(widget(view, "rtf_text"));
      box->setFocus();
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      QApplication::clipboard()->setText(pasted);
      // Laid out again once for the whole paste, not once for each of its characters.
      int edits = 0;
      const QMetaObject::Connection counting =
          connect(box->document(), &QTextDocument::contentsChanged, [&edits] { ++edits; });
      QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
      disconnect(counting);
      QCOMPARE(box->toPlainText(), pasted);
      QVERIFY2(edits <= 2, qPrintable(QString::number(edits)));
      QTest::keyClicks(box, "!");
      QCOMPARE(box->toPlainText(), pasted + "!");
      QString expected = pasted + "!";
      expected.replace("\n", "\r\n");
      QCOMPARE(QString::fromStdString(host.plugin().editor()->rtf_text.box().text()), expected);
    });
    type(commandLine(plugin::Command::Text));
  }

  // The desktop's conventions: Ctrl+Q quits, every window has the icon, --help and --version
  // need no display.
  void theHostFollowsTheDesktopsConventions() {
    HostWindow& host = startHost();
    onShown([&](WindowView& view) { QVERIFY(!view.windowIcon().isNull()); });
    type(commandLine(plugin::Command::About));
    // Each key sequence belongs to one action once: a second claim makes the key do nothing.
    QStringList keys;
    for (QAction* action : host.findChildren<QAction*>()) {
      for (const QKeySequence& key : action->shortcuts()) keys << key.toString();
    }
    QVERIFY2(!keys.contains(QString()) && QSet<QString>(keys.begin(), keys.end()).size() == keys.size(),
             qPrintable(keys.join(", ")));
    QVERIFY(keys.contains("Ctrl+Q"));
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    QTest::keyClick(&host, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!host.isVisible());

    QProcess help;
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) bare.remove(variable);
    help.setProcessEnvironment(bare);
    for (const char* option : {"--help", "--version"}) {
      help.start(TESSALUNE_DESKTOP, {option});
      QVERIFY(help.waitForFinished(10000));
      QCOMPARE(help.exitCode(), 0);
      QVERIFY(help.readAllStandardOutput().contains("tessalune-desktop"));
    }
    // Anything else without a display: one line that says why, 2 for a wrong command line.
    const struct {
      QStringList arguments;
      int status;
    } withoutDisplay[] = {
        {{}, 1}, {{"--plugin-dir", folder_->path()}, 1}, {{"--bogus"}, 2}, {{"--nick"}, 2}, {{"stray"}, 2}};
    for (const auto& [arguments, status] : withoutDisplay) {
      help.start(TESSALUNE_DESKTOP, arguments);
      QVERIFY(help.waitForFinished(10000));
      const QByteArray said = help.readAllStandardError();
      QVERIFY2(help.exitStatus() == QProcess::NormalExit && help.exitCode() == status,
               qPrintable(arguments.join(' ') + ": " + QString::number(help.exitCode()) + " " + said));
      QVERIFY2(said.startsWith("tessalune-desktop: ") && said.count('\n') == 1, said.constData());
    }
  }

  // On a 1280x900 screen at the scale factors desktops use, the host opens within the screen.
  void theWindowFitsTheScreenAtEveryScale() {
    QTemporaryDir work;
    QFile screen(work.filePath("screen.json"));
    QVERIFY(screen.open(QIODevice::WriteOnly));
    screen.write(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": 1280, "height": 900,
                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screen.close();
    for (const char* scale : {"1", "1.5", "2"}) {
      QProcess run;
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.fileName());
      environment.insert("QT_SCALE_FACTOR", scale);
      environment.insert("XDG_CONFIG_HOME", work.path());  // no size kept from another run
      run.setProcessEnvironment(environment);
      const QString pictures = work.filePath(QString("pictures-") + scale);
      run.start(TESSALUNE_DESKTOP,
                {"--plugin-dir", work.filePath(QString("plugin-") + scale), "--screenshots", pictures});
      QVERIFY(run.waitForFinished(60000));
      QCOMPARE(run.exitCode(), 0);
      const QSize shown = QImage(pictures + "/host.png").size();  // in the screen's pixels
      QVERIFY2(!shown.isEmpty() && shown.width() <= 1280 && shown.height() <= 900,
               qPrintable(QString("%1: %2x%3").arg(scale).arg(shown.width()).arg(shown.height())));
    }
  }

  // A box opens centred on the window it speaks for, or on the screen while that is hidden.
  void boxesOpenCentredOnTheirWindow() {
    HostWindow& host = startHost();
    host.dialogs().answerMessage = nullptr;  // the real box
    for (const bool shown : {true, false}) {
      host.setVisible(shown);
      if (shown) QVERIFY(QTest::qWaitForWindowExposed(&host));
      QPoint centre;
      once([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
           [&] {
             QWidget* box = QApplication::activeModalWidget();
             centre = box->geometry().center();
             static_cast<QMessageBox*>(box)->done(0);
           });
      host.dialogs().messageBox("Centred?", "Tessalune", platform::Icon::Information, platform::Buttons::Ok);
      const QPoint expected = shown ? host.geometry().center() : host.screen()->availableGeometry().center();
      QVERIFY2((centre - expected).manhattanLength() <= 4, qPrintable(QString("%1: %2,%3 for %4,%5")
                                                                          .arg(shown)
                                                                          .arg(centre.x())
                                                                          .arg(centre.y())
                                                                          .arg(expected.x())
                                                                          .arg(expected.y())));
    }
  }

  // A halted plug-in shows in the host: a status line, its commands greyed and not sent as
  // chat text, until it is loaded again.
  void aHaltedPlugInIsShownUntilItIsLoadedAgain() {
    HostWindow& host = startHost();
    std::ofstream(store::configFilePath(pluginDir()), std::ios::trunc) << "<config><broken";
    host.plugin().prefs()->chkNick.click();  // the write meets a malformed file: the plug-in halts
    QTRY_VERIFY(host.plugin().halted());
    QTRY_VERIFY(!host.statusBar()->currentMessage().isEmpty());
    QVERIFY(host.loadAgainAction()->isEnabled());
    type(commandLine(plugin::Command::Preferences));
    QVERIFY(!host.conversation()->toPlainText().contains(commandLine(plugin::Command::Preferences)));
    // A word the plug-in would not take is chat text, whatever a Unicode case folding makes
    // of it ("\u017F", the long s, folds to "s").
    const QString folded = QString::fromUtf8("/xte\u017F\u017Falunecfg");
    host.input()->setText(folded);  // typed by hand: the test's keys are ASCII
    QTest::keyClick(host.input(), Qt::Key_Return);
    QVERIFY(host.conversation()->toPlainText().contains(folded));
    store::writeDefaultConfiguration(pluginDir(), lang::LanguageId::fallback().catalogueId());
    host.loadAgainAction()->trigger();
    QVERIFY(!host.plugin().halted());
    QVERIFY(host.statusBar()->currentMessage().isEmpty());
    QVERIFY(!host.loadAgainAction()->isEnabled());
  }

  // The host speaks the plug-in's language, and follows it when the preferences change it.
  void theHostSpeaksThePlugInsLanguage() {
    HostWindow& host = startHost();
    QCOMPARE(host.quickStyle()->findChild<QPushButton*>("send")->text(), QString("Send"));
    onShown([&](WindowView& view) {
      auto* languages = static_cast<QComboBox*>(widget(view, "combo_lang"));
      languages->setCurrentIndex(0);
      emit languages->activated(0);  // Français, as a person picks it
    });
    type(commandLine(plugin::Command::Preferences));
    QCOMPARE(host.quickStyle()->findChild<QPushButton*>("send")->text(), QString("Envoyer"));
    // The entries fit after the switch, though the panel was first shown in English.
    for (auto* combo : host.quickStyle()->findChildren<QComboBox*>()) {
      QTRY_VERIFY2(combo->width() >= combo->fontMetrics().horizontalAdvance(combo->currentText()) + 16,
                   qPrintable(combo->currentText()));
    }
    // Qt's own dialogs too, from Qt's translations.
    QCOMPARE(QColorDialog::tr("&Basic colors"), QString("Couleurs de &base"));
    QCOMPARE(host.input()->placeholderText(),
             QString("Tapez un message ou une commande comme /xtessalune, puis Entrée"));
    type("Salut");
    QVERIFY(host.conversation()->toPlainText().contains("Envoyé : Salut"));
  }

  // A phrase that introduces one of the plug-in's messages is said in the message's language
  // (the system's), the host's other words in the plug-in's.
  void thePreviewIntroducesAMessageInItsLanguage() {
    const QByteArray system = qgetenv("LC_ALL");
    qputenv("LC_ALL", "es_ES.UTF-8");
    HostWindow& host = startHost();
    system.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", system);
    onShown([&](WindowView& view) {
      auto* languages = static_cast<QComboBox*>(widget(view, "combo_lang"));
      languages->setCurrentIndex(0);
      emit languages->activated(0);  // Français
    });
    type(commandLine(plugin::Command::Preferences));
    desktop::QuickStylePanel& quick = *host.quickStyle();
    QCOMPARE(quick.findChild<QPushButton*>("send")->text(), QString("Envoyer"));
    quick.text()->setText(QString(130, 'x'));  // too long for a nickname
    quick.preview()->refresh();
    QVERIFY2(quick.preview()->noteText().startsWith("Aceptar diría: "),
             qPrintable(quick.preview()->noteText()));
  }

  // An import restarts the plug-in: its windows are replaced and the views follow them.
  void anImportReplacesTheWindowsAndTheEditorStillWorks() {
    HostWindow& host = startHost();
    const std::string exported = (pluginDir() / "saved.xml").string();
    host.dialogs().answerFile = [&](const platform::FileDialogRequest&) { return exported; };
    const ui::EditorWindow* before = host.plugin().editor();
    onShown([&](WindowView& view) {
      if (view.window().name() != "frmPrefs") return;
      click(view, "btnExport_label");
      click(view, "btnImport_label");
    });
    type(commandLine(plugin::Command::Preferences));
    QVERIFY(messages_.join("\n").contains("imported successfully"));
    QVERIFY(host.plugin().editor() != before);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(host.input()));  // typing goes on
    onShown([&](WindowView& view) {
      QVERIFY(&view.window() == host.plugin().editor());
      click(view, "btnOK_label");
    });
    type(commandLine(plugin::Command::Nickname));
    QVERIFY(!host.plugin().editor()->visible());
  }

  // A window opened from another stacks centred over it, and unloading after the editor has
  // closed drops every view exactly once, whichever view the host drops first.
  void windowsOpenedFromOthersStackOverThemAndGoOnce() {
    HostWindow& host = startHost();
    QStringList opened, notStacked;
    std::vector<QPointer<WindowView>> openers;
    QPointer<WindowView> editorView;
    onShown([&](WindowView& view) {
      if (openers.empty()) editorView = &view;
      opened << QString::fromStdString(view.window().name());
      if (!openers.empty()) {
        WindowView* opener = openers.back();
        const bool stacked = opener && view.windowHandle() &&
                             view.windowHandle()->transientParent() == opener->windowHandle() &&
                             view.geometry().center() == opener->geometry().center();
        if (!stacked) notStacked << opened.last();
      }
      openers.emplace_back(&view);
      const QStringList buttons = view.window().name() == "frmPrincipal"
                                      ? QStringList{"btnPrefs_label", "btnAbout", "btnHelp"}
                                  : view.window().name() == "frmPrefs" ? QStringList{"btnUpd_label"}
                                                                       : QStringList{};
      for (const QString& button : buttons) {
        // Clicked once it is the active window again, as a person's click makes it (a window
        // stacked over another reads as active as soon as its opener is: the application's
        // word is waited for).
        view.activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &view);
        click(view, qPrintable(button));
      }
      openers.pop_back();
    });
    type(commandLine(plugin::Command::Nickname));
    QCOMPARE(opened, (QStringList{"frmPrincipal", "frmPrefs", "frmUpd", "frmAbout", "frmHelp"}));
    host.plugin().Uninitialize();  // drops the views of the unloaded windows
    QVERIFY(!editorView);
    QVERIFY2(notStacked.isEmpty(), qPrintable(notStacked.join(", ")));
  }

  // Check, download from a server that sends slowly, and Cancel clicked while the body
  // arrives: the progress has moved, the window says the download was aborted, no file is left.
  void aRunningDownloadIsCancelledFromItsWindow() {
    test::HttpTestServer server;
    server.serveBody("/TLupdate", "2.1.000");
    server.serveSlowly("/TLsetup.exe", 1024, 300, std::chrono::milliseconds(10));
    ::setenv("TESSALUNE_UPDATE_URL", server.url("/").c_str(), 1);
    HostWindow& host = startHost();
    ::unsetenv("TESSALUNE_UPDATE_URL");
    ui::UpdateWindow& update = *host.plugin().update();
    onShown([&](WindowView& view) {
      click(view, "btnCheck_label");
      QVERIFY(update.btnDwld.visible());
      bool cancelled = false;
      const ui::Subscription progress = update.lbl_progress.subscribe([&](ui::Control&, ui::Property) {
        if (!cancelled && update.progressBar.width() > ui::UpdateWindow::kEmptyProgressWidth) {
          cancelled = true;
          QWidget* cancel = widget(view, "btnCancel");
          QTest::mouseClick(cancel, Qt::LeftButton, {}, cancel->rect().center());
        }
      });
      click(view, "btnDwld_label");
      QVERIFY(cancelled);
      QCOMPARE(static_cast<QLabel*>(widget(view, "lbl_majInfo"))->text(), QString("Download aborted."));
      QTest::keyClick(&view, Qt::Key_Escape);
    });
    update.showModal(host.windows());
    QVERIFY(!std::filesystem::exists(pluginDir() / "Tessalune" / "TLsetup.exe"));
    for (const auto& entry : std::filesystem::directory_iterator(pluginDir() / "Tessalune")) {
      QVERIFY(!entry.path().filename().string().starts_with("TLsetup"));
    }
    host.plugin().Uninitialize();  // closes the connection before the server stops
  }

  // A check that waits on a server that does not answer leaves the window usable: Escape and
  // Close hide it at once while the check still waits, it opens again, usable, while the check
  // goes on behind it, and a check after a failed one starts in the normal colour.
  void closeHidesTheUpdateWindowWhileACheckWaits() {
    test::HttpTestServer server;
    server.serveStatus("/TLupdate", 404);
    ::setenv("TESSALUNE_UPDATE_URL", server.url("/").c_str(), 1);
    HostWindow& host = startHost();
    ::unsetenv("TESSALUNE_UPDATE_URL");
    ui::UpdateWindow& update = *host.plugin().update();
    std::atomic<bool> answer = false;
    QColor failedColour, checkingColour, normalColour;
    bool hiddenWhileWaiting = false, closedWhileWaiting = false;
    int shown = 0;
    bool usableAgain = false;
    onShown([&](WindowView& view) {
      if (++shown == 2) {  // opened again while the first check still waits
        usableAgain = widget(view, "btnClose")->isEnabled() && view.isVisible();
        click(view, "btnClose");
        closedWhileWaiting = !view.isVisible() && !update.visible() && server.silencesHeld() == 1;
        return;
      }
      const auto colour = [&] { return widget(view, "lbl_majInfo")->palette().color(QPalette::WindowText); };
      normalColour = view.palette().color(QPalette::WindowText);
      click(view, "btnCheck_label");  // refused by the server
      failedColour = colour();
      server.serveSilence("/TLupdate", answer);
      once([&] { return server.silencesHeld() == 1; },
           [&] {
             checkingColour = colour();
             QTest::keyClick(&view, Qt::Key_Escape);  // a key, as Close's click
             hiddenWhileWaiting = !view.isVisible() && !update.visible() && server.silencesHeld() == 1;
             QTimer::singleShot(0, &view, [&] {
               update.showModal(host.windows());
               answer = true;  // the server speaks at last; the check ends
             });
           });
      click(view, "btnCheck_label");
    });
    update.showModal(host.windows());
    QVERIFY2(failedColour.hue() == 0 && failedColour != normalColour, qPrintable(failedColour.name()));
    QCOMPARE(checkingColour, normalColour);
    QVERIFY(hiddenWhileWaiting);
    QVERIFY(usableAgain);
    QVERIFY(closedWhileWaiting);
    host.plugin().Uninitialize();
  }

  // The automatic update check runs when the host is idle and gives way to the user: a
  // command typed while the server keeps quiet runs, and the check is given up at once, so
  // what the server says right after the command is never read.
  void theAutomaticCheckGivesWayToACommand() {
    test::HttpTestServer server;
    std::atomic<bool> answer = false;
    server.serveSilence("/TLupdate", answer, "1.0.000");  // older than this version: no window
    ::setenv("TESSALUNE_UPDATE_URL", server.url("/").c_str(), 1);
    HostWindow& host = startHost(true);
    ::unsetenv("TESSALUNE_UPDATE_URL");
    once([&] { return server.silencesHeld() == 1; },
         [&] {
           type("/xfoo typed");
           answer = true;
         });
    host.runIdleWork();
    // A check that had read the answer would say that no update is available.
    QCOMPARE(host.plugin().update()->lbl_majInfo.caption(), std::string("Error during search"));
    QCOMPARE(server.requestCount(), 1);
    QVERIFY(host.conversation()->toPlainText().contains("/xfoo typed"));
    QVERIFY(messages_.isEmpty());
    host.plugin().Uninitialize();  // closes the connection before the server stops
  }

  // Measured with the font the widgets use: a caption fits its control in every language.
  void everyCaptionFitsInEveryLanguage() {
    HostWindow& host = startHost();
    plugin::Plugin& p = host.plugin();
    for (const lang::Language& row : lang::kLanguages) {
      const int language = row.position;
      p.prefs()->applyLanguageAt(language);
      for (ui::Window* w : std::initializer_list<ui::Window*>{p.editor(), p.about(), p.prefs(), p.update(),
                                                              p.quickNicks(), p.help()}) {
        WindowView& view = host.windows().viewOf(*w);
        for (ui::Control* c : w->controls()) {
          QWidget* shown = view.widgetOf(*c);
          const QString text = QString::fromStdString(c->caption());
          if (text.isEmpty()) continue;
          const QFontMetrics metrics(shown->font());
          const QRect room = shown->rect();
          bool fits = true;
          if (qobject_cast<QLabel*>(shown)) {
            fits = metrics.boundingRect(room, Qt::TextWordWrap, text).height() <= room.height() + 2 &&
                   metrics.boundingRect(room, Qt::TextWordWrap, text).width() <= room.width();
          } else if (qobject_cast<QCheckBox*>(shown) || qobject_cast<QRadioButton*>(shown)) {
            fits = metrics.horizontalAdvance(text) + 20 <= room.width();  // a box's caption stays on one line
          }
          QVERIFY2(fits, qPrintable(QString("%1 %2.%3 \"%4\"")
                                        .arg(language)
                                        .arg(QString::fromStdString(w->name()),
                                             QString::fromStdString(c->name()), text)));
        }
        // Each caption a key presses has an access key no other control of the window has;
        // the window's captions themselves stay as the language file has them.
        QStringList keyed;
        for (ui::Control* c : w->controls()) {
          QWidget* shown = view.widgetOf(*c);
          const QString caption = QString::fromStdString(c->caption());
          // A glyph such as an arrow has no letter to give.
          if (!std::any_of(caption.begin(), caption.end(), [](QChar ch) { return ch.isLetterOrNumber(); }))
            continue;
          if (auto* button = qobject_cast<QAbstractButton*>(shown)) keyed << button->text();
          if (auto* label = qobject_cast<QLabel*>(shown); label && label->buddy()) keyed << label->text();
        }
        QVERIFY2(!keyed.isEmpty() || w == p.help() || w == p.about(), w->name().c_str());
        QStringList clashes;
        QSet<QChar> keys;
        for (const QString& text : keyed) {
          const QChar key = desktop::mnemonicOf(text);
          if (key.isNull()) continue;  // more captions than free letters: some go without
          if (keys.contains(key)) clashes << text;
          keys.insert(key);
        }
        QVERIFY2(clashes.isEmpty(),
                 qPrintable(QString("%1 %2: %3")
                                .arg(language)
                                .arg(QString::fromStdString(w->name()), clashes.join(", "))));
        // What a frame holds stands below its caption, and a command is never split at its slash.
        for (auto* frame : view.findChildren<QGroupBox*>()) {
          if (frame->title().isEmpty()) continue;
          // The caption's line of text, and the frame's own line below it when the style draws one.
          const int band = std::max(frame->contentsRect().top(), QFontMetrics(frame->font()).height());
          for (auto* child : frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            QVERIFY2(!child->isVisibleTo(frame) || child->geometry().top() >= band,
                     qPrintable(QString("%1 %2 under the caption of %3")
                                    .arg(language)
                                    .arg(child->objectName(), frame->objectName())));
          }
        }
        for (auto* label : view.findChildren<QLabel*>()) {
          QTextLayout layout(label->text(), label->font());
          layout.beginLayout();
          for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(label->width());
            const QString shown = label->text().mid(line.textStart(), line.textLength()).trimmed();
            QVERIFY2(!shown.endsWith('/'), qPrintable(label->objectName() + ": " + shown));
          }
          layout.endLayout();
        }
      }
    }
  }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
