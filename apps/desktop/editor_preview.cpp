#include "editor_preview.h"

#include "engine/conversion_context.h"

namespace tessalune::desktop {

namespace {

PreviewResult convertCopy(ui::EditorWindow& editor) {
  const engine::ConversionContext ctx = editor.conversionContext();  // the mode, the suffix, the messages
  plugin::SilentConversion conversion(ctx.messages, {ctx.mode, ctx.noEnd, true, true});
  // What OK converts: in the code view too, the styled text, not the codes on show.
  engine::RichTextBox styled;
  styled.setTextRtf(editor.styledTextRtf());
  std::string coded = conversion.convert(styled, editor.backgroundFlag() != 0);
  return previewOf(conversion, ctx.messages, std::move(coded), engine::lengthLimit(ctx.mode));
}

}  // namespace

EditorPreview::EditorPreview(ui::EditorWindow& editor, const HostTexts& texts, QWidget* parent)
    : PlusPreview([&editor] { return convertCopy(editor); }, texts, parent) {
  // The text and its formats, backgrounds on or off, the suffix, and the mode (which
  // changes the window's caption).
  for (ui::Control* watched : std::initializer_list<ui::Control*>{
           &editor.rtf_nick, &editor.rtf_text, &editor.chk_BG, &editor.chk_noEnd, &editor}) {
    subscriptions_.push_back(watched->subscribe([this](ui::Control&, ui::Property) { changed(); }));
  }
  refresh();
}

}  // namespace tessalune::desktop
