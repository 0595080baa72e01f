#include "app/string_entry_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace hoofer;

namespace {
/// Runs the dialog for real and types into it once it is up.
int RunTyping(TfrmSingleStringEntry &dialog, const std::function<void(QLineEdit *)> &typing)
{
    QTimer::singleShot(0, &dialog, [&] {
        QLineEdit *edit = dialog.findChild<QLineEdit *>();
        typing(edit);
        // Escape must not close it; the close box cancels.
        if (dialog.isVisible())
            dialog.reject();
    });
    return dialog.Execute();
}
} // namespace

TEST(StringEntryDialog, EnterAcceptsAndTheTextIsSelectedWhenItOpens)
{
    TfrmSingleStringEntry dialog(nullptr);
    dialog.SetTheText("Old");
    dialog.SetTitle("Your empeg's Network Name");
    EXPECT_EQ(dialog.windowTitle(), "Enter String");
    EXPECT_EQ(dialog.Prompt(), "Your empeg's Network Name");
    const int result = RunTyping(dialog, [&](QLineEdit *edit) {
        EXPECT_EQ(dialog.windowHandle()->title(), "Enter String");
        EXPECT_EQ(edit->selectedText(), "Old");
        QTest::keyClicks(edit, "player");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialog.TheText(), "player");
}

TEST(StringEntryDialog, EscapeLeavesItOpenAndClosingCancels)
{
    TfrmSingleStringEntry dialog(nullptr);
    bool stillOpen = false;
    const int result = RunTyping(dialog, [&](QLineEdit *edit) {
        QTest::keyClick(edit, Qt::Key_Escape);
        stillOpen = dialog.isVisible();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(result, 1);
    EXPECT_EQ(dialog.Prompt(), "Title");
}

TEST(StringEntryDialog, MaxLengthRefusesTheThirteenthCharacterOnly)
{
    TfrmSingleStringEntry dialog(nullptr);
    dialog.SetTheText("a name much longer than twelve");
    dialog.SetMaxLength(12);
    EXPECT_EQ(dialog.TheText(), "a name much longer than twelve");  // set by the program: whole
    dialog.SetTheText("");
    RunTyping(dialog, [](QLineEdit *edit) {
        QTest::keyClicks(edit, "abcdefghijklm");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.TheText(), "abcdefghijkl");
}
