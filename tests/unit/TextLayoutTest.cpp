// DrawText-style layout on a face where every character is 6 pixels wide
// and a line is 10 pixels high, so every expected figure can be worked out
// by hand.
#include <gtest/gtest.h>

#include "gfx/TextLayout.h"
#include "base/Utf8.h"
#include "tests/unit/FakeFontFace.h"

namespace gfx {
namespace {

using testing::FakeFontFace;

std::vector<std::string> Texts(const TTextLayout& layout) {
    std::vector<std::string> texts;
    for (const TLayoutLine& line : layout.Lines) texts.push_back(base::EncodeUtf8(line.Text));
    return texts;
}

using Lines = std::vector<std::string>;

class TextLayoutTest : public ::testing::Test {
protected:
    TTextLayout Layout(std::string_view text, TRect rect, unsigned format) {
        return LayoutText(face_, text, rect, format);
    }
    FakeFontFace face_;
};

TEST(Utf8, DecodesValidTextAndReplacesEachBrokenSequenceOnce) {
    EXPECT_EQ(base::DecodeUtf8("a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"), U"a\u00E9\u3042\U0001F600");
    EXPECT_EQ(base::DecodeUtf8("\x80x"), U"\uFFFDx");                // stray continuation byte
    EXPECT_EQ(base::DecodeUtf8("\xE3\x81x"), U"\uFFFDx");            // sequence cut short
    EXPECT_EQ(base::DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");        // overlong '/'
    EXPECT_EQ(base::DecodeUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");  // surrogate
    EXPECT_EQ(base::DecodeUtf8("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
    EXPECT_EQ(base::DecodeUtf8("ab\xF0\x9F"), U"ab\uFFFD");          // cut at the end of the text
}

TEST(Utf8, EncodesBackAndReplacesImpossibleCodePoints) {
    const std::string text = "Sorimo \xE3\x83\x92\xE3\x83\xB3\xE3\x83\x88 \xF0\x9F\x98\x80";
    EXPECT_EQ(base::EncodeUtf8(base::DecodeUtf8(text)), text);
    EXPECT_EQ(base::EncodeUtf8(U"\xD800"), "\xEF\xBF\xBD");
    EXPECT_EQ(base::EncodeUtf8(std::u32string(1, char32_t(0x110000))), "\xEF\xBF\xBD");
}

TEST_F(TextLayoutTest, AlignsLinesHorizontallyWithinTheRectangle) {
    const TRect rect{10, 20, 110, 60};  // 100 wide; "abcd" is 24
    EXPECT_EQ(Layout("abcd", rect, DT_LEFT).Lines[0].X, 0);
    EXPECT_EQ(Layout("abcd", rect, DT_CENTER).Lines[0].X, 38);
    EXPECT_EQ(Layout("ab", {0, 0, 25, 10}, DT_CENTER).Lines[0].X, 6);  // an odd spare pixel goes right
    EXPECT_EQ(Layout("abcd", rect, DT_RIGHT).Lines[0].X, 76);
    // Each line of a paragraph set is aligned on its own.
    const TTextLayout two = Layout("ab\nabcd", rect, DT_RIGHT);
    EXPECT_EQ(two.Lines[0].X, 88);
    EXPECT_EQ(two.Lines[1].X, 76);
}

TEST_F(TextLayoutTest, VerticalAlignmentAppliesToSingleLinesOnly) {
    const TRect rect{0, 0, 100, 31};
    const TTextLayout centred = Layout("ab", rect, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(centred.Lines[0].Y, 10);
    EXPECT_EQ(centred.Height, 20);  // from the rectangle's top to the text's bottom
    const TTextLayout bottom = Layout("ab", rect, DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(bottom.Lines[0].Y, 21);
    EXPECT_EQ(bottom.Height, 31);
    const TTextLayout multi = Layout("ab", rect, DT_VCENTER);
    EXPECT_EQ(multi.Lines[0].Y, 0);
    EXPECT_EQ(multi.Height, 10);
    // A rectangle lower than the line moves the text up, truncating toward 0.
    EXPECT_EQ(Layout("ab", {0, 0, 100, 5}, DT_SINGLELINE | DT_VCENTER).Lines[0].Y, -2);
}

TEST_F(TextLayoutTest, BreaksLinesAtLineFeedsUnlessSingleLine) {
    const TRect rect{0, 0, 100, 100};
    const TTextLayout three = Layout("ab\ncd\r\n\nef", rect, DT_LEFT);
    EXPECT_EQ(Texts(three), (Lines{"ab", "cd", "", "ef"}));
    EXPECT_EQ(three.Lines[3].Y, 30);
    EXPECT_EQ(three.Height, 40);
    EXPECT_EQ(Texts(Layout("ab\n", rect, DT_LEFT)), (Lines{"ab"}));
    // On one line the breaks are kept but take no room.
    const TTextLayout single = Layout("ab\r\ncd", rect, DT_SINGLELINE);
    ASSERT_EQ(single.Lines.size(), 1u);
    EXPECT_EQ(single.Lines[0].Width, 24);
}

TEST_F(TextLayoutTest, EmptyTextHasNoLinesAndNoHeight) {
    const TTextLayout empty = Layout("", {5, 6, 50, 60}, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    EXPECT_TRUE(empty.Lines.empty());
    EXPECT_EQ(empty.Height, 0);
    EXPECT_EQ(empty.Bounds, (TRect{5, 6, 5, 6}));
}

TEST_F(TextLayoutTest, WordBreakBreaksAtBlanksAndDropsThem) {
    EXPECT_EQ(Texts(Layout("aaa bbb ccc", {0, 0, 45, 100}, DT_WORDBREAK)), (Lines{"aaa bbb", "ccc"}));
    EXPECT_EQ(Texts(Layout("aaa bbb ccc", {0, 0, 40, 100}, DT_WORDBREAK)), (Lines{"aaa", "bbb", "ccc"}));
    EXPECT_EQ(Texts(Layout("aa    bb", {0, 0, 24, 100}, DT_WORDBREAK)), (Lines{"aa", "bb"}));
    // Blanks that start a paragraph are the writer's indentation: kept.
    EXPECT_EQ(Texts(Layout("  aa bb", {0, 0, 30, 100}, DT_WORDBREAK)), (Lines{"  aa", "bb"}));
    // A line's width ends at its last character, not at the dropped blank.
    EXPECT_EQ(Layout("aaa bbb", {0, 0, 40, 100}, DT_WORDBREAK | DT_RIGHT).Lines[0].X, 22);
}

TEST_F(TextLayoutTest, WordBreakSplitsAWordWiderThanTheRectangle) {
    EXPECT_EQ(Texts(Layout("ab abcdefghij", {0, 0, 30, 100}, DT_WORDBREAK)), (Lines{"ab", "abcde", "fghij"}));
    // Even a rectangle narrower than one character gets one per line.
    EXPECT_EQ(Texts(Layout("abc", {0, 0, 0, 100}, DT_WORDBREAK)), (Lines{"a", "b", "c"}));
    // DT_SINGLELINE wins over DT_WORDBREAK.
    EXPECT_EQ(Texts(Layout("aaa bbb", {0, 0, 20, 100}, DT_WORDBREAK | DT_SINGLELINE)), (Lines{"aaa bbb"}));
}

TEST_F(TextLayoutTest, ExpandedTabsStopEveryEightAverageCharacters) {
    const TRect rect{0, 0, 400, 100};
    EXPECT_EQ(Layout("a\tb", rect, DT_EXPANDTABS).Lines[0].PenX, (std::vector<int>{0, 6, 48, 54}));
    EXPECT_EQ(Layout("aaaaaaaa\tb", rect, DT_EXPANDTABS).Lines[0].Width, 102);
    // Stops count from each line's start, also after a word break.
    const TTextLayout wrapped = Layout("aaaa bb\tc", {0, 0, 40, 100}, DT_EXPANDTABS | DT_WORDBREAK);
    EXPECT_EQ(Texts(wrapped), (Lines{"aaaa", "bb", "c"}));
    EXPECT_EQ(Layout("a\tb", rect, DT_LEFT).Lines[0].Width, 12);
}

TEST_F(TextLayoutTest, PrefixesUnderlineTheirCharacterUnlessNoPrefix) {
    const TRect rect{0, 0, 200, 100};
    const TTextLayout file = Layout("&File", rect, DT_LEFT);
    EXPECT_EQ(Texts(file), (Lines{"File"}));
    EXPECT_EQ(file.Lines[0].Underline, 0);
    const TTextLayout amp = Layout("Fish && &Chips", rect, DT_LEFT);
    EXPECT_EQ(Texts(amp), (Lines{"Fish & Chips"}));
    EXPECT_EQ(amp.Lines[0].Underline, 7);
    EXPECT_EQ(Layout("&a&b", rect, DT_LEFT).Lines[0].Underline, 1);
    EXPECT_EQ(Texts(Layout("ab&", rect, DT_LEFT)), (Lines{"ab"}));
    const TTextLayout space = Layout("& ", rect, DT_LEFT);
    EXPECT_EQ(Texts(space), (Lines{" "}));
    EXPECT_EQ(space.Lines[0].Underline, 0);
    const TTextLayout literal = Layout("&File", rect, DT_NOPREFIX);
    EXPECT_EQ(Texts(literal), (Lines{"&File"}));
    EXPECT_EQ(literal.Lines[0].Underline, -1);
    // The accelerator follows its character onto a wrapped line.
    const TTextLayout wrapped = Layout("aaa b&cd", {0, 0, 24, 100}, DT_WORDBREAK);
    EXPECT_EQ(Texts(wrapped), (Lines{"aaa", "bcd"}));
    EXPECT_EQ(wrapped.Lines[0].Underline, -1);
    EXPECT_EQ(wrapped.Lines[1].Underline, 1);
}

TEST_F(TextLayoutTest, CalcRectFitsTheRectangleToTheText) {
    // One line: the width grows (or shrinks) to the text.
    EXPECT_EQ(Layout("abcd", {10, 20, 15, 25}, DT_CALCRECT | DT_SINGLELINE).Bounds, (TRect{10, 20, 34, 30}));
    // Several lines: the widest line and all lines' height.
    EXPECT_EQ(Layout("ab\nabcde\nc", {0, 0, 100, 5}, DT_CALCRECT).Bounds, (TRect{0, 0, 30, 30}));
    // Word break: broken within the width, then narrowed to the widest line.
    EXPECT_EQ(Layout("aaa bbb ccc", {0, 0, 45, 0}, DT_CALCRECT | DT_WORDBREAK).Bounds, (TRect{0, 0, 42, 20}));
    // Alignment does not move the measured rectangle.
    EXPECT_EQ(Layout("ab", {0, 0, 100, 0}, DT_CALCRECT | DT_RIGHT).Bounds, (TRect{0, 0, 12, 10}));
    // A rectangle narrower than a character is widened to it.
    EXPECT_EQ(Layout("ab", {0, 0, 4, 0}, DT_CALCRECT | DT_WORDBREAK).Bounds, (TRect{0, 0, 6, 20}));
}

TEST_F(TextLayoutTest, EndEllipsisCutsTooWideLinesToFitWithDots) {
    const TTextLayout cut = Layout("abcdefghij", {0, 0, 40, 10}, DT_END_ELLIPSIS);
    EXPECT_EQ(Texts(cut), (Lines{"abc..."}));
    EXPECT_EQ(cut.Lines[0].Width, 36);
    EXPECT_EQ(Texts(Layout("abcdef", {0, 0, 36, 10}, DT_END_ELLIPSIS)), (Lines{"abcdef"}));
    EXPECT_EQ(Texts(Layout("abcdefg", {0, 0, 10, 10}, DT_END_ELLIPSIS)), (Lines{"..."}));
    // Each paragraph on its own; the accelerator goes when its character does.
    const TTextLayout two = Layout("ab\n&abcdefgh&ij", {0, 0, 40, 10}, DT_END_ELLIPSIS);
    EXPECT_EQ(Texts(two), (Lines{"ab", "abc..."}));
    EXPECT_EQ(two.Lines[1].Underline, -1);
    EXPECT_EQ(Layout("&abcdefghij", {0, 0, 40, 10}, DT_END_ELLIPSIS).Lines[0].Underline, 0);
    // Measuring sees the shortened line.
    EXPECT_EQ(Layout("abcdefghij", {0, 0, 40, 10}, DT_END_ELLIPSIS | DT_CALCRECT).Bounds.Right, 36);
}

TEST_F(TextLayoutTest, PathEllipsisKeepsTheFileNameAndCutsTheMiddle) {
    const std::string path = "C:\\dir\\sub\\file.txt";  // 19 characters, 114 px
    EXPECT_EQ(Texts(Layout(path, {0, 0, 90, 10}, DT_PATH_ELLIPSIS)), (Lines{"C:\\...\\file.txt"}));
    EXPECT_EQ(Texts(Layout("/usr/lib/a.so", {0, 0, 60, 10}, DT_PATH_ELLIPSIS)), (Lines{"/u.../a.so"}));
    EXPECT_EQ(Texts(Layout(path, {0, 0, 200, 10}, DT_PATH_ELLIPSIS)), (Lines{path}));
    // Too narrow even for "..." and the file name: whole characters that fit.
    EXPECT_EQ(Texts(Layout(path, {0, 0, 60, 10}, DT_PATH_ELLIPSIS)), (Lines{"...\\file.t"}));
    EXPECT_EQ(Texts(Layout(path, {0, 0, 60, 10}, DT_PATH_ELLIPSIS | DT_END_ELLIPSIS)), (Lines{"...\\fil..."}));
    // Without a separator the end is cut.
    EXPECT_EQ(Texts(Layout("abcdefghij", {0, 0, 40, 10}, DT_PATH_ELLIPSIS)), (Lines{"abc..."}));
    // The accelerator of the file name moves with it.
    const TTextLayout acc = Layout("C:\\dir\\sub\\&file.txt", {0, 0, 90, 10}, DT_PATH_ELLIPSIS);
    EXPECT_EQ(acc.Lines[0].Underline, 7);
}

}  // namespace
}  // namespace gfx
