#include <gtest/gtest.h>

#include "platform/core/Exception.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/HeadlessBackend.h"

namespace platform {
namespace {

class ClipboardTest : public ::testing::Test {
protected:
  void SetUp() override { SetBackend(std::make_unique<THeadlessBackend>()); }
  void TearDown() override { SetBackend(nullptr); }
};

TEST_F(ClipboardTest, RegisteredFormatsKeepTheirNumberByNameIgnoringCase) {
  const TClipboardFormat rich = RegisterClipboardFormat("Rich Text Format");
  EXPECT_GE(rich, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("RICH TEXT FORMAT"), rich);
  const TClipboardFormat own = RegisterClipboardFormat("Velmora Cells");
  EXPECT_NE(own, rich);
  EXPECT_EQ(RegisterClipboardFormat("Velmora Cells"), own);
  EXPECT_EQ(RegisterClipboardFormat(""), 0u);
}

// The backend sees the formats under the names that other programs know them by.
TEST_F(ClipboardTest, FormatsReachTheBackendUnderTheirExchangeNames) {
  Clipboard().SetAsText("Grüße");
  EXPECT_EQ(Backend().GetClipboard(kClipboardText), "Grüße");
  EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
  EXPECT_TRUE(Clipboard().HasFormat(CF_UNICODETEXT)) << "one text in both text formats";
  EXPECT_EQ(Clipboard().GetBuffer(CF_UNICODETEXT), "Grüße");

  const TClipboardFormat rich = RegisterClipboardFormat("Rich Text Format");
  Clipboard().SetBuffer(rich, "{\\rtf1 x}");
  EXPECT_EQ(Backend().GetClipboard(kClipboardRichText), "{\\rtf1 x}");
  EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT)) << "a write outside Open/Close replaces";
  EXPECT_EQ(Clipboard().AsText(), "");

  const TClipboardFormat own = RegisterClipboardFormat("Velmora Cells");
  Backend().SetClipboard("Velmora Cells", std::string("a\0b", 3), TBackend::TClipboardWrite::Replace);
  EXPECT_TRUE(Clipboard().HasFormat(own));
  EXPECT_EQ(Clipboard().GetBuffer(own), std::string("a\0b", 3)) << "bytes as they are";
  EXPECT_EQ(Clipboard().GetBuffer(rich), std::nullopt);
}

TEST_F(ClipboardTest, OpenAndCloseGroupTheFormatsOfOneCopy) {
  const TClipboardFormat rich = RegisterClipboardFormat("Rich Text Format");
  Clipboard().SetAsText("old");
  Clipboard().Open();
  Clipboard().SetAsText("a\tb");
  Clipboard().Open();  // nested, as a routine that opens it itself may be called inside a group
  Clipboard().SetBuffer(rich, "{\\rtf1 a}");
  Clipboard().Close();
  Clipboard().Close();
  EXPECT_EQ(Clipboard().AsText(), "a\tb");
  EXPECT_EQ(Clipboard().GetBuffer(rich), "{\\rtf1 a}");

  // The next group starts anew; Clear in a group empties once, and later writes add.
  Clipboard().Open();
  Clipboard().Clear();
  EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
  Clipboard().SetBuffer(rich, "{\\rtf1 b}");
  Clipboard().SetAsText("b");
  Clipboard().Close();
  EXPECT_EQ(Clipboard().AsText(), "b");
  EXPECT_EQ(Clipboard().GetBuffer(rich), "{\\rtf1 b}");

  Clipboard().Close();  // one Close too many changes nothing
  Clipboard().SetAsText("c");
  EXPECT_FALSE(Clipboard().HasFormat(rich));
}

TEST_F(ClipboardTest, AFormatNeverHandedOutIsRefused) {
  EXPECT_FALSE(Clipboard().HasFormat(0xFFFF));
  EXPECT_EQ(Clipboard().GetBuffer(0xFFFF), std::nullopt);
  Clipboard().SetAsText("kept");
  EXPECT_THROW(Clipboard().SetBuffer(0xFFFF, "x"), Exception);
  EXPECT_EQ(Clipboard().AsText(), "kept");
}

}  // namespace
}  // namespace platform
