#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/edits/RichText.h"

namespace platform {
namespace {

// Random replacements, insertions and exact splices of ranges and format changes beside a plain model
// that keeps one format per byte: every character has the model's format, runs end exactly where the
// format changes, the attributes a range shares are those of its characters, and every character is in
// the paragraph that the breaks before it give.
TEST(RichTextRunsTest, FormatsFollowAPlainModelOfOneFormatPerByte) {
  std::mt19937 random(99);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n)(random); };
  auto format = [&] {
    TRichCharFormat f;
    f.Height = static_cast<int>(1 + pick(3)) * 100;
    if (pick(1)) f.Style = f.Style + TFontStyle::fsItalic;
    return f;
  };
  // Positions away from the middle of a paragraph break, where the document widens ranges.
  auto stop = [](const std::string& s, size_t pos) { return pos > 0 && pos < s.size() && s[pos] == '\n' ? pos + 1 : pos; };
  TRichText doc;
  std::vector<TRichCharFormat> model;
  for (int step = 0; step < 2000; ++step) {
    const std::string& s = doc.Text();
    size_t from = stop(s, pick(s.size())), to = stop(s, pick(s.size()));
    if (from > to) std::swap(from, to);
    switch (pick(2)) {
      case 0: {
        const std::string with = std::string(pick(4), 'x') + (pick(3) == 0 ? "\r\n" : "");
        const TRichCharFormat f = format();
        doc.Replace(from, to, with, f);
        model.erase(model.begin() + static_cast<ptrdiff_t>(from), model.begin() + static_cast<ptrdiff_t>(to));
        model.insert(model.begin() + static_cast<ptrdiff_t>(from), with.size(), f);
        break;
      }
      case 1: {
        const TRichText part = doc.Range(from, to);
        std::vector<TRichCharFormat> copied(model.begin() + static_cast<ptrdiff_t>(from), model.begin() + static_cast<ptrdiff_t>(to));
        size_t at = stop(s, pick(s.size())), end = at;
        if (pick(1)) {
          // Exactly over any bytes, even half a paragraph break.
          at = pick(s.size());
          end = at + pick(s.size() - at);
          doc.Splice(at, end, part);
        } else {
          doc.Insert(at, part);
        }
        model.erase(model.begin() + static_cast<ptrdiff_t>(at), model.begin() + static_cast<ptrdiff_t>(end));
        model.insert(model.begin() + static_cast<ptrdiff_t>(at), copied.begin(), copied.end());
        break;
      }
      default: {
        const TRichCharFormat f = format();
        doc.SetFormat(from, to, f, rfmHeight);
        for (size_t i = from; i < to; ++i) model[i].Height = f.Height;
      }
    }
    if (doc.Text().size() > 400) {
      const size_t cut = stop(doc.Text(), 200);
      doc.Replace(0, cut, {}, TRichCharFormat{});
      model.erase(model.begin(), model.begin() + static_cast<ptrdiff_t>(cut));
    }
    ASSERT_EQ(doc.Text().size(), model.size()) << "step " << step;
    int breaks = 0;
    for (size_t pos = 0; pos < model.size(); ++pos) {
      if (pos > 0 && doc.Text().compare(pos - 1, 2, "\r\n") == 0) ++breaks;
      ASSERT_EQ(doc.ParagraphOf(pos), breaks) << "step " << step << " at " << pos;
      ASSERT_EQ(doc.FormatAt(pos), model[pos]) << "step " << step << " at " << pos;
      size_t end = pos + 1;
      while (end < model.size() && model[end] == model[pos]) ++end;
      ASSERT_EQ(doc.RunEnd(pos), end) << "step " << step << " at " << pos;
    }
    if (!model.empty()) {
      uint32_t mask = 0;
      const size_t a = pick(model.size() - 1), b = a + 1 + pick(model.size() - a - 1);
      doc.CommonFormat(a, b, mask);
      bool sameHeight = true;
      for (size_t i = a; i < b; ++i) sameHeight = sameHeight && model[i].Height == model[a].Height;
      ASSERT_EQ((mask & rfmHeight) != 0, sameHeight) << "step " << step;
    }
  }
}

// A lone CR or LF put beside another one makes a paragraph break with it; the document then has one
// more paragraph, each with an alignment, and the paragraphs around keep theirs.
TEST(RichTextRunsTest, ALoneCrOrLfBesideAnotherMakesAParagraph) {
  struct Case {
    const char* name;
    std::string text;
    size_t from, to;
    std::string with;
    bool asInsert;  // through Insert of a document, else Replace
  };
  const std::vector<Case> cases{
      {"CR typed before an LF", "a\nb", 1, 1, "\r", false},
      {"LF typed after a CR", "a\rb", 2, 2, "\n", false},
      {"text between a CR and an LF removed", "a\rX\nb", 2, 3, "", false},
      {"text ending in CR pasted before an LF", "a\nb", 1, 1, "x\r", true},
      {"text starting with LF pasted after a CR", "a\rb", 2, 2, "\nx", true},
      {"a lone CR pasted between a CR and an LF", "a\rc\nb", 2, 3, "\r", false},
  };
  for (const Case& c : cases) {
    TRichText doc;
    doc.Append("first\r\n" + c.text + "\r\nlast", TRichCharFormat{});
    doc.SetAlignment(0, 0, TAlignment::taRightJustify);
    doc.SetAlignment(doc.Text().size(), doc.Text().size(), TAlignment::taCenter);
    const size_t base = 7;
    if (c.asInsert) {
      TRichText pasted;
      pasted.Append(c.with, TRichCharFormat{});
      doc.Insert(base + c.from, pasted);
    } else {
      doc.Replace(base + c.from, base + c.to, c.with, TRichCharFormat{});
    }
    size_t breaks = 0;
    for (size_t pos = doc.Text().find("\r\n"); pos != std::string::npos; pos = doc.Text().find("\r\n", pos + 2))
      ++breaks;
    ASSERT_EQ(doc.ParagraphCount(), static_cast<int>(breaks) + 1) << c.name;
    EXPECT_EQ(doc.ParagraphOf(doc.Text().size()), doc.ParagraphCount() - 1) << c.name;
    EXPECT_EQ(doc.Alignment(0), TAlignment::taRightJustify) << c.name;
    EXPECT_EQ(doc.Alignment(doc.ParagraphCount() - 1), TAlignment::taCenter) << c.name;
  }
}

}  // namespace
}  // namespace platform
