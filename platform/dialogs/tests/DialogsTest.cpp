#include "platform/dialogs/Dialogs.h"

#include <gtest/gtest.h>

#include <iostream>

#include "platform/app/Application.h"
#include "platform/app/FormLanguage.h"
#include "platform/ui/FormLoader.h"
#include "platform/app/PublishedClasses.h"
#include "platform/dialogs/ScriptedDialogs.h"

namespace platform {
namespace {

class DialogsTest : public testing::Test {
protected:
  void SetUp() override { SetResourceLanguage(std::string(kLanguageEnglish)); }
  void TearDown() override { SetResourceLanguage(""); }
  TScriptedDialogService dialogs;
};

TEST_F(DialogsTest, MessageDlgOffersTheButtonsAndReturnsTheAnswersResult) {
  struct Case {
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    TMsgDlgBtn answer;
    int result;
    const char* caption;
    TMsgDlgBtn defaultButton;
  };
  const Case cases[] = {
      {mtConfirmation, mbYesNo, mbYes, mrYes, "Confirm", mbYes},
      {mtConfirmation, mbYesNo, mbNo, mrNo, "Confirm", mbYes},
      {mtWarning, mbYesNo, mbNo, mrNo, "Warning", mbYes},
      {mtInformation, {mbOK}, mbOK, mrOk, "Information", mbOK},
      {mtError, mbOKCancel, mbCancel, mrCancel, "Error", mbOK},
      {mtWarning, mbAbortRetryIgnore, mbIgnore, mrIgnore, "Warning", mbRetry},
      {mtConfirmation, {mbNo, mbCancel}, mbCancel, mrCancel, "Confirm", mbNo},
  };
  for (const Case& c : cases) {
    dialogs.AnswerMessage(c.answer);
    EXPECT_EQ(MessageDlg("Save changes?", c.type, c.buttons, 0), c.result);
    const TMessageRequest& asked = dialogs.Messages().back();
    EXPECT_EQ(asked.Text, "Save changes?");
    EXPECT_EQ(asked.Caption, c.caption);
    EXPECT_EQ(asked.Type, c.type);
    EXPECT_EQ(asked.Buttons, c.buttons);
    EXPECT_EQ(asked.DefaultButton, c.defaultButton);
  }
  SetResourceLanguage(std::string(kLanguageGerman));
  dialogs.AnswerMessage(mbYes);
  MessageDlg("Änderungen speichern?", mtConfirmation, mbYesNo, 0);
  EXPECT_EQ(dialogs.Messages().back().Caption, "Bestätigen");
}

TEST_F(DialogsTest, MessageBoxMapsItsFlagsToButtonsIconAndDefault) {
  struct Case {
    unsigned flags;
    TMsgDlgButtons buttons;
    TMsgDlgType type;
    TMsgDlgBtn defaultButton;
    TMsgDlgBtn answer;
    int result;
  };
  const Case cases[] = {
      {MB_OK, {mbOK}, mtCustom, mbOK, mbOK, IDOK},
      {MB_OK | MB_ICONINFORMATION, {mbOK}, mtInformation, mbOK, mbOK, IDOK},
      {MB_OKCANCEL | MB_ICONSTOP, mbOKCancel, mtError, mbOK, mbCancel, IDCANCEL},
      {MB_YESNO | MB_ICONWARNING, mbYesNo, mtWarning, mbYes, mbNo, IDNO},
      {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, mbYesNo, mtConfirmation, mbNo, mbYes, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, mbYesNoCancel, mtCustom, mbCancel, mbCancel, IDCANCEL},
      {MB_ABORTRETRYIGNORE, mbAbortRetryIgnore, mtCustom, mbAbort, mbRetry, IDRETRY},
      {MB_RETRYCANCEL, {mbRetry, mbCancel}, mtCustom, mbRetry, mbRetry, IDRETRY},
      {MB_YESNO | MB_DEFBUTTON3, mbYesNo, mtCustom, mbYes, mbYes, IDYES},  // no third button: the first
  };
  for (const Case& c : cases) {
    dialogs.AnswerMessage(c.answer);
    EXPECT_EQ(Application().MessageBox("text", "Velmora", c.flags), c.result) << c.flags;
    const TMessageRequest& asked = dialogs.Messages().back();
    EXPECT_EQ(asked.Caption, "Velmora");
    EXPECT_EQ(asked.Buttons, c.buttons) << c.flags;
    EXPECT_EQ(asked.Type, c.type) << c.flags;
    EXPECT_EQ(asked.DefaultButton, c.defaultButton) << c.flags;
  }
}

TEST_F(DialogsTest, AnUnscriptedOrMismatchedDialogRaisesInsteadOfWaiting) {
  EXPECT_THROW(ShowMessage("nobody answers"), EScriptedDialogError);
  dialogs.AnswerMessage(mbYes);
  EXPECT_THROW(ShowMessage("only OK"), EScriptedDialogError);
  dialogs.AnswerFile("/tmp/x.csv");
  EXPECT_THROW(MessageDlg("a message", mtWarning, mbYesNo, 0), EScriptedDialogError);
  dialogs.AnswerMessage(mbOK);
  EXPECT_THROW(BrowseForFolder("Browse for Folder", CSIDL_DRIVES, BIF_RETURNONLYFSDIRS), EScriptedDialogError);
  EXPECT_EQ(dialogs.Unanswered(), 0u);
}

TEST_F(DialogsTest, FileDialogsFromAResourceAskWithTheirSettingsAndKeepTheNameOnCancel) {
  PublishDialogClasses();
  TComponent form(nullptr);
  ReadFormText(form,
               "Form1: TComponent {\n"
               "  dlgExcelSave: TSaveDialog {\n"
               "    Title = \"CSV - Speichern\"  Filter = \"Kommatext - Datei|*.csv\"  DefaultExt = \"csv\"\n"
               "    FileName = \"pwdsave\"  InitialDir = \"%temp%\"\n"
               "  }\n"
               "  dlgExcelLoad: TOpenDialog {\n"
               "    Options = set(ofHideReadOnly, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofEnableSizing)\n"
               "  }\n"
               "}\n",
               "TFORM1.DE", TFormMethods());
  auto& save = dynamic_cast<TSaveDialog&>(*form.Components(0));
  auto& load = dynamic_cast<TOpenDialog&>(*form.Components(1));

  dialogs.AnswerFile("/tmp/hosts");  // no extension: the default one is added
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, "/tmp/hosts.csv");
  const TFileDialogRequest& asked = dialogs.FileDialogs().back();
  EXPECT_EQ(asked.Kind, TFileDialogKind::Save);
  EXPECT_EQ(asked.Title, "CSV - Speichern");
  EXPECT_EQ(asked.Filter, "Kommatext - Datei|*.csv");
  EXPECT_EQ(asked.FileName, "pwdsave");
  EXPECT_EQ(asked.InitialDir, "%temp%");
  EXPECT_EQ(asked.Options, (TOpenOptions{ofHideReadOnly, ofEnableSizing}.Bits()));  // the defaults

