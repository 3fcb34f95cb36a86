#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/TestFont.h"
#include "platform/edits/RichLayout.h"

namespace platform {
namespace {

// Random replacements, exact splices of copied ranges (as pastes and Undo make them, which may cut a
// paragraph break in two or bring a lone CR and LF together) and format changes on a small document,
// followed by the layout one change at a time: after every step the lines (starts, ends, tops, heights, widths,
// paragraphs and indents), the caret positions and the pixels drawn are those of a layout built afresh.
class RichLayoutUpdateTest : public ::testing::Test {
protected:
  static constexpr int kWidth = 150;

  // At a caret stop: never inside a character, nor between the CR and the LF of a break unless `inBreak`.
  size_t RandomPos(const std::string& s, bool inBreak = false) {
    size_t pos = std::uniform_int_distribution<size_t>(0, s.size())(random_);
    while (pos < s.size() && ((static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80 ||
                              (!inBreak && s[pos] == '\n' && pos > 0 && s[pos - 1] == '\r')))
      ++pos;
    return pos;
  }
  TRichCharFormat RandomFormat() {
    TRichCharFormat f;
    f.FaceName = kTestFontName;
    f.Height = std::uniform_int_distribution<int>(6, 20)(random_) * 20;
    if (random_() % 2) f.Style = f.Style + TFontStyle::fsBold;
    f.Offset = static_cast<int>(random_() % 3) * 60 - 60;
    return f;
  }
  std::string RandomText() {
    static const char* const kPieces[] = {"word ", "a ", "longerword", " ", "\t", "\r\n", "\v", "\xC3\xA9t\xC3\xA9 ",
                                          "\xE2\x82\xAC", "xxxxxxxxxxxxxxxxxxxxxxxx", "\r", "\n"};
    std::string text;
    for (int n = static_cast<int>(random_() % 6); n > 0; --n) text += kPieces[random_() % std::size(kPieces)];
    return text;
  }

  // One random change of the document, described as the layout takes it.
  TRichLayout::TChange Change(TRichText& doc) {
    const std::string& s = doc.Text();
    size_t from = RandomPos(s), to = RandomPos(s);
    if (from > to) std::swap(from, to);
    switch (random_() % 3) {
      case 0: {
        const std::string with = RandomText();
        const auto [first, last] = doc.Replace(from, to, with, RandomFormat());
        return {first, last - first, with.size()};
      }
      case 1: {
        const bool inBreak = random_() % 2;
        size_t first = RandomPos(s, inBreak), last = RandomPos(s, inBreak);
        if (first > last) std::swap(first, last);
        const size_t start = RandomPos(s);
        const TRichText copied = doc.Range(start, RandomPos(s.substr(0, std::min(s.size(), start + 30))));
        doc.Splice(first, last, copied);
        return {first, last - first, copied.Text().size()};
      }
      default:
        doc.SetFormat(from, to, RandomFormat(), rfmHeight | rfmBold | rfmOffset);
        return {from, to - from, to - from};
    }
  }

  static void ExpectSameLayout(const TRichLayout& updated, const TRichLayout& fresh, const std::string& s) {
    ASSERT_EQ(updated.LineCount(), fresh.LineCount());
    ASSERT_EQ(updated.Width(), fresh.Width());
    for (int i = 0; i < fresh.LineCount(); ++i) {
      const TRichLayout::TLine a = updated.Line(i), b = fresh.Line(i);
      ASSERT_EQ(std::tie(a.start, a.end, a.next, a.top, a.height, a.ascent, a.left, a.width, a.paragraph),
                std::tie(b.start, b.end, b.next, b.top, b.height, b.ascent, b.left, b.width, b.paragraph))
          << "line " << i;
    }
    for (size_t pos = 0; pos <= s.size(); ++pos) ASSERT_EQ(updated.XOf(pos), fresh.XOf(pos)) << "at " << pos;
  }

  static std::vector<uint32_t> Drawn(const TRichLayout& layout) {
    constexpr int kHeight = 300;
    TBitmap bitmap(kWidth, kHeight);
    bitmap.Canvas().Brush().SetColor(clWhite);
    bitmap.Canvas().FillRect(Rect(0, 0, kWidth, kHeight));
    layout.Draw(bitmap.Canvas(), {0, 0}, 0, layout.LineCount(), 3, 9, clBlack);
    return {bitmap.ScanLine(0), bitmap.ScanLine(0) + kWidth * kHeight};
  }

  std::mt19937 random_{20261211};
};

TEST_F(RichLayoutUpdateTest, FollowsEveryChangeAsAFreshLayout) {
  TBitmap target(1, 1);
  TCanvas& canvas = target.Canvas();
  for (int round = 0; round < 20; ++round) {
    TRichText doc;
    doc.Append("first paragraph of words\r\nsecond one, wrapped over lines of the layout\r\nthird", RandomFormat());
    doc.SetAlignment(30, 31, TAlignment::taCenter);
    doc.SetAlignment(doc.Text().size(), doc.Text().size(), TAlignment::taRightJustify);
    TRichLayout updated;
    updated.Build(doc, canvas, round % 5 == 0 ? 0 : kWidth);
    for (int step = 0; step < 40; ++step) {
      const TRichLayout::TChange change = Change(doc);
      updated.Update(canvas, change);
      TRichLayout fresh;
      fresh.Build(doc, canvas, round % 5 == 0 ? 0 : kWidth);
      SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step));
      ASSERT_NO_FATAL_FAILURE(ExpectSameLayout(updated, fresh, doc.Text()));
      ASSERT_TRUE(Drawn(updated) == Drawn(fresh));
    }
  }
}

// A lone CR or LF ends a line but not its paragraph: the lines after it keep the paragraph's alignment,
// and the next paragraph begins after CR LF.
TEST(RichLayoutTest, ALoneCrOrLfEndsALineButNotItsParagraph) {
  TBitmap target(1, 1);
  TRichCharFormat format;
  format.FaceName = kTestFontName;
  TRichText doc;
  doc.Append("a\rb\nc\r\nd", format);
  doc.SetAlignment(0, 0, TAlignment::taLeftJustify);
  doc.SetAlignment(doc.Text().size(), doc.Text().size(), TAlignment::taRightJustify);
  TRichLayout layout;
  layout.Build(doc, target.Canvas(), 100);
  ASSERT_EQ(layout.LineCount(), 4);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(layout.Line(i).paragraph, 0) << "line " << i;
    EXPECT_EQ(layout.Line(i).left, 0) << "line " << i;
  }
  EXPECT_EQ(layout.Line(3).paragraph, 1);
  EXPECT_EQ(layout.Line(3).left, 100 - layout.Line(3).width);
}

}  // namespace
}  // namespace platform
