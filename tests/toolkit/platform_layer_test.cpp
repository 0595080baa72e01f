// The platform layer under the window, through Qt's real event loop and
// real key events: the preview's paints, the key preview, the edit box's
// limit, the dialogs' titles and file filters, the preview on a dark theme.
#include "toolkit/combo_box.h"
#include "toolkit/dialogs.h"
#include "toolkit/edit_box.h"
#include "toolkit/key_router.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <vector>

using namespace hoofer;
using namespace hoofer::toolkit;

namespace {
/// Handles events for about ms milliseconds.
void Settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QTest::qWait(10);
}

void ShowActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}
} // namespace

TEST(PaintBox, ARepaintRequestRunsThePaintHandlerOnceThenRests)
{
    QWidget window;
    TPaintBox box(256, 296, &window);
    int paints = 0;
    box.OnPaint = [&] {
        ++paints;
        // A figure's worth of drawing, as the window's paint handler does.
        box.Surface().FillRect(0, 0, 256, 296);
        box.Surface().MoveTo(10, 10);
        box.Surface().LineTo(100, 200);
        box.Surface().Ellipse(20, 20, 30, 30);
    };
    ShowActive(window);
    Settle(100);
    // Requests the program did not cause: an update, a disabled parent.
    const std::vector<std::pair<const char *, std::function<void()>>> requests = {
        {"update", [&] { box.update(); }},
        {"parent disabled", [&] { window.setEnabled(false); }},
        {"expose", [&] { box.Expose(); }},
    };
    for (const auto &[name, request] : requests) {
        paints = 0;
        request();
        Settle(300);
        EXPECT_EQ(paints, 1) << name;
    }
    // Drawing by the program is shown without running the handler.
    paints = 0;
    box.Surface().LineTo(5, 5);
    Settle(100);
    EXPECT_EQ(paints, 0);
}

TEST(PaintBox, ADarkFaceColourGivesTheLightGreyBackground)
{
    const QPalette saved = QApplication::palette();
    const struct {
        const char *name;
        QColor face;
        QColor expected;
    } rows[] = {
        {"light grey face", QColor(240, 240, 240), QColor(240, 240, 240)},
        {"pale face", QColor(200, 200, 200), QColor(200, 200, 200)},
        {"mid grey face", QColor(128, 128, 128), QColor(212, 208, 200)},
        {"dark theme face", QColor(53, 53, 53), QColor(212, 208, 200)},
        {"dark blue face", QColor(30, 30, 90), QColor(212, 208, 200)},
    };
    for (const auto &row : rows) {
        QPalette palette = saved;
        palette.setColor(QPalette::Window, row.face);
        QApplication::setPalette(palette);
        QWidget window;
        TPaintBox box(256, 296, &window);
        box.Expose();
        EXPECT_EQ(QColor(box.Picture().pixel(128, 100)), row.expected) << row.name;
    }
    QApplication::setPalette(saved);
}

TEST(KeyRouter, TheWindowSeesEachKeyOnceBeforeTheFocusedControl)
{
    QWidget window;
    TMainMenu menu;
    KeyRouter router(&window, menu);
    auto *spin = new TSpinEdit(&window);
    spin->SetMinValue(0);
    spin->SetMaxValue(10);
    spin->SetValue(5);
    auto *combo = new TComboBox(&window);
    combo->setEditable(true);
    combo->move(0, 40);
    std::vector<int> keys;
    int spinValueSeen = -1;
    router.OnKeyDown = [&](int key, Qt::KeyboardModifiers) {
        keys.push_back(key);
        spinValueSeen = spin->Value();
    };
    ShowActive(window);
    const struct {
        const char *name;
        QWidget *focus;
    } rows[] = {{"spin edit", spin->Editor()}, {"move selector", combo}};
    for (const auto &row : rows) {
        row.focus->setFocus();
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << row.name;
        for (const int key : {Qt::Key_Escape, Qt::Key_F5, Qt::Key_A}) {
            keys.clear();
            QTest::keyClick(target, static_cast<Qt::Key>(key));
            EXPECT_EQ(keys, std::vector<int>{key}) << row.name << ", key " << key;
        }
    }
    spin->Editor()->setFocus();
    keys.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(keys.size(), 1u);
    EXPECT_EQ(spinValueSeen, 5);  // before the spin edit stepped
    EXPECT_EQ(spin->Value(), 6);
}