  dialogs.AnswerFile("/tmp/my.dir/list.txt", 2);
  ASSERT_TRUE(load.Execute());
  EXPECT_EQ(load.FileName, "/tmp/my.dir/list.txt");
  EXPECT_EQ(load.FilterIndex, 2);
  EXPECT_EQ(dialogs.FileDialogs().back().Kind, TFileDialogKind::Open);
  EXPECT_EQ(dialogs.FileDialogs().back().Options,
            (TOpenOptions{ofHideReadOnly, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofEnableSizing}.Bits()));

  dialogs.AnswerCancel();
  EXPECT_FALSE(load.Execute());
  EXPECT_EQ(load.FileName, "/tmp/my.dir/list.txt");
}

TEST_F(DialogsTest, TheFolderBrowserAsksWithRootAndFlags) {
  dialogs.AnswerFolder("", "SERVER1");
  auto computer = BrowseForFolder("Browse for Computer", CSIDL_NETWORK, BIF_BROWSEFORCOMPUTER | BIF_BROWSEFORPRINTER);
  ASSERT_TRUE(computer);
  EXPECT_EQ(computer->DisplayName, "SERVER1");
  EXPECT_EQ(dialogs.FolderDialogs().back().Root, CSIDL_NETWORK);
  EXPECT_EQ(dialogs.FolderDialogs().back().Flags, 0x3000u);
  dialogs.AnswerCancel();
  EXPECT_FALSE(BrowseForFolder("Browse for Folder", CSIDL_DRIVES, BIF_RETURNONLYFSDIRS));
  EXPECT_EQ(dialogs.FolderDialogs().back().Title, "Browse for Folder");
}

TEST_F(DialogsTest, AShowOrCloseHandlerThatFreesTheDialogEndsExecuteWithoutAnAnswer) {
  for (const bool font : {false, true})
    for (const bool freedOnShow : {true, false}) {
      SCOPED_TRACE(std::string(font ? "font" : "open") + (freedOnShow ? ", freed by OnShow" : ", freed by OnClose"));
      TCommonDialog* dialog = font ? static_cast<TCommonDialog*>(new TFontDialog(nullptr)) : new TOpenDialog(nullptr);
      (freedOnShow ? dialog->OnShow : dialog->OnClose) = [&](TObject*) { delete dialog; };
      const size_t asked = dialogs.FileDialogs().size() + dialogs.FontDialogs().size();
      if (!freedOnShow) font ? dialogs.AnswerFont({"Liberation Serif", 14, 0, clBlue}) : dialogs.AnswerFile("/tmp/hosts");
      // Freed by OnShow, it asks nothing (no answer is scripted: a question would raise).
      EXPECT_FALSE(dialog->Execute());
      EXPECT_EQ(dialogs.FileDialogs().size() + dialogs.FontDialogs().size(), asked + (freedOnShow ? 0 : 1));
      EXPECT_EQ(dialogs.Unanswered(), 0u);
    }
}

TEST_F(DialogsTest, TheExceptionDisplayOfGuiProgramsIsAnErrorBox) {
  InstallMessageBoxExceptionDisplay();
  dialogs.AnswerMessage(mbOK);
  Application().HandleException(Exception("Datei kann nicht geöffnet werden"));
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0].Text, "Datei kann nicht geöffnet werden");
  EXPECT_EQ(dialogs.Messages()[0].Caption, Application().Title());
  EXPECT_EQ(dialogs.Messages()[0].Type, mtError);
  EXPECT_EQ(dialogs.Messages()[0].Buttons, TMsgDlgButtons{mbOK});
}

TEST(ConsoleDialogsTest, WithoutADisplayMessagesGoToStandardErrorAndFileDialogsCancel) {
  SetResourceLanguage(std::string(kLanguageEnglish));
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageDlg("Now you have to reset the Service!", mtWarning, mbYesNo, 0), mrYes);
  EXPECT_EQ(Application().MessageBox("Sorry", "Velmora", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Warning: Now you have to reset the Service!\nVelmora: Sorry\n");
  TOpenDialog dialog(nullptr);
  dialog.FileName = "kept";
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "kept");
  EXPECT_FALSE(BrowseForFolder("Browse for Folder", CSIDL_DRIVES, BIF_RETURNONLYFSDIRS));
  SetResourceLanguage("");
}

}  // namespace
}  // namespace platform
