#include "app/string_entry_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWindow>

using namespace hoofer;

TEST(StringEntryDialog, ShownItSelectsTheTextAcceptsOnEnterStaysOpenOnEscapeAndLimitsTyping)
{
    const struct {
        const char *name, *before;
        int maxLength;
        const char *typed;
        Qt::Key last;
        int result;
        const char *after;
    } rows[] = {{"Enter accepts", "Old", 0, "player", Qt::Key_Return, 1, "player"},
                {"Escape leaves it open, the close box cancels", "Old", 0, "x", Qt::Key_Escape, 0, "x"},
                {"typing stops at the maximum, not a text set by the program", "a name much longer than twelve", 12,
                 "abcdefghijklm", Qt::Key_Return, 1, "abcdefghijkl"}};
    for (const auto &row : rows) {
        TfrmSingleStringEntry dialog(nullptr);
        dialog.SetMaxLength(row.maxLength);
        dialog.SetTheText(row.before);
        dialog.SetTitle("Your empeg's Network Name");
        dialog.show();  // as Execute shows it, without a modal loop to wait in
        QLineEdit *edit = dialog.findChild<QLineEdit *>();
        EXPECT_EQ(dialog.windowHandle()->title(), "Enter String") << row.name;
        EXPECT_EQ(edit->selectedText(), row.before) << row.name;
        QTest::keyClicks(edit, row.typed);
        QTest::keyClick(edit, row.last);
        EXPECT_EQ(dialog.isVisible(), row.last == Qt::Key_Escape) << row.name;
        dialog.close();  // the close box, where the dialog is still open
        EXPECT_EQ(dialog.result(), row.result) << row.name;
        EXPECT_EQ(dialog.TheText(), row.after) << row.name;
    }
}
