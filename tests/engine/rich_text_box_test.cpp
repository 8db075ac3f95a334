#include "engine/rich_text_box.h"

#include <gtest/gtest.h>

namespace tessalune::engine {
namespace {

constexpr ColourNumber kRed = 0x0000FF;

TEST(RichTextBox, PositionsCountCharactersAndLineBreaksCountTwo) {
  RichTextBox box;
  box.setText("\u00E9\U0001F600\nb");
  EXPECT_EQ(box.length(), 5);
  EXPECT_EQ(box.text(), "\u00E9\U0001F600\r\nb");
  box.select(1, 3);
  EXPECT_EQ(box.selectedText(), "\U0001F600\r\n");
}

TEST(RichTextBox, SelectionIsClampedAndSettingTheStartCollapsesIt) {
  RichTextBox box;
  box.setText("abc");
  box.select(1, 10);
  EXPECT_EQ(box.selLength(), 2);
  box.setSelStart(-4);
  EXPECT_EQ(box.selStart(), 0);
  EXPECT_EQ(box.selLength(), 0);
  EXPECT_EQ(box.selectedText(), "");
}

TEST(RichTextBox, TogglesReadTrueFalseOrMixed) {
  RichTextBox box;
  box.setText("abc");
  box.select(0, 2);
  box.setSelBold(true);
  EXPECT_EQ(box.selBold(), Tristate::True);
  box.select(1, 2);
  EXPECT_EQ(box.selBold(), Tristate::Mixed);
  box.select(2, 1);
  EXPECT_EQ(box.selBold(), Tristate::False);
}

TEST(RichTextBox, ReplacedTextTakesTheFormatOfTheFirstReplacedCharacter) {
  RichTextBox box;
  box.setText("abc");
  box.select(1, 1);
  box.setSelColor(kRed);
  box.setSelBold(true);
  box.replaceSelection("XY");
  EXPECT_EQ(box.text(), "aXYc");
  EXPECT_EQ(box.characters()[2].format.textColour, kRed);
  EXPECT_TRUE(box.characters()[2].format.bold);
  EXPECT_EQ(box.selStart(), 3);
  box.replaceSelection("z");  // at the caret: the format of the character before it
  EXPECT_TRUE(box.characters()[3].format.bold);
}

TEST(RichTextBox, FormatSetOnAnEmptySelectionAppliesToWhatIsTypedNext) {
  RichTextBox box;
  box.setText("ab");
  box.setSelStart(2);
  box.setSelItalic(true);
  EXPECT_EQ(box.selItalic(), Tristate::True);
  box.replaceSelection("c");
  EXPECT_TRUE(box.characters()[2].format.italic);
  EXPECT_FALSE(box.characters()[1].format.italic);
}

TEST(RichTextBox, ContentChangesNotifyFormatChangesDoNot) {
  RichTextBox box;
  int changes = 0;
  box.setChangeHandler([&] { ++changes; });
  box.setText("ab");
  box.select(0, 1);
  box.setSelBold(true);
  box.replaceSelection("c");
  box.setTextRtf("{\\rtf1 x}");
  EXPECT_EQ(changes, 3);
}

// An edit and what its change handler does to the box are one step of undo; a selection is
// none; a new edit after an undo drops what could be redone.
TEST(RichTextBox, UndoTakesBackAnEditWithWhatItsHandlerDid) {
  RichTextBox box;
  box.keepHistory(true);
  box.setChangeHandler([&] {  // colours the whole text after each edit, as the editor may
    const int start = box.selStart(), length = box.selLength();
    box.select(0, box.length());
    box.setSelColor(kRed);
    box.select(start, length);
  });
  box.replaceSelection("ab");
  box.replaceSelection("c");
  box.select(0, 1);
  box.setSelBold(true);
  ASSERT_EQ(box.text(), "abc");
  ASSERT_TRUE(box.undo());  // the bold
  EXPECT_EQ(box.selBold(), Tristate::False);
  EXPECT_EQ(box.selLength(), 1);  // the selection it was made on
  ASSERT_TRUE(box.undo());        // "c" and its colouring
  EXPECT_EQ(box.text(), "ab");
  EXPECT_EQ(box.characters().formatAt(1).textColour, BoxColour(kRed));
  ASSERT_TRUE(box.redo());
  EXPECT_EQ(box.text(), "abc");
  EXPECT_TRUE(box.canRedo());
  box.replaceSelection("d");
  EXPECT_FALSE(box.canRedo());
  while (box.undo()) {
  }
  EXPECT_EQ(box.text(), "");
  // Several changes made as one step go back together.
  box.beginStep();
  box.replaceSelection("x");
  box.replaceSelection("y");
  box.endStep();
  box.undo();
  EXPECT_EQ(box.text(), "");
}

// A box keeps each distinct format once: past 65 536 of them, and after recolouring has left
// most of them unused, every character still reads back its own. A copy recoloured leaves
// the original as it was.
TEST(RichTextBox, EveryCharacterKeepsItsFormatAmongMany) {
  constexpr int kChars = 70000;
  RichTextBox box;
  box.setText(std::string(kChars, 'x'));
  const auto paintAll = [&](ColourNumber offset) {
    for (int i = 0; i < kChars; ++i) {
      box.select(i, 1);
      box.setSelColor(offset + static_cast<ColourNumber>(i));
    }
  };
  paintAll(0);
  RichTextBox copy;
  copy.copyTextRtfFrom(box);
  paintAll(0x100000);
  for (int i = 0; i < kChars; i += 997) {
    EXPECT_EQ(box.characters()[static_cast<std::size_t>(i)].format.textColour, 0x100000 + i);
    EXPECT_EQ(copy.characters()[static_cast<std::size_t>(i)].format.textColour, i);
  }
  EXPECT_EQ(box.characters().back().format.textColour, 0x100000 + kChars - 1);
}

}  // namespace
}  // namespace tessalune::engine
