#include "grid/xpvs/ExXPVS.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::xpvs {
namespace {

BOOL ThemeActive() { return 1; }
HTHEME OpenTheme(HWND, LPCWSTR) { return reinterpret_cast<HTHEME>(0x1234); }

// A stand-in theme library that exports every name but `missing`; it answers IsThemeActive and
// OpenThemeData with its own functions and every other name with some non-null address.
TLibraryOpener FakeLibrary(std::string missing, std::string* openedName = nullptr) {
  return [missing, openedName](const char* name) -> TLibraryLookup {
    if (openedName) *openedName = name;
    return [missing](const char* entry) -> void* {
      if (entry == missing) return nullptr;
      if (std::string(entry) == "IsThemeActive") return reinterpret_cast<void*>(&ThemeActive);
      if (std::string(entry) == "OpenThemeData") return reinterpret_cast<void*>(&OpenTheme);
      return reinterpret_cast<void*>(&ThemeActive);
    };
  };
}

class ThemeBindingTest : public ::testing::Test {
protected:
  void TearDown() override { UnbindThemeLibrary(); }
};

TEST_F(ThemeBindingTest, ThisPlatformHasNoThemeLibrarySoEveryPointerStaysNull) {
  BindThemeLibrary();
  EXPECT_FALSE(ThemeLibraryLoaded());
  EXPECT_EQ(IsThemeActive, nullptr);
  EXPECT_EQ(OpenThemeData, nullptr);
  EXPECT_EQ(DrawThemeBackground, nullptr);
  EXPECT_EQ(CloseThemeData, nullptr);
  EXPECT_EQ(EnableTheming, nullptr);
}

TEST_F(ThemeBindingTest, ALibraryBindsEveryEntryPointOnceByName) {
  std::string opened;
  BindThemeLibrary(FakeLibrary("", &opened));
  EXPECT_EQ(opened, "UXTHEME.DLL");
  ASSERT_TRUE(ThemeLibraryLoaded());
  ASSERT_NE(IsThemeActive, nullptr);
  EXPECT_EQ(IsThemeActive(), 1);
  EXPECT_EQ(OpenThemeData(HWND{}, "combobox"), reinterpret_cast<HTHEME>(0x1234));
  EXPECT_NE(EnableTheming, nullptr);

  opened.clear();
  BindThemeLibrary(FakeLibrary("", &opened));  // already bound: not opened again
  EXPECT_EQ(opened, "");

  UnbindThemeLibrary();
  EXPECT_FALSE(ThemeLibraryLoaded());
  EXPECT_EQ(IsThemeActive, nullptr);
}

TEST_F(ThemeBindingTest, AMissingEntryPointStaysNullAndIsReportedWithTheLineOfItsLookup) {
  struct Case {
    const char* missing;
    int line;
  } cases[] = {{"OpenThemeData", 982}, {"IsThemeActive", 1084}, {"EnableTheming", 1114}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.missing);
    try {
      BindThemeLibrary(FakeLibrary(c.missing));
      ADD_FAILURE() << "no assertion";
    } catch (const EAssertionFailed& e) {
      EXPECT_EQ(e.Message(), "Assertion fehlges");
      EXPECT_EQ(e.Unit(), "ExXPVS");
      EXPECT_EQ(e.Line(), c.line);
    }
    EXPECT_NE(DrawThemeBackground, nullptr);  // the others are bound all the same
    UnbindThemeLibrary();
  }
}

}  // namespace
}  // namespace velmora::xpvs
