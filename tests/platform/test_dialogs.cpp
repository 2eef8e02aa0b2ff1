#include "Dialogs.h"

#include <gtest/gtest.h>

using namespace zvo;

TEST(Dialogs, ScriptedResponderPressesButtonsByCaption)
{
    TScriptedResponder script;
    script.Press("No").Press("Go on").PickFolder("C:\\Picked\\").CancelFolder();

    TMessageRequest question;
    question.Text = "Line one\rLine two";
    question.Kind = TMsgDlgType::mtConfirmation;
    question.Buttons = {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo};
    question.DefaultButton = TMsgDlgBtn::mbNo;
    EXPECT_EQ(TDialogs::ShowMessage(question), mrNo);

    TMessageRequest captioned = question;
    captioned.Buttons = {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbAbort};
    captioned.Captions = {"Go on", "Stop"};
    EXPECT_EQ(TDialogs::ShowMessage(captioned), mrYes); // the button's result, not its caption

    EXPECT_EQ(TDialogs::BrowseForFolder({"Pick", false, {}}), std::optional<QString>("C:\\Picked\\"));
    EXPECT_EQ(TDialogs::BrowseForFolder({"Pick", false, {}}), std::nullopt);

    EXPECT_EQ(script.MessageTexts(), QStringList({"Line one\nLine two", "Line one\nLine two"}));
    EXPECT_EQ(script.Messages().first().Captions, QStringList({"Yes", "No"}));
    EXPECT_TRUE(script.Unexpected().isEmpty());
}

TEST(Dialogs, UnscriptedBoxesAreRecordedAsUnexpected)
{
    TScriptedResponder script;
    TMessageRequest error;
    error.Text = "Boom";
    error.Kind = TMsgDlgType::mtError;
    error.Buttons = {TMsgDlgBtn::mbOK};
    EXPECT_EQ(TDialogs::ShowMessage(error), mrOk);
    script.Press("Retry");
    EXPECT_EQ(TDialogs::ShowMessage(error), mrCancel); // no such button
    EXPECT_EQ(script.Unexpected().size(), 2);
}
