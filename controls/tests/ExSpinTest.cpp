#include "controls/ExSpin.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "controls/DisplayClasses.h"
#include "controls/tests/LabelFixture.h"
#include "platform/ui/FormLoader.h"
#include "platform/core/Clock.h"
#include "platform/core/DateTime.h"
#include "platform/core/tests/TextTestSettings.h"
#include "platform/ui/VirtualKeys.h"

namespace controls::exspin {
namespace {

using platform::EncodeDate;
using platform::TMouseButtonKind;

// A spin edit of 80 x 24 at (60, 20) on a shown form, with the test font and English separators.
class ExSpinTest : public test::LabelTest {
protected:
  void SetUp() override {
    LabelTest::SetUp();
    platform::FormatSettings() = platform::testing::EnglishSettings();
    platform::FormatSettings().LongTimeFormat = "hh:nn:ss";
    Show(240, 100);
    form_->Font().SetName(platform::kTestFontName);
    form_->Font().SetHeight(-12);
    spin_ = new TExSpinEdit(form_.get());
    spin_->SetParent(form_.get());
    spin_->SetBounds(60, 20, 80, 24);
    other_ = new platform::TEdit(form_.get());
    other_->SetParent(form_.get());
    other_->SetBounds(60, 60, 80, 24);
    spin_->SetFocus();
    Settle();
  }
  void TearDown() override {
    LabelTest::TearDown();
    platform::ResetFormatSettings();
  }

  void Caret(int at) {
    spin_->SetSelStart(at);
    spin_->SetSelLength(0);
  }

