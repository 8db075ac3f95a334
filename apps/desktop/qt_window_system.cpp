#include "qt_window_system.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QSettings>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "editor_preview.h"
#include "editor_tooltips.h"
#include "plugin/plugin.h"
#include "screen_fit.h"
#include "ui/editor_window.h"

namespace tessalune::desktop {

namespace {

// The editor preview's height in pixels, below the editor's own controls.
constexpr int kEditorPreviewHeight = 64;

// Where a window's size and place are kept in the host's own settings, one entry per window.
QString geometryKey(const ui::Window& window) {
  return "windows/" + QString::fromStdString(window.name()) + "/geometry";
}

}  // namespace

QtWindowSystem::~QtWindowSystem() {
  subscriptions_.clear();
  dropViews();
}

void QtWindowSystem::follow(plugin::Plugin& plugin, const HostTexts& texts, int twipsPerPixel) {
  stopFollowing();
  setContext(ViewContext{&plugin.drawing(), twipsPerPixel,
                         [&plugin] {
                           ui::EditorWindow* editor = plugin.editor();
                           return editor ? editor->paintStyles() : ui::gdi::LastStyles{};
                         },
                         &texts,
                         [&plugin](const ui::Control& c) -> std::optional<bool> {
                           ui::EditorWindow* editor = plugin.editor();
                           if (!editor) return std::nullopt;
                           const engine::RichTextBox& box = editor->currentEditorBox().box();
                           engine::Tristate state;
                           if (&c == &editor->btnBold)
                             state = box.selBold();
                           else if (&c == &editor->btnItalic)
                             state = box.selItalic();
                           else if (&c == &editor->btnUline)
                             state = box.selUnderline();
                           else if (&c == &editor->btnSO)
                             state = box.selStrikeThru();
                           else
                             return std::nullopt;
                           return state == engine::Tristate::True;
                         }});
  // The editor shows what OK would give under its box.
  onCreated = [&plugin, &texts](WindowView& view) {
    if (ui::EditorWindow* editor = plugin.editor(); editor && &view.window() == editor) {
      view.setFooter(new EditorPreview(*editor, texts), kEditorPreviewHeight);
      new EditorToolTips(view, texts);  // the view owns it
    }
  };
  subscriptions_.push_back(plugin.drawing().subscribe([this] { repaintDrawn(); }));
  subscriptions_.push_back(plugin.subscribeWindows([this](plugin::Plugin::WindowsEvent event) {
    if (event == plugin::Plugin::WindowsEvent::Unloaded) dropViews();
  }));
}

void QtWindowSystem::stopFollowing() {
  subscriptions_.clear();
  onCreated = nullptr;
  dropViews();
}

WindowView& QtWindowSystem::viewOf(ui::Window& window) {
  std::unique_ptr<WindowView>& view = views_[&window];
  if (!view) {
    view = std::make_unique<WindowView>(window, context_);
    if (onCreated) onCreated(*view);
  }
  return *view;
}

void QtWindowSystem::runModal(ui::Window& window) {
  QPointer<WindowView> view = &viewOf(window);
  QEventLoop loop;
  const ui::Subscription hidden = window.subscribe([&loop, &window, &view](ui::Control&, ui::Property p) {
    if (p != ui::Property::Visible || window.visible()) return;
    // Hidden at once: a handler of the window may still be running (a transfer that waits),
    // and the loop returns only once it has.
    if (view) view->hide();
    loop.quit();
  });
  // Stacked and centred over the window it is opened from, which does not own it: the view
  // shown modally last, else the active window (activation follows a closed view only later).
  QWidget* opener = active_.empty() ? QApplication::activeWindow() : active_.back();
  if (opener && opener != view && opener->windowHandle()) {
    view->winId();  // gives the view its native window
    view->windowHandle()->setTransientParent(opener->windowHandle());
    QRect placed = view->geometry();
    placed.moveCenter(opener->geometry().center());
    view->setGeometry(placed);
  }
  // The size it had when it was last closed (a window of fixed size keeps its own), and
  // where the platform lets a program place its windows (X11) its place, fitted to the
  // screen; a window never shown before opens as placed above.
  if (const QRect kept = QSettings().value(geometryKey(window)).toRect(); !kept.isEmpty()) {
    const bool placeable = QGuiApplication::platformName() == "xcb";
    const QRect fitted =
        fittedToScreen(*view, QRect(placeable ? kept.topLeft() : view->geometry().topLeft(), kept.size()));
    if (placeable)
      view->setGeometry(fitted);  // the window's own area, whatever frame the window manager adds
    else
      view->resize(fitted.size());
  }
  active_.push_back(view);
  view->show();
  view->raise();
  view->activateWindow();
  if (onShown) onShown(*view);
  if (window.visible()) loop.exec();
  if (view) QSettings().setValue(geometryKey(window), view->geometry());
  active_.pop_back();
  if (view) view->hide();  // gone when a restart replaced the windows meanwhile
}

void QtWindowSystem::dropViews() {
  // A view whose window is still in its modal loop goes once the loop has returned; any other
  // goes now, before its window does (its preview's timer would read the window).
  // The map is emptied first: a view's end may run code that reaches back here.
  std::map<const ui::Window*, std::unique_ptr<WindowView>> dropped = std::exchange(views_, {});
  for (auto& [window, view] : dropped) {
    if (std::find(active_.begin(), active_.end(), view.get()) != active_.end()) {
      view.release()->deleteLater();  // handed to Qt, which alone deletes it now
    }
  }
  dropped.clear();
}

void QtWindowSystem::repaintDrawn() {
  for (const auto& [window, view] : views_) view->repaintDrawn();
}

}  // namespace tessalune::desktop
