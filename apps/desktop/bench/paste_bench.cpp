// What a long paste into the editor's message box costs the desktop host: the key, the box
// model taking the text, and the view showing it, as the window's view shows a change of the
// box's content. Runs offscreen unless a platform is set.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QString>

#include "box_edit.h"

namespace {

using tessalune::desktop::BoxEdit;
using tessalune::ui::RichTextControl;

QString textOfKilobytes(int kilobytes) {
  QString text;
  for (int line = 0; text.size() < kilobytes * 1024; ++line)
    text += QString("Line %1: the quick brown fox, caf\u00E9 \U0001F600 jumps.\n").arg(line);
  return text;
}

void BM_PasteIntoMessageBox(benchmark::State& state) {
  QApplication::clipboard()->setText(textOfKilobytes(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    state.PauseTiming();
    RichTextControl control("rtf_text");
    control.setMultiLine(true);
    BoxEdit box(control, nullptr, nullptr);
    box.resize(400, 240);
    box.show();
    QApplication::processEvents();
    state.ResumeTiming();

    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(&box, &paste);
    box.render();
    QApplication::processEvents();
    benchmark::DoNotOptimize(box.document()->characterCount());
  }
}
BENCHMARK(BM_PasteIntoMessageBox)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