  TExSpinEdit* spin_ = nullptr;
  platform::TEdit* other_ = nullptr;
};

TEST_F(ExSpinTest, StartsAsTheSpecifiedIntegerSpin) {
  EXPECT_EQ(spin_->Text(), "0");
  EXPECT_EQ(spin_->SpinType(), sptNormal);
  EXPECT_EQ(spin_->MaxValue(), 100);
  EXPECT_DOUBLE_EQ(spin_->IncrementFloat(), 0.1);
  EXPECT_EQ(spin_->IncrementPage(), 10);
  EXPECT_EQ(spin_->Button().Width(), 15);
  EXPECT_EQ(spin_->Button().Left() + spin_->Button().Width(), spin_->ClientWidth());
}

TEST_F(ExSpinTest, WritersClampAndReadersFallBack) {
  struct Case {
    const char* what;
    std::function<void()> set;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"above the maximum", [&] { spin_->SetValue(150); }, "100"},
      {"below the minimum", [&] { spin_->SetValue(-5); }, "0"},
      {"equal bounds are none", [&] { spin_->SetMinValue(7), spin_->SetMaxValue(7), spin_->SetValue(150); }, "150"},
      {"float above", [&] { spin_->SetSpinType(sptFloat), spin_->SetFloatValue(123.4); }, "100"},
      {"float precision", [&] { spin_->SetPrecision(2), spin_->SetFloatValue(1.5); }, "1.50"},
      {"date above", [&] {
         spin_->SetSpinType(sptDate);
         spin_->SetMinDateValue(EncodeDate(2024, 1, 1));
         spin_->SetMaxDateValue(EncodeDate(2024, 12, 31));
         spin_->SetDateValue(EncodeDate(2025, 6, 1));
       }, "12/31/2024"},
      {"hex", [&] { spin_->SetSpinType(sptHex), spin_->SetMinValue(0), spin_->SetMaxValue(0), spin_->SetHexValue(0xBEEF); }, "0xBEEF"},
  };
  for (const Case& c : cases) {
    c.set();
    EXPECT_EQ(spin_->Text(), c.text) << c.what;
  }
  spin_->SetSpinType(sptNormal);
  spin_->SetMinValue(3);
  spin_->SetMaxValue(9);
  spin_->SetText("abc");
  EXPECT_EQ(spin_->Value(), 3);
  EXPECT_DOUBLE_EQ(spin_->FloatValue(), 3);
  EXPECT_EQ(spin_->TimeValue(), 0);
  spin_->SetMinDateValue(EncodeDate(2020, 2, 2));
  EXPECT_EQ(spin_->DateValue(), EncodeDate(2020, 2, 2));
  spin_->SetText("0");
  EXPECT_NEAR(spin_->DateValue(), platform::Now(), 1e-6);
}

TEST_F(ExSpinTest, LeavingClampsTheTypedValue) {
  spin_->SetText("");
  Type("250");
  EXPECT_EQ(spin_->Text(), "250");
  other_->SetFocus();
  Settle();
  EXPECT_EQ(spin_->Text(), "100");
}

TEST_F(ExSpinTest, TypingIsFilteredWithABeep) {
  spin_->SetSpinType(sptHex);
  EXPECT_EQ(spin_->Text(), "0x0");
  const int beeps = Input().Beeps();
  Caret(0);
  Type("1");        // before the prefix
  Press(platform::VK_DELETE);
  Caret(2);
  Input().PressKey(platform::VK_BACK, 0, "\b");
  Settle();
  EXPECT_EQ(spin_->Text(), "0x0");
  Caret(3);
  Type("fz");
  EXPECT_EQ(spin_->Text(), "0x0f");
  EXPECT_EQ(spin_->HexValue(), 15);
  EXPECT_EQ(Input().Beeps(), beeps + 3);  // "1", Backspace and "z"; Delete is dropped quietly
}

TEST_F(ExSpinTest, ButtonsAndKeysStepTheValue) {
  struct Case {
    const char* what;
    TExSpinType type;
    bool smart;
    const char* text;
    int caret;
    int key;
    const char* after;
  };
  const Case cases[] = {
      {"up", sptNormal, false, "5", 1, platform::VK_UP, "6"},
      {"down", sptNormal, false, "5", 1, platform::VK_DOWN, "4"},
      {"page up", sptNormal, false, "5", 1, platform::VK_PRIOR, "15"},
      {"page up clamped", sptNormal, false, "95", 1, platform::VK_PRIOR, "100"},
      {"float page down", sptFloat, false, "5.5", 1, platform::VK_NEXT, "4.5"},
      {"float up", sptFloat, false, "5.5", 1, platform::VK_UP, "5.6"},
      {"smart tens", sptNormal, true, "25", 1, platform::VK_UP, "35"},
      {"smart tenths", sptFloat, true, "1.25", 3, platform::VK_UP, "1.35"},
      {"smart hundredths page", sptFloat, true, "1.25", 4, platform::VK_PRIOR, "1.26"},
      {"smart at the start", sptNormal, true, "25", 0, platform::VK_DOWN, "24"},
      {"date day field", sptDate, false, "2/28/2024", 2, platform::VK_UP, "2/29/2024"},
      {"date month field", sptDate, false, "1/31/2024", 0, platform::VK_UP, "2/29/2024"},
      {"date year field from 29 February", sptDate, false, "2/29/2024", 6, platform::VK_UP, "2/28/2025"},
      {"time hours", sptTime, false, "23:15:00", 1, platform::VK_UP, "00:15:00"},
      {"time minutes", sptTime, false, "10:00:00", 4, platform::VK_DOWN, "09:59:00"},
      {"time seconds", sptTime, false, "10:00:00", 7, platform::VK_UP, "10:00:01"},
      {"hex wraps", sptHex, false, "0xFFFFFFFF", 3, platform::VK_UP, "0x0"},
  };
  spin_->SetPrecision(2);
  for (const Case& c : cases) {
    spin_->SetSpinType(c.type);
    spin_->SetPrecision(c.type == sptFloat && c.smart ? 2 : 0);
    spin_->SetMinValue(c.type == sptHex ? 1 : 0);
    spin_->SetMaxValue(c.type == sptHex ? 1 : 100);
    spin_->SetIncrementSmart(c.smart);
    spin_->SetText(c.text);
    Caret(c.caret);
    Press(c.key);
    EXPECT_EQ(spin_->Text(), c.after) << c.what;
    EXPECT_EQ(spin_->SelStart(), c.caret) << c.what;
  }
  spin_->SetReadOnly(true);
  const int beeps = Input().Beeps();
  spin_->UpClick(nullptr);
  EXPECT_EQ(Input().Beeps(), beeps + 1);
}

// The button clicks on release, as a speed button does; held, it clicks after 400 ms and every 100 ms.
TEST_F(ExSpinTest, HeldButtonRepeatsAfter400MsThenEvery100Ms) {
  std::vector<int64_t> at;
  spin_->OnChange = [&](platform::TObject*) { at.push_back(platform::MonotonicMs()); };
  const int64_t start = platform::MonotonicMs();
  const platform::TPoint up = At(spin_->Button(), 7, 4);
  Input().MouseDown(TMouseButtonKind::Left, up);
  platform::Application().HandleMessagesUntil([&] { return platform::MonotonicMs() >= start + 600; });
  Input().MouseUp(TMouseButtonKind::Left, up);
  Settle();
  for (int64_t& t : at) t -= start;
  EXPECT_EQ(at, (std::vector<int64_t>{400, 500, 600, 600}));
  EXPECT_EQ(spin_->Text(), "4");
  platform::Sleep(1000);
  Settle();
  EXPECT_EQ(spin_->Text(), "4");
}

TEST_F(ExSpinTest, ReturnIsTabMovesOn) {
  spin_->SetReturnIsTab(true);
  Press(platform::VK_RETURN);
  EXPECT_TRUE(other_->Focused());
}

TEST_F(ExSpinTest, APageKeyWhoseOnKeyDownFreesTheEditStepsNothing) {
  spin_->OnKeyDown = [this](platform::TObject*, platform::WORD&, platform::TShiftState) {
    delete std::exchange(spin_, nullptr);
  };
  Press(platform::VK_PRIOR);
  EXPECT_EQ(spin_, nullptr);
}

TEST_F(ExSpinTest, TheLabelFollowsTheEdit) {
  spin_->SetLabelCaption("Interval");
  platform::TLabel* label = spin_->EditLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->FocusControl(), spin_);
  EXPECT_EQ(label->Left(), 60 - label->Width() - 4);
  EXPECT_EQ(label->Top(), 20);
  spin_->SetBounds(100, 30, 80, 24);
  EXPECT_EQ(label->Left(), 100 - label->Width() - 4);
  spin_->SetLabelPosition(lpBottomCenter);
  EXPECT_EQ(label->Top(), 30 + 24 + 4);
  spin_->SetVisible(false);
  EXPECT_FALSE(label->Visible());
}

