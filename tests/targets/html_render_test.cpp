#include "targets/html_render.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tessalune::targets {
namespace {

// Plus! text as a page shows it and as a chat client does: the same runs, the same escapes,
// the formats as CSS or as tags (italic among them, which chat clients ignore in CSS).
TEST(HtmlRender, WritesRunsAsStylesOrAsChatTags) {
  const struct {
    std::string plus;
    std::string styles;
    std::string chatTags;
  } cases[] = {
      // Plus! text lies on white paper: every run carries it unless it has a background.
      {"plain", "<span style=\"background-color:#FFFFFF;\">plain</span>",
       "<font back=\"#FFFFFF\">plain</font>"},
      {"\u00B7$4red\u00B70", "<span style=\"color:#FF0000;background-color:#FFFFFF;\">red</span>",
       "<font color=\"#FF0000\" back=\"#FFFFFF\">red</font>"},
      {"\u00B7$4,8on", "<span style=\"color:#FF0000;background-color:#FFFF00;\">on</span>",
       "<font color=\"#FF0000\" back=\"#FFFF00\">on</font>"},
      {"\u00B7#\u00B7&\u00B7@\u00B7'all",
       "<span style=\"background-color:#FFFFFF;font-weight:bold;font-style:italic;text-decoration:underline "
       "line-through;\">all</span>",
       "<font back=\"#FFFFFF\"><b><i><u><s>all</s></u></i></b></font>"},
      {"a<b>&\"c\u00B7#d",
       "<span style=\"background-color:#FFFFFF;\">a&lt;b&gt;&amp;&quot;c</span><span "
       "style=\"background-color:#FFFFFF;font-weight:bold;\">d</span>",
       "<font back=\"#FFFFFF\">a&lt;b&gt;&amp;&quot;c</font><font back=\"#FFFFFF\"><b>d</b></font>"},
      {"one\r\ntwo\x01", "<span style=\"background-color:#FFFFFF;\">one<br>\ntwo</span>",
       "<font back=\"#FFFFFF\">one<br>\ntwo</font>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(renderPlusHtml(c.plus, HtmlMarkup::Styles), c.styles) << c.plus;
    EXPECT_EQ(renderPlusHtml(c.plus, HtmlMarkup::ChatTags), c.chatTags) << c.plus;
  }
}

// GTK's labels take Pango's span attributes, and a plain line break.
TEST(HtmlRender, WritesPangoSpansForLabels) {
  EXPECT_EQ(renderPlusHtml("\u00B7$4,8a\u00B7#\u00B7&\u00B7@\u00B7'<b>\r\nc", HtmlMarkup::Pango),
            "<span foreground=\"#FF0000\" background=\"#FFFF00\">a</span><span foreground=\"#FF0000\" "
            "background=\"#FFFF00\" weight=\"bold\" style=\"italic\" underline=\"single\" "
            "strikethrough=\"true\">&lt;b&gt;\nc</span>");
}

// A received message is rendered only when a code changes what it shows; a colour code
// followed by a comma and digits takes them as its background.
TEST(HtmlRender, RendersOnlyTextThatHoldsCodes) {
  const struct {
    std::string plus;
    std::optional<std::string> chatTags;
  } cases[] = {
      {"no codes <b> & here", std::nullopt},
      // A middle dot that starts no code is not shown, as the conversation window reads it.
      {"5\u00B73 = 15\u00B7", "<font back=\"#FFFFFF\">53 = 15</font>"},
      {"\u00B7$4,5 apples", "<font color=\"#FF0000\" back=\"#800000\"> apples</font>"},
      {"x\u00B7&y", "<font back=\"#FFFFFF\">x</font><font back=\"#FFFFFF\"><i>y</i></font>"},
      {"\u00B7#", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(renderPlusCodes(c.plus, HtmlMarkup::ChatTags), c.chatTags) << c.plus;
}

}  // namespace
}  // namespace tessalune::targets
