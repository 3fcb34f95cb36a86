#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Resources.h"  // EResNotFound
#include "platform/ui/ColorIdentifiers.h"
#include "platform/app/FormLanguage.h"
#include "platform/ui/FormLoader.h"
#include "platform/app/PublishedClasses.h"

namespace platform {
namespace {

enum class TShade { shLight, shDark };
enum class TMark { mkA, mkB, mkC };

class TMarks {
public:
  void Include(TMark m) { bits_ |= 1u << static_cast<unsigned>(m); }
  bool Contains(TMark m) const { return (bits_ & (1u << static_cast<unsigned>(m))) != 0; }

private:
  unsigned bits_ = 0;
};

// A sub-object that is not a component.
struct TPen2 {
  std::string Name;
  int Size = 0;
};

struct TPart {
  int Width = 0;
  std::string Text;
};

class TParts {
public:
  void Clear() { items.clear(); }
  TPart* Add() { return items.emplace_back(std::make_unique<TPart>()).get(); }
  std::vector<std::unique_ptr<TPart>> items;
};

// Records every setter call and Loaded in a log that the test shares.
class TWidget : public TComponent {
public:
  explicit TWidget(TComponent* owner) : TComponent(owner) {}

  void SetCaption(const std::string& value) {
    Log("Caption=" + value);
    caption = value;
  }
  void SetWidth(int value) {
    Log("Width=" + std::to_string(value));
    width = value;
  }
  void Loaded() override {
    Log("Loaded");
    TComponent::Loaded();
  }
  void Log(const std::string& what) {
    if (log) log->push_back(Name() + (ComponentState().Contains(csLoading) ? " loading " : " ") + what);
  }

  static inline std::vector<std::string>* log = nullptr;
  std::string caption;
  int width = 0;
  double ratio = 0;
  bool visible = false;
  TShade shade = TShade::shLight;
  TMarks marks;
  uint32_t color = 0;
  std::vector<std::string> lines;
  std::vector<uint8_t> data;
  TPen2 pen;
  TParts parts;
  TWidget* buddy = nullptr;
  TWidget* container = nullptr;
  TNotifyEvent OnClick;
  std::function<void(TObject*, int)> OnMove;
};

class TBox : public TWidget {
public:
  using TWidget::TWidget;
  int depth = 0;
};

// The form's own class, not published: its properties are its published base's.
class TTestForm : public TWidget {
public:
  TTestForm() : TWidget(nullptr) {
    methods.Add("FormClick", this, &TTestForm::FormClick);
    methods.Add("FormMove", this, &TTestForm::FormMove);
  }
  void FormClick(TObject* sender) { clicks.push_back(static_cast<TComponent*>(sender)->Name()); }
  void FormMove(TObject*, int) {}

  TFormMethods methods;
  std::vector<std::string> clicks;
};

// Two units with a class of the same name, and a name only one unit has.
namespace unit_a {
class TGauge : public TWidget {
public:
  using TWidget::TWidget;
};
class TDial : public TWidget {
public:
  using TWidget::TWidget;
};
}  // namespace unit_a
namespace unit_b {
class TGauge : public TWidget {
public:
  using TWidget::TWidget;
};
}  // namespace unit_b

void PublishTestClasses() {
  PublishEnum<TShade>({{"shLight", TShade::shLight}, {"shDark", TShade::shDark}});
  PublishEnum<TMark>({{"mkA", TMark::mkA}, {"mkB", TMark::mkB}, {"mkC", TMark::mkC}});
  PublishSet<TMarks, TMark>();
  TClassPublisher<TPen2>("TPen2").Property("Name", &TPen2::Name).Property("Size", &TPen2::Size);
  TClassPublisher<TPart>("TPart").Property("Width", &TPart::Width).Property("Text", &TPart::Text);
  TClassPublisher<TWidget, TComponent>("TWidget")
      .Property("Caption", &TWidget::SetCaption)
      .Property("Width", &TWidget::SetWidth)
      .Property("Ratio", &TWidget::ratio)
      .Property("Visible", &TWidget::visible)
      .Property("Shade", &TWidget::shade)
      .Property("Marks", &TWidget::marks)
      .Property("Color", &TWidget::color, ColorIdentifiers())
      .Property("Lines", [](TWidget& w, const std::vector<std::string>& v) { w.lines = v; })
      .Property("Data", &TWidget::data)
      .Object("Pen", &TWidget::pen)
      .Collection("Parts", &TWidget::parts)
      .Property("Buddy", &TWidget::buddy)
      .Property("OnClick", &TWidget::OnClick)
      .Property("OnMove", &TWidget::OnMove)
      .Nested([](TWidget& child, TComponent& container) {
        child.container = dynamic_cast<TWidget*>(&container);
        child.Log("nested in " + container.Name());
      });
  TClassPublisher<TBox, TWidget>("TBox").Property("Depth", &TBox::depth);
  TClassPublisher<unit_a::TGauge, TWidget>("UnitA.TGauge");
  TClassPublisher<unit_a::TDial, TWidget>("UnitA.TDial");
  TClassPublisher<unit_b::TGauge, TWidget>("UnitB.TGauge");
}

class FormLoaderTest : public testing::Test {
protected:
  void SetUp() override {
    PublishTestClasses();
    TWidget::log = &log;
  }
  void TearDown() override { TWidget::log = nullptr; }

