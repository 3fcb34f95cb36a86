#include <gtest/gtest.h>

#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

using ControlClassesTest = FormTest;

template <class T>
T& Find(TComponent& owner, const std::string& name) {
  return dynamic_cast<T&>(*owner.FindComponent(name));
}

TEST_F(ControlClassesTest, StandardControlsLoadFromAFormResource) {
  TForm form(nullptr);
  int moved = 0;
  TFormMethods methods;
  methods.Add("SplitterMoved", std::function<void(TObject*)>([&](TObject*) { ++moved; }));
  ReadFormText(form, R"(
Form1: TForm {
  Caption = "Einstellungen"  ClientWidth = 320  ClientHeight = 200  Position = poScreenCenter
  Top: TPanel {
    Align = alTop  Height = 60  BevelOuter = bvLowered  BevelInner = bvRaised  BorderWidth = 2
    Caption = "Kopf"  Alignment = taLeftJustify
    NameLabel: TLabel { Left = 8  Top = 8  Caption = "&Name"  FocusControl = Logging  Font.Style = set(fsBold) }
    Save: TSpeedButton {
      Left = 100  Top = 4  Width = 55  Height = 55  Flat = True  Layout = blGlyphTop  GroupIndex = 1  Down = True
      NumGlyphs = 2  Caption = "Speichern"  Margin = 2  Spacing = 1
      Glyph = bytes(424D 3E000000 00000000 36000000 28000000 02000000 01000000 0100 2000 00000000 08000000
                    00000000 00000000 00000000 00000000 FF000000 00FF0000)
    }
  }
  Splitter1: TSplitter { Align = alTop  MinSize = 50  AutoSnap = False  ResizeStyle = rsUpdate  OnMoved = @SplitterMoved }
  Logging: TCheckBox { Left = 8  Top = 80  Caption = "Log-Datei erzeugen"  AllowGrayed = True  State = cbGrayed  Alignment = taLeftJustify }
  Mail: TRadioButton { Left = 8  Top = 100  Caption = "Mail"  Checked = True }
  Frame: TBevel { Left = 4  Top = 76  Width = 300  Height = 50  Shape = bsFrame  Style = bsRaised }
  Ok: TButton { Left = 230  Top = 160  Caption = "Ok"  Default = True  ModalResult = 1 }
  No: TButton { Left = 150  Top = 160  Caption = "Abbrechen"  Cancel = True  ModalResult = 2 }
}
)",
               "TFORM1.DE", methods);
  auto& top = Find<TPanel>(form, "Top");
  EXPECT_EQ(top.Parent(), &form);
  EXPECT_EQ(top.Align(), TAlign::alTop);
  EXPECT_EQ(top.BevelOuter(), TBevelCut::bvLowered);
  EXPECT_EQ(top.Caption(), "Kopf");
  auto& label = Find<TLabel>(form, "NameLabel");
  EXPECT_EQ(label.Parent(), &top);
  EXPECT_EQ(label.FocusControl(), &Find<TCheckBox>(form, "Logging"));
  EXPECT_TRUE(label.Font().Style().Contains(TFontStyle::fsBold));
  auto& save = Find<TSpeedButton>(form, "Save");
  EXPECT_TRUE(save.Down());
  EXPECT_EQ(save.Glyph().Width(), 2);
  EXPECT_EQ(save.NumGlyphs(), 2);
  EXPECT_EQ(save.Layout(), TButtonLayout::blGlyphTop);
  auto& splitter = Find<TSplitter>(form, "Splitter1");
  EXPECT_EQ(splitter.MinSize(), 50);
  EXPECT_FALSE(splitter.AutoSnap());
  ASSERT_TRUE(splitter.OnMoved);
  splitter.OnMoved(&splitter);
  EXPECT_EQ(moved, 1);
  EXPECT_EQ(Find<TCheckBox>(form, "Logging").State(), TCheckBoxState::cbGrayed);
  EXPECT_TRUE(Find<TRadioButton>(form, "Mail").Checked());
  EXPECT_EQ(Find<TBevel>(form, "Frame").Shape(), TBevelShape::bsFrame);
  EXPECT_TRUE(Find<TButton>(form, "Ok").Default());
  EXPECT_EQ(Find<TButton>(form, "No").ModalResult(), mrCancel);
  EXPECT_EQ(form.ClientWidth(), 320);
}

}  // namespace
}  // namespace platform