TEST(EditBox, MaxLengthLimitsTypingAndPastingNeverAPresetText)
{
    const QString thirteen = "ABCDEFGHIJKLM";
    const struct {
        const char *name;
        QString preset;
        int maxLength;
        std::function<void(QLineEdit *)> edit;
        QString expected;
    } rows[] = {
        {"typing stops at the limit", "", 12, [](QLineEdit *e) { QTest::keyClicks(e, "abcdefghijklm"); },
         "abcdefghijkl"},
        {"no limit", "", 0, [](QLineEdit *e) { QTest::keyClicks(e, QString(40, 'x')); }, QString(40, 'x')},
        {"a longer preset stays", thirteen, 12, [](QLineEdit *) {}, thirteen},
        {"delete one, type one", thirteen, 12,
         [](QLineEdit *e) {
             QTest::keyClick(e, Qt::Key_End);
             QTest::keyClick(e, Qt::Key_Backspace);
             QTest::keyClicks(e, "z");
         },
         "ABCDEFGHIJKL"},
        {"replace one in place", thirteen, 12,
         [](QLineEdit *e) {
             QTest::keyClick(e, Qt::Key_Home);
             QTest::keyClick(e, Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClicks(e, "z");
         },
         thirteen},
        {"delete two, type two", thirteen, 12,
         [](QLineEdit *e) {
             QTest::keyClick(e, Qt::Key_Home);
             QTest::keyClick(e, Qt::Key_Delete);
             QTest::keyClick(e, Qt::Key_Delete);
             QTest::keyClicks(e, "yz");
         },
         "yCDEFGHIJKLM"},
        {"paste over a preset", thirteen, 12,
         [](QLineEdit *e) {
             QGuiApplication::clipboard()->setText(QString(20, 'p'));
             QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
         },
         thirteen},
        {"paste into a short text", "ab", 12,
         [](QLineEdit *e) {
             QGuiApplication::clipboard()->setText(QString(20, 'p'));
             QTest::keyClick(e, Qt::Key_End);
             QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
         },
         "ab" + QString(10, 'p')},
    };
    for (const auto &row : rows) {
        TEdit edit;
        edit.SetText(row.preset);
        edit.SetMaxLength(row.maxLength);
        EXPECT_EQ(edit.text(), row.preset) << row.name;
        row.edit(&edit);
        EXPECT_EQ(edit.text(), row.expected) << row.name;
    }
}

TEST(Dialogs, TitlesAreExactlyTheirOwnOnScreen)
{
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName())
        << "a display name is appended to every title on X11";
    QWidget owner;
    ShowActive(owner);
    QtDialogs dialogs(&owner);
    SetApplicationTitle("Hoofer Editor V6");
    const struct {
        const char *expected;
        std::function<void()> show;
    } rows[] = {
        {"Confirm", [&] { dialogs.Confirm("Close HooferEdit and lose changes?"); }},
        {"Error", [&] { dialogs.Error("text"); }},
        {"Hoofer Editor V6", [&] { dialogs.ShowException("Cannot open file"); }},
    };
    for (const auto &row : rows) {
        QString title, shown;
        QTimer::singleShot(50, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            title = box->windowTitle();
            shown = box->windowHandle() ? box->windowHandle()->title() : QString();
            box->buttons().first()->click();
        });
        row.show();
        EXPECT_EQ(title, row.expected);
        EXPECT_EQ(shown, row.expected);
    }
}

TEST(Dialogs, AllFilesShowsFilesWithoutAnExtensionAndSavingAsksBeforeReplacing)
{
    EXPECT_EQ(QtFilterFromPairs("Hoofer Routines|*.raw|(All Files)|*.*"),
              "Hoofer Routines (*.raw);;(All Files) (*)");
    QFileDialog open;
    open.setOption(QFileDialog::DontUseNativeDialog);
    SetUpFileDialog(open, {"Hoofer Routines|*.raw|(All Files)|*.*", "*.raw", QDir::tempPath().toStdString(), ""},
                    false);
    open.selectNameFilter(open.nameFilters().at(1));
    auto *model = open.findChild<QFileSystemModel *>();
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(QDir::match(model->nameFilters(), "routine")) << model->nameFilters().join(' ').toStdString();
    EXPECT_TRUE(QDir::match(model->nameFilters(), "dance.raw"));

    QFileDialog save;
    SetUpFileDialog(save, {"Hoofer Routines|*.raw", "*.raw", QDir::tempPath().toStdString(), ""}, true);
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save.defaultSuffix(), "raw");
}
