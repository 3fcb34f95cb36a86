#include "controls/MarkupLabel.h"

#include <gtest/gtest.h>

#include "controls/tests/LabelFixture.h"

namespace controls {
namespace {

using platform::Rect;

// A 200 x 40 label in the test font of 12 pixels (6 per character) at the form's top-left corner.
class MarkupLabelTest : public test::LabelTest {
protected:
  void SetUp() override {
    LabelTest::SetUp();
    Show(200, 60);
    label_ = new TMarkupLabel(form_.get());
    label_->SetParent(form_.get());
    label_->SetBounds(0, 0, 200, 40);
    label_->Font().SetName(platform::kTestFontName);
    label_->Font().SetHeight(-12);
    label_->SetColor(platform::clWhite);
  }

  void SetMarkup(const std::string& markup) {
    platform::TStringList lines;
    lines.SetText(markup);
    label_->SetHTMLText(lines);
  }
  void MoveTo(int x, int y) {
    Input().MouseMove(At(*form_, x, y));
    Settle();
  }

  TMarkupLabel* label_ = nullptr;
};

TEST_F(MarkupLabelTest, HoverColoursAndUnderlinesOnlyTheAnchorUnderTheMouse) {
  SetMarkup("Go <A href=\"host1\">here</A> now");  // "here" lies at x 19..42
  const auto anchorArea = Rect(18, 0, 43, 14);
  const int plainBlue = Count(platform::clBlue, anchorArea);
  EXPECT_GT(plainBlue, 0);  // without Hover every anchor is drawn in URLColor

  label_->SetHover(true);
  label_->SetHoverColor(platform::clYellow);
  MoveTo(150, 30);
  Screenshot("markuplabel-hover-idle");
  EXPECT_EQ(Count(platform::clYellow, Rect(0, 0, 200, 40)), 0);
  const int idleBlue = Count(platform::clBlue, anchorArea);

  std::vector<std::string> entered;
  std::vector<std::string> left;
  label_->OnAnchorEnter = [&](platform::TObject*, const std::string& a) { entered.push_back(a); };
  label_->OnAnchorExit = [&](platform::TObject*, const std::string& a) { left.push_back(a); };
  MoveTo(25, 5);
  Screenshot("markuplabel-hover-anchor");
  EXPECT_EQ(label_->Cursor(), platform::crHandPoint);
  EXPECT_GT(Count(platform::clYellow, anchorArea), 0);
  EXPECT_EQ(Count(platform::clYellow, Rect(43, 0, 200, 40)), 0);
  EXPECT_GT(Count(platform::clBlue, anchorArea), idleBlue);  // the underline
  EXPECT_EQ(entered, std::vector<std::string>{"host1"});

  MoveTo(150, 30);
  EXPECT_EQ(label_->Cursor(), platform::crDefault);
  EXPECT_EQ(Count(platform::clYellow, Rect(0, 0, 200, 40)), 0);
  EXPECT_EQ(left, std::vector<std::string>{""});
}

TEST_F(MarkupLabelTest, ClickedAnchorsOpenLinksThroughTheShellAndRaiseTheRest) {
  SetMarkup("<A href=\"host1\">host</A> <A href=\"mailto:admin@example.org\">mail</A> "
            "<A href=\"https://example.org/\">web</A>");  // x 0..23, 30..53, 60..77
  std::vector<std::string> clicked;
  label_->OnAnchorClick = [&](platform::TObject*, const std::string& a) { clicked.push_back(a); };
  for (int x : {5, 35, 65, 120}) {
    Input().Click(At(*form_, x, 5));
    Settle();
  }
  EXPECT_EQ(clicked, (std::vector<std::string>{"host1", ""}));
}

TEST_F(MarkupLabelTest, TextPropertiesJoinLinesAndRestoreHighlighting) {
  platform::TStringList lines;
  lines.Add("<b>one</b>");
  lines.Add("two");
  label_->SetHTMLText(lines);
  EXPECT_EQ(label_->HTMLText().Count(), 1);
  EXPECT_EQ(label_->GetText(), "onetwo");

  const std::string before = label_->HTMLText().Text();
  label_->HilightText("et", false);
  EXPECT_NE(label_->HTMLText().Text(), before);
  label_->UnHilightText();
  EXPECT_EQ(label_->HTMLText().Text(), before);
}

TEST_F(MarkupLabelTest, AutoSizingAndVerticalAlignment) {
  SetMarkup("line");
  label_->SetAlign(platform::TAlign::alTop);
  label_->SetAutoSizing(true);
  Settle();
  EXPECT_EQ(label_->Height(), 12 + 6);
  SetMarkup("line<BR>line");
  Settle();
  EXPECT_EQ(label_->Height(), 24 + 6);

  // Centred content that does not fit stays at the top.
  label_->SetAutoSizing(false);
  label_->SetAlign(platform::TAlign::alNone);
  label_->SetBounds(0, 0, 200, 20);
  SetMarkup("a<BR>b<BR>c<BR>d");
  const int topInk = Count(platform::clBlack, Rect(0, 0, 200, 20));
  label_->SetVAlignment(tvaCenter);
  EXPECT_EQ(Count(platform::clBlack, Rect(0, 0, 200, 20)), topInk);
  // Content that fits is centred: one line of 12 in 20 pixels starts 4 lower.
  SetMarkup("a");
  EXPECT_EQ(Count(platform::clBlack, Rect(0, 0, 200, 4)), 0);
  EXPECT_GT(Count(platform::clBlack, Rect(0, 4, 200, 6)), 0);
}

}  // namespace
}  // namespace controls
