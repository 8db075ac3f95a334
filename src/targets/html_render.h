#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/styled_text.h"

namespace tessalune::targets {

// How a run's formats are written: as CSS on a span (pages), as the tags chat clients render
// (<font color back>, <b>, <i>, <u>, <s>), which ignore italic given as CSS, or as the
// attributes of a Pango span (GTK's labels), where a line break is a plain one.
enum class HtmlMarkup { Styles, ChatTags, Pango };

// Styled characters as an HTML fragment: runs of equal format in <span style="..."> (or the
// chat tags), the text escaped, line breaks as <br>, control characters dropped.
std::string renderHtml(const engine::StyledText& text, HtmlMarkup markup = HtmlMarkup::Styles);
// The same, given to write in parts as it is made.
void renderHtml(const engine::StyledText& text, const std::function<void(std::string_view)>& write,
                HtmlMarkup markup = HtmlMarkup::Styles);

// Plus! text as it shows: its codes read the way the conversation window reads them, the
// result rendered as above.
std::string renderPlusHtml(std::string_view plus, HtmlMarkup markup = HtmlMarkup::Styles);
// The same when the text holds a Plus! code that changes what it shows; nothing for plain text.
std::optional<std::string> renderPlusCodes(std::string_view plus, HtmlMarkup markup = HtmlMarkup::Styles);

}  // namespace tessalune::targets
