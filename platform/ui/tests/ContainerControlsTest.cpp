#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

// The controls of a print settings dialog: a page control of three pages, group boxes with controls
// in them, a paint box, loaded from a form resource as the dialog's form is.
class ContainerControlsTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    methods.Add("PagesChange", TNotifyEvent([this](TObject*) { changes.push_back(pages->ActivePage()->Name()); }));
    methods.Add("PreviewPaint", TNotifyEvent([this](TObject* sender) {
                  ++previewPaints;
                  auto* box = dynamic_cast<TPaintBox*>(sender);
                  box->Canvas().Brush().SetColor(clWhite);
                  box->Canvas().FillRect(box->ClientRect());
                  box->Canvas().Brush().SetColor(clNavy);
                  box->Canvas().FillRect(Rect(10, 10, 110, 30));
                }));
    form = std::make_unique<TForm>(nullptr);
    ReadFormText(*form, R"(Form1: TForm {
  Left = 100
  Top = 100
  ClientWidth = 420
  ClientHeight = 260
  Caption = "Print Settings"
  Preview: TPaintBox {
    Left = 8
    Top = 8
    Width = 120
    Height = 170
    OnPaint = @PreviewPaint
  }
  Pages: TPageControl {
    Left = 136
    Top = 8
    Width = 276
    Height = 244
    ActivePage = General
    OnChange = @PagesChange
    General: TTabSheet {
      Caption = "General"
      Borders: TGroupBox {
        Left = 8
        Top = 6
        Width = 250
        Height = 64
        Caption = "Borders:"
        Single: TCheckBox { Left = 10  Top = 20  Width = 120  Height = 17  Caption = "&Single" TabStop = True }
        Around: TCheckBox { Left = 10  Top = 40  Width = 120  Height = 17  Caption = "A&round" TabStop = True }
      }
      Fonts: TGroupBox {
        Left = 8
        Top = 78
        Width = 250
        Height = 60
        Caption = "Fonts:"
        HeaderFont: TButton { Left = 10  Top = 22  Width = 100  Height = 25  Caption = "&Header font" TabStop = True }
      }
    }
    Headers: TTabSheet {
      Caption = "Headers / Footers"
      Title: TGroupBox { Left = 8  Top = 6  Width = 250  Height = 60  Caption = "Title:" }
    }
    Margins: TTabSheet {
      Caption = "Margins"
    }
  }
}
)",
                 "print settings", methods);
    form->Show();
    Settle();
    pages = dynamic_cast<TPageControl*>(form->FindComponent("Pages"));
    ASSERT_TRUE(pages);
  }
  void TearDown() override {
    form.reset();
    FormTest::TearDown();
  }

  TTabSheet* Sheet(const char* name) { return dynamic_cast<TTabSheet*>(form->FindComponent(name)); }
  TControl* Control(const char* name) { return dynamic_cast<TControl*>(form->FindComponent(name)); }
  void ClickTab(int tab) {
    const TRect r = pages->TabRect(tab);
    Input().Click(At(*pages, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    Settle();
  }

  std::vector<std::string> changes;
  int previewPaints = 0;
  TFormMethods methods;
  std::unique_ptr<TForm> form;
  TPageControl* pages = nullptr;
};

TEST_F(ContainerControlsTest, TheResourceMakesThePagesInOrderWithTheNamedOneActive) {
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->Pages(0)->Caption(), "General");
  EXPECT_EQ(pages->Pages(2)->PageIndex(), 2);
  EXPECT_EQ(pages->ActivePage(), Sheet("General"));
  EXPECT_TRUE(Sheet("General")->Visible());
  EXPECT_FALSE(Sheet("Headers")->Visible());
  EXPECT_EQ(Sheet("General")->BoundsRect(), pages->DisplayRect());
  EXPECT_GT(previewPaints, 0);
  EXPECT_EQ(ShownColor(Input(), *Control("Preview"), 20, 20), clNavy);
  SaveArtefact(Input(), form->BackendWindow(), "print_settings_controls");
}

