#include "platform/core/Paths.h"
#include "platform/edits/RichEdit.h"
#include "platform/ui/Clipbrd.h"
#include "X11Fixture.h"

namespace platform::test {
namespace {

using ::testing::HasSubstr;

class X11ClipboardTest : public X11Test {
protected:
  // What xclip pastes from the clipboard as `target`; none when the owner refused it. The loop serves
  // the request meanwhile.
  std::optional<std::string> Paste(const std::string& target, const std::string& selection = "clipboard") {
    PeerProcess xclip({"xclip", "-o", "-selection", selection, "-t", target}, Display());
    EXPECT_TRUE(PumpUntil([&] { return xclip.Ended(); })) << "xclip did not end";
    if (xclip.ExitCode() != 0) return std::nullopt;
    return xclip.Output();
  }
  // xclip as the clipboard's owner, offering `data` as `target` until it loses the clipboard.
  std::unique_ptr<PeerProcess> Copy(const std::string& target, const std::string& data,
                                    const std::string& selection = "clipboard") {
    return std::make_unique<PeerProcess>(
        std::vector<std::string>{"xclip", "-i", "-selection", selection, "-t", target, "-quiet"}, Display(), data);
  }
};

TEST_F(X11ClipboardTest, CopiedTextIsPastedByOthersInEachTextForm) {
  backend_->SetClipboard(kClipboardText, "Grüße aus Köln €", TBackend::TClipboardWrite::Replace);
  EXPECT_EQ(Paste("UTF8_STRING"), "Grüße aus Köln €");
  EXPECT_EQ(Paste("text/plain;charset=utf-8"), "Grüße aus Köln €");
  EXPECT_EQ(Paste("STRING"), "Gr\xfc\xdf" "e aus K\xf6ln ?") << "Latin-1, what it lacks as '?'";
  EXPECT_EQ(Paste("text/rtf"), std::nullopt);
}

TEST_F(X11ClipboardTest, FormatsOfOneCopyTravelTogetherAndAReplaceDropsThem) {
  backend_->SetClipboard(kClipboardText, "fett", TBackend::TClipboardWrite::Replace);
  backend_->SetClipboard(kClipboardRichText, "{\\rtf1 \\b fett}", TBackend::TClipboardWrite::Add);
  EXPECT_EQ(Paste("text/rtf"), "{\\rtf1 \\b fett}");
  EXPECT_EQ(Paste("UTF8_STRING"), "fett");
  const std::string targets = Paste("TARGETS").value_or("");
  EXPECT_THAT(targets, HasSubstr("text/rtf"));
  EXPECT_THAT(targets, HasSubstr("UTF8_STRING"));

  backend_->SetClipboard(kClipboardRichText, "{\\rtf1 neu}", TBackend::TClipboardWrite::Replace);
  EXPECT_EQ(Paste("UTF8_STRING"), std::nullopt);
  EXPECT_FALSE(backend_->HasClipboardFormat(kClipboardText));
  EXPECT_EQ(backend_->GetClipboard(kClipboardRichText), "{\\rtf1 neu}");
}

TEST_F(X11ClipboardTest, WhatOthersCopyIsPastedHereAndEndsOurOwnership) {
  backend_->SetClipboard(kClipboardText, "unseres", TBackend::TClipboardWrite::Replace);
  auto owner = Copy("UTF8_STRING", "Hallo ä");
  ASSERT_TRUE(PumpUntil([&] { return backend_->GetClipboard(kClipboardText) == "Hallo ä"; }));
  EXPECT_TRUE(backend_->HasClipboardFormat(kClipboardText));
  EXPECT_FALSE(backend_->HasClipboardFormat(kClipboardRichText));

  auto richOwner = Copy("text/rtf", "{\\rtf1 x}");
  ASSERT_TRUE(PumpUntil([&] { return backend_->GetClipboard(kClipboardRichText) == "{\\rtf1 x}"; }));
  EXPECT_TRUE(backend_->HasClipboardFormat(kClipboardRichText));
  EXPECT_FALSE(backend_->HasClipboardFormat(kClipboardText)) << "xclip lists only the type it was given";
}

// The clipboard service on the X11 backend: one copy of several formats offers each under the targets
// that other programs ask for, and what they offer is read under the service's formats.
TEST_F(X11ClipboardTest, TheServicesFormatsTravelUnderTheirTargetsBothWays) {
  SetBackend(std::move(backend_));
  struct Restore {
    ~Restore() { SetBackend(nullptr); }
  } restore;
  const TClipboardFormat rich = RegisterClipboardFormat("Rich Text Format");
  const TClipboardFormat cells = RegisterClipboardFormat("application/x-velmora-cells");
  Clipboard().Open();
  Clipboard().SetAsText("a\tb");
  Clipboard().SetBuffer(rich, "{\\rtf1 \\b a}");
  Clipboard().SetBuffer(cells, "2x1");
  Clipboard().Close();
  const std::string targets = Paste("TARGETS").value_or("");
  for (const char* target : {"UTF8_STRING", "text/plain;charset=utf-8", "TEXT", "STRING", "text/rtf", "text/richtext",
                             "application/x-velmora-cells"})
    EXPECT_THAT(targets, HasSubstr(target));
  EXPECT_EQ(Paste("text/rtf"), "{\\rtf1 \\b a}");
  EXPECT_EQ(Paste("text/richtext"), "{\\rtf1 \\b a}");
  EXPECT_EQ(Paste("application/x-velmora-cells"), "2x1");
  EXPECT_EQ(Paste("TEXT"), "a\tb");

  for (const std::string target : {"text/rtf", "text/richtext"}) {
    auto owner = Copy(target, "{\\rtf1 von " + target + "}");
    ASSERT_TRUE(PumpUntil([&] { return Clipboard().GetBuffer(rich) == "{\\rtf1 von " + target + "}"; })) << target;
    EXPECT_TRUE(Clipboard().HasFormat(rich));
    EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard().AsText(), "");
  }
}

// The primary selection travels apart from the clipboard, as users of X expect.
TEST_F(X11ClipboardTest, SelectedTextIsThePrimarySelection) {
  backend_->SetClipboard(kClipboardText, "kopiert", TBackend::TClipboardWrite::Replace);
  backend_->SetPrimarySelection("markiert");
  EXPECT_EQ(Paste("UTF8_STRING", "primary"), "markiert");
  EXPECT_EQ(Paste("UTF8_STRING"), "kopiert");
  backend_->SetPrimarySelection("");
  EXPECT_EQ(Paste("UTF8_STRING", "primary"), std::nullopt);

  auto owner = Copy("UTF8_STRING", "von außen", "primary");
  ASSERT_TRUE(PumpUntil([&] { return backend_->GetPrimarySelection() == "von außen"; }));
  EXPECT_EQ(backend_->GetClipboard(kClipboardText), "kopiert");
}

// Far more than one request holds: both directions go through INCR.
TEST_F(X11ClipboardTest, LargeTextTravelsInPiecesBothWays) {
  std::string large;
  for (int i = 0; large.size() < 3'000'000; ++i) large += "Zeile " + std::to_string(i) + " äöü\n";
  backend_->SetClipboard(kClipboardText, large, TBackend::TClipboardWrite::Replace);
  const std::optional<std::string> pasted = Paste("UTF8_STRING");
  ASSERT_TRUE(pasted.has_value());
  EXPECT_EQ(pasted->size(), large.size());
  EXPECT_TRUE(*pasted == large);

  const std::string theirs = large.substr(1000) + "Ende";
  auto owner = Copy("UTF8_STRING", theirs);
  std::optional<std::string> got;
  ASSERT_TRUE(PumpUntil([&] { return (got = backend_->GetClipboard(kClipboardText)) && *got != large; }));
  EXPECT_EQ(got->size(), theirs.size());
  EXPECT_TRUE(*got == theirs);
}

// Text from other programs comes in with its own line ends, each byte that is no UTF-8 read as its
// Windows-1252 character; text leaves with LF line ends, and every form of one copy (UTF-8, Latin-1,
// rich text) says the same, however the program's text came to hold such bytes.
TEST_F(X11ClipboardTest, TextLeavesWithLfLineEndsAndEveryFormAgreesOnMalformedBytes) {
  SetBackend(std::move(backend_));
  struct Restore {
    ~Restore() { SetBackend(nullptr); }
  } restore;
  auto owner = Copy("UTF8_STRING", "eins\r\nzwei\ndrei\rvier \xfc\x80");
  ASSERT_TRUE(PumpUntil([&] { return Clipboard().HasFormat(CF_TEXT); }));
  EXPECT_EQ(Clipboard().AsText(), "eins\r\nzwei\ndrei\rvier ü€");
  TRichEdit rich(nullptr);
  rich.PasteFromClipboard();
  rich.SelectAll();
  rich.CopyToClipboard();
  const std::string lf = "eins\nzwei\ndrei\nvier ü€";
  for (const std::string target : {"UTF8_STRING", "text/plain;charset=utf-8", "TEXT"}) EXPECT_EQ(Paste(target), lf) << target;
  EXPECT_EQ(Paste("STRING"), "eins\nzwei\ndrei\nvier \xfc?") << "Latin-1 has no euro sign";
  const std::string rtf = Paste("text/rtf").value_or("");
  EXPECT_THAT(rtf, HasSubstr("vier \\u252\\'fc\\u8364\\'80")) << rtf;

  Clipboard().SetAsText("Preis \x80 5\r\nCaf\xe9");
  EXPECT_EQ(Paste("UTF8_STRING"), "Preis € 5\nCafé");
  EXPECT_EQ(Paste("STRING"), "Preis ? 5\nCaf\xe9");
  EXPECT_EQ(Clipboard().AsText(), "Preis € 5\r\nCafé") << "a paste here reads them alike";
}

// An owner that streams without end, or never ends its transfer, has nothing pasted, and the next owner's
// text is pasted as it is.
TEST_F(X11ClipboardTest, AnOwnerStreamingWithoutEndPastesNothing) {
  PeerProcess owner({ExeDir() + "platform_backends_desktop_peer", "incr-owner", "0", "262144", "0"}, Display());
  ASSERT_TRUE(Says(owner, "owner")) << owner.Output();
  EXPECT_EQ(backend_->GetClipboard(kClipboardText), std::nullopt);
  auto next = Copy("UTF8_STRING", "danach");
  EXPECT_TRUE(PumpUntil([&] { return backend_->GetClipboard(kClipboardText) == "danach"; }));
}

}  // namespace
}  // namespace platform::test