TEST(ExSpinLabelTest, LabelOriginsAtTheTenPositions) {
  const platform::TRect edit = platform::Bounds(100, 50, 80, 20);
  const platform::TSize label{30, 10};
  struct Case {
    TLabelPosition position;
    platform::TPoint origin;
  };
  for (const Case& c : {Case{lpLeftTop, {66, 50}}, {lpLeftCenter, {66, 55}}, {lpLeftBottom, {66, 60}},
                        {lpTopLeft, {100, 36}}, {lpBottomLeft, {100, 74}}, {lpLeftTopLeft, {96, 50}},
                        {lpLeftCenterLeft, {96, 55}}, {lpLeftBottomLeft, {96, 60}}, {lpTopCenter, {125, 36}},
                        {lpBottomCenter, {125, 74}}}) {
    const platform::TPoint origin = LabelOrigin(c.position, edit, label, 4);
    EXPECT_EQ(origin.X, c.origin.X) << c.position;
    EXPECT_EQ(origin.Y, c.origin.Y) << c.position;
  }
}

TEST_F(ExSpinTest, Screenshot) {
  spin_->SetValue(42);
  spin_->SetLabelCaption("Interval");
  auto* flat = new TExSpinEdit(form_.get());
  flat->SetParent(form_.get());
  flat->SetBounds(150, 20, 70, 24);
  flat->SetFlat(true);
  flat->SetFlatLineColor(platform::clBlue);
  flat->SetDirection(spHorizontal);
  flat->SetSpinType(sptFloat);
  flat->SetPrecision(1);
  flat->SetFloatValue(2.5);
  Screenshot("spin_edit");
  // The flat edit's underline, one pixel above its bottom.
  EXPECT_EQ(Pixel(160, 20 + 24 - 2), platform::ColorToRGB(platform::clBlue));
}

TEST(ExSpinClassesTest, FormResourcesMakeTheSpinEdit) {
  PublishDisplayClasses();
  platform::TForm form(nullptr);
  platform::ReadFormText(form,
                         "F: TForm {\n"
                         "  S: TExSpinEdit { SpinType = sptHex MaxValue = 4096 HexValue = 255 Direction = spHorizontal"
                         "    LabelCaption = \"Mask\" LabelPosition = lpTopLeft }\n"
                         "}\n",
                         "spin", {});
  auto& spin = dynamic_cast<TExSpinEdit&>(*form.FindComponent("S"));
  EXPECT_EQ(spin.Text(), "0xFF");
  EXPECT_EQ(spin.Direction(), spHorizontal);
  EXPECT_EQ(spin.Button().Width(), 20);
  EXPECT_EQ(spin.LabelCaption(), "Mask");
  EXPECT_EQ(spin.LabelPosition(), lpTopLeft);
}

}  // namespace
}  // namespace controls::exspin