TEST_F(ContainerControlsTest, AClickOnATabChangesThePageAndTellsOnChange) {
  ClickTab(1);
  EXPECT_EQ(pages->ActivePage(), Sheet("Headers"));
  EXPECT_TRUE(Sheet("Headers")->Visible());
  EXPECT_FALSE(Sheet("General")->Visible());
  EXPECT_EQ(changes, std::vector<std::string>{"Headers"});
  SaveArtefact(Input(), form->BackendWindow(), "print_settings_second_page");
  // OnChanging may refuse; setting the page by code tells nobody.
  pages->OnChanging = [](TObject*, bool& allow) { allow = false; };
  ClickTab(2);
  EXPECT_EQ(pages->ActivePage(), Sheet("Headers"));
  pages->OnChanging = nullptr;
  pages->SetActivePage(Sheet("Margins"));
  EXPECT_EQ(changes.size(), 1u);
}

TEST_F(ContainerControlsTest, AnOnChangingHandlerMayFreeThePageTurnedToOrThePageControl) {
  TTabSheet* general = Sheet("General");
  pages->OnChanging = [this](TObject*, bool&) { delete Sheet("Headers"); };
  ClickTab(1);
  EXPECT_EQ(pages->ActivePage(), general);
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_TRUE(changes.empty());
  pages->OnChanging = [this](TObject*, bool&) { delete std::exchange(pages, nullptr); };
  TPageControl* control = pages;
  control->SelectNextPage(true);
  EXPECT_EQ(form->FindComponent("Pages"), nullptr);
  EXPECT_TRUE(changes.empty());
}

TEST_F(ContainerControlsTest, CtrlTabAndCtrlShiftTabTurnThePagesFromInsideAndSkipHiddenTabs) {
  auto* single = dynamic_cast<TWinControl*>(Control("Single"));
  single->SetFocus();
  Settle();
  ASSERT_TRUE(single->Focused());
  Input().PressKey(VK_TAB, bsCtrl);
  Settle();
  EXPECT_EQ(pages->ActivePage(), Sheet("Headers"));
  EXPECT_TRUE(pages->Focused()) << "the focus leaves the hidden page for the page control";
  Input().PressKey(VK_TAB, bsCtrl);
  Settle();
  EXPECT_EQ(pages->ActivePage(), Sheet("Margins"));
  Input().PressKey(VK_TAB, bsCtrl);
  Settle();
  EXPECT_EQ(pages->ActivePage(), Sheet("General"));  // wraps round
  Input().PressKey(VK_TAB, bsCtrl | bsShift);
  Settle();
  EXPECT_EQ(pages->ActivePage(), Sheet("Margins"));
  Sheet("General")->SetTabVisible(false);
  Input().PressKey(VK_TAB, bsCtrl);
  Settle();
  EXPECT_EQ(pages->ActivePage(), Sheet("Headers"));
  EXPECT_EQ(Sheet("Headers")->TabIndex(), 0);
  // The arrow keys move between the tabs while the page control has the focus.
  Input().PressKey(VK_RIGHT);
  Settle();
  EXPECT_EQ(pages->ActivePage(), Sheet("Margins"));
  EXPECT_EQ(changes, (std::vector<std::string>{"Headers", "Margins", "General", "Margins", "Headers", "Margins"}));
  // Hiding the active page's tab activates the next one.
  Sheet("Margins")->SetTabVisible(false);
  EXPECT_EQ(pages->ActivePage(), Sheet("Headers"));
}

TEST_F(ContainerControlsTest, ADisabledGroupBoxDisablesTheControlsInItAndTheyTakeNoInput) {
  auto* borders = dynamic_cast<TGroupBox*>(Control("Borders"));
  auto* single = dynamic_cast<TCheckBox*>(Control("Single"));
  borders->SetEnabled(false);
  Settle();
  EXPECT_FALSE(single->Enabled());
  EXPECT_FALSE(Control("Around")->Enabled());
  EXPECT_TRUE(Control("HeaderFont")->Enabled()) << "the other group is left alone";
  EXPECT_FALSE(single->CanFocus());
  Input().Click(At(*single, 5, 8));
  Settle();
  EXPECT_FALSE(single->Checked());
  SaveArtefact(Input(), form->BackendWindow(), "print_settings_group_disabled");
  borders->SetEnabled(true);
  Settle();
  EXPECT_TRUE(single->Enabled());
  Input().Click(At(*single, 5, 8));
  Settle();
  EXPECT_TRUE(single->Checked());
}

}  // namespace
}  // namespace platform