  void Load(const std::string& body) { ReadFormText(form, "Form1: TTestForm {\n" + body + "}\n", "TTESTFORM.DE", form.methods); }

  TWidget& Component(int index) { return *dynamic_cast<TWidget*>(form.Components(index)); }

  std::vector<std::string> log;
  TTestForm form;
};

TEST_F(FormLoaderTest, CreatesNestedComponentsAndSetsPropertiesInOrderThenCallsLoaded) {
  Load(
      "  Caption = \"Haupt\"\n"
      "  Panel: TBox {\n"
      "    Width = 3\n"
      "    Caption = \"p\"\n"
      "    Depth = 2\n"
      "    Inner: TWidget { Caption = \"i\" }\n"
      "  }\n"
      "  Other: TWidget { Width = 7 }\n");
  EXPECT_EQ(form.Name(), "Form1");
  ASSERT_EQ(form.ComponentCount(), 3);  // every component is owned by the form
  EXPECT_EQ(Component(0).Name(), "Panel");
  EXPECT_EQ(dynamic_cast<TBox&>(Component(0)).depth, 2);
  EXPECT_EQ(Component(1).container, &Component(0));
  EXPECT_EQ(Component(2).container, &form);
  const std::vector<std::string> expected = {
      "Form1 loading Caption=Haupt",
      "Panel loading nested in Form1",
      "Panel loading Width=3",
      "Panel loading Caption=p",
      "Inner loading nested in Panel",
      "Inner loading Caption=i",
      "Other loading nested in Form1",
      "Other loading Width=7",
      "Form1 loading Loaded",
      "Panel loading Loaded",
      "Inner loading Loaded",
      "Other loading Loaded",
  };
  EXPECT_EQ(log, expected);
  for (int i = 0; i < form.ComponentCount(); ++i) EXPECT_FALSE(Component(i).ComponentState().Contains(csLoading));
}

TEST_F(FormLoaderTest, SetsEveryKindOfValue) {
  Load(
      "  W: TWidget {\n"
      "    Ratio = 2   Visible = true   Shade = SHDARK   Marks = set(mkA, mkC)   Color = clBtnFace\n"
      "    Lines = list(\"eins\", \"zwei\")   Data = bytes(00 FF 10)\n"
      "    Pen.Name = \"Tahoma\"   Pen.Size = 8\n"
      "    Parts = items { { Width = 50 Text = \"Service:\" } { Width = 25 } }\n"
      "    Buddy = Later   OnClick = @formclick\n"
      "  }\n"
      "  Later: TWidget { Parts = items { } }\n");
  TWidget& w = Component(0);
  EXPECT_DOUBLE_EQ(w.ratio, 2);
  EXPECT_TRUE(w.visible);
  EXPECT_EQ(w.shade, TShade::shDark);
  EXPECT_TRUE(w.marks.Contains(TMark::mkA));
  EXPECT_FALSE(w.marks.Contains(TMark::mkB));
  EXPECT_TRUE(w.marks.Contains(TMark::mkC));
  EXPECT_EQ(w.color, clBtnFace);
  EXPECT_EQ(w.lines, (std::vector<std::string>{"eins", "zwei"}));
  EXPECT_EQ(w.data, (std::vector<uint8_t>{0x00, 0xFF, 0x10}));
  EXPECT_EQ(w.pen.Name, "Tahoma");
  EXPECT_EQ(w.pen.Size, 8);
  ASSERT_EQ(w.parts.items.size(), 2u);
  EXPECT_EQ(w.parts.items[0]->Text, "Service:");
  EXPECT_EQ(w.parts.items[1]->Width, 25);
  EXPECT_EQ(w.buddy, &Component(1));  // a reference to a component made later
  ASSERT_TRUE(w.OnClick);
  w.OnClick(&w);
  EXPECT_EQ(form.clicks, std::vector<std::string>{"W"});
}

TEST_F(FormLoaderTest, ErrorsNameLineAndNameAndLeaveNoComponents) {
  struct Case {
    const char* body;
    int line;
    const char* name;
    const char* problem;
  };
  const Case cases[] = {
      {"  A: TWidget {}\n  B: TNoSuchClass {}\n", 3, "TNoSuchClass", "unknown class TNoSuchClass"},
      {"  A: TWidget {\n    Captoin = \"x\"\n  }\n", 3, "Captoin", "unknown property Captoin of class TWidget"},
      {"  A: TWidget {\n    Width = \"wide\"\n  }\n", 3, "Width", "expected an integer, found a string"},
      {"  A: TWidget { Width = 3000000000 }\n", 2, "Width", "out of the property's range"},
      {"  A: TWidget { Color = -1 }\n", 2, "Color", "out of the property's range"},
      {"  A: TWidget { Color = clPink }\n", 2, "Color", "unknown identifier clPink"},
      {"  A: TWidget { Shade = shMedium }\n", 2, "Shade", "unknown identifier shMedium"},
      {"  A: TWidget { Marks = set(mkA, mkZ) }\n", 2, "Marks", "unknown identifier mkZ"},
      {"  A: TWidget { Visible = 1 }\n", 2, "Visible", "True or False"},
      {"  A: TWidget { Ratio = \"1\" }\n", 2, "Ratio", "expected a number"},
      {"  A: TWidget { OnClick = @NoSuchMethod }\n", 2, "OnClick", "no method NoSuchMethod"},
      {"  A: TWidget { OnClick = FormClick }\n", 2, "OnClick", "event handler"},
      {"  A: TWidget { OnMove = @FormClick }\n", 2, "OnMove", "does not take this event's parameters"},
      {"  A: TWidget {\n\n    Buddy = Nobody\n  }\n", 4, "Nobody", "no component Nobody"},
      {"  A: TWidget {}\n  a: TWidget {}\n", 3, "a", "exists already"},
      {"  A: TWidget { Pen = \"x\" }\n", 2, "Pen", "is an object"},
      {"  A: TWidget { Pen.Colour = 1 }\n", 2, "Colour", "unknown property Colour of class TPen2"},
      {"  A: TWidget { Width.Size = 1 }\n", 2, "Width", "has no properties of its own"},
      {"  A: TWidget { Parts = items { { Wide = 1 } } }\n", 2, "Wide", "unknown property Wide of class TPart"},
      {"  A: TWidget { Parts = 1 }\n", 2, "Parts", "collection"},
      {"  A: TPen2 {}\n", 2, "TPen2", "not a component class"},
  };
  for (const Case& c : cases) {
    TTestForm fresh;
    try {
      ReadFormText(fresh, std::string("Form1: TTestForm {\n") + c.body + "}\n", "TTESTFORM.DE", fresh.methods);
      ADD_FAILURE() << "no error for: " << c.body;
    } catch (const EFormResourceError& e) {
      EXPECT_EQ(e.Line(), c.line) << e.Message();
      EXPECT_EQ(e.Name(), c.name) << e.Message();
      EXPECT_EQ(e.Resource(), "TTESTFORM.DE");
      EXPECT_NE(e.Message().find(c.problem), std::string::npos) << e.Message();
    }
    EXPECT_EQ(fresh.ComponentCount(), 0) << c.body;
  }
}

TEST_F(FormLoaderTest, ClassesAreFoundByTheirUnitQualifiedNameOrTheirOwnWhileItIsUnique) {
  struct Case {
    const char* className;
    std::type_index type;
    const char* problem;  // else the class loads as `type` with its Width set
  };
  const Case cases[] = {
      {"UnitA.TGauge", typeid(unit_a::TGauge), nullptr},
      {"unitb.tgauge", typeid(unit_b::TGauge), nullptr},
      {"TDial", typeid(unit_a::TDial), nullptr},
      {"UnitA.TDial", typeid(unit_a::TDial), nullptr},
      {"TBox", typeid(TBox), nullptr},
      {"TGauge", typeid(void), "Class TGauge is published by several units: write UnitA.TGauge or UnitB.TGauge"},
      {"UnitC.TGauge", typeid(void), "unknown class UnitC.TGauge"},
      {"UnitB.TDial", typeid(void), "unknown class UnitB.TDial"},
  };
  for (const Case& c : cases) {
    TTestForm fresh;
    const std::string text = std::string("Form1: TTestForm {\n  A: TWidget {}\n  G: ") + c.className + " { Width = 4 }\n}\n";
    try {
      ReadFormText(fresh, text, "TTESTFORM.DE", fresh.methods);
      EXPECT_FALSE(c.problem) << c.className;
      TComponent& g = *fresh.FindComponent("G");
      EXPECT_EQ(std::type_index(typeid(g)), c.type) << c.className;
      EXPECT_EQ(dynamic_cast<TWidget&>(g).width, 4);
    } catch (const EFormResourceError& e) {
      ASSERT_TRUE(c.problem) << e.Message();
      EXPECT_EQ(e.Message(), std::string("Form resource TTESTFORM.DE, line 3: ") + c.problem);
      EXPECT_EQ(e.Name(), c.className);
      EXPECT_EQ(fresh.ComponentCount(), 0);
    }
  }
  EXPECT_EQ(FindPublishedClass("unita.tgauge")->Name(), "TGauge");
  EXPECT_EQ(FindPublishedClass("unita.tgauge")->PublishedName(), "UnitA.TGauge");
}

TEST_F(FormLoaderTest, PublishingRefusesNamesThatCouldNotTellTwoClassesApart) {
  class TOther : public TWidget {
  public:
    using TWidget::TWidget;
  };
  for (const char* name : {"UnitA.TGauge", "unita.TDIAL", "TGauge", "TBox", "UnitC.TBox"})
    EXPECT_THROW(TClassPublisher<TOther>(std::string(name)), EComponentError) << name;
  TClassPublisher<TBox, TWidget>("TBox");  // the same class again
  EXPECT_EQ(FindPublishedClass("TBox")->Base()->Name(), "TWidget");
  EXPECT_EQ(FindPublishedClass(typeid(TOther)), nullptr);
}

TEST_F(FormLoaderTest, ReadsTheFormsResourceInTheResourceLanguage) {
  struct Case {
    std::string_view language;
    const char* caption;
    const char* save;
  };
  for (const Case& c : {Case{kLanguageGerman, "Hauptfenster", "Speichern"}, Case{kLanguageEnglish, "Main window", "Save"}}) {
    SetResourceLanguage(std::string(c.language));
    TTestForm built;
    ReadFormResource(built, "TTestForm", built.methods);
    EXPECT_EQ(built.caption, c.caption);
    TWidget& save = dynamic_cast<TWidget&>(*built.Components(0));
    EXPECT_EQ(save.caption, c.save);
    save.OnClick(&save);
    EXPECT_EQ(built.clicks, std::vector<std::string>{"Save"});
  }
  SetResourceLanguage("");
}

TEST_F(FormLoaderTest, AFormWithoutTheLanguageTakesItsOnlyResourceAndMissingOnesAreNamed) {
  SetResourceLanguage(std::string(kLanguageEnglish));
  TTestForm other;
  try {
    ReadFormResource(other, "TBrokenForm", other.methods);
    ADD_FAILURE();
  } catch (const EFormResourceError& e) {
    EXPECT_EQ(e.Message(), "Form resource TBROKENFORM, line 5: unknown property Wdth of class TWidget");
    EXPECT_EQ(e.Name(), "Wdth");
  }
  EXPECT_EQ(other.ComponentCount(), 0);
  EXPECT_THROW(ReadFormResource(other, "TMissingForm", other.methods), EResNotFound);
  SetResourceLanguage("");
}

}  // namespace
}  // namespace platform
