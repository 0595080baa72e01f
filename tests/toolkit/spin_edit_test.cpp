#include "toolkit/spin_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>
#include <vector>

using hoofer::toolkit::TSpinEdit;

namespace {

/// A shown, active window holding the box and a second control to take the
/// focus; every run of the change handler is written down with the text shown.
struct SpinWindow {
    QWidget window;
    TSpinEdit *box = new TSpinEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    std::vector<std::string> changes;

    SpinWindow(int min, int max, int value)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(other);
        box->SetMinValue(min);
        box->SetMaxValue(max);
        box->SetValue(value);
        box->OnChange = [this] { changes.push_back(box->Text().toStdString()); };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        box->setFocus();
    }
    ~SpinWindow() { box->OnChange = nullptr; }  // the focus leaves as the window goes
    QToolButton *Arrow(Qt::ArrowType type) const
    {
        for (QToolButton *b : box->findChildren<QToolButton *>())
            if (b->arrowType() == type)
                return b;
        return nullptr;
    }
};

} // namespace

TEST(SpinEdit, ProgramSettingClampsExceptWhileMinEqualsMaxAndRunsTheHandlerOnAChange)
{
    const struct {
        int min, max, start, set;
        const char *shown;
        size_t changes;
    } rows[] = {
        {0, 255, 7, 300, "255", 1}, {-128, 128, 0, -200, "-128", 1}, {1, 1, 1, 9, "9", 1},
        {1, 1, 1, -3, "-3", 1},     {0, 255, 7, 7, "7", 0},          {1, 4, 4, 5, "4", 0},
    };
    for (const auto &r : rows) {
        SpinWindow w(r.min, r.max, r.start);
        w.box->SetValue(r.set);
        const std::string name = std::to_string(r.set) + " into " + std::to_string(r.min) + ".."
                                 + std::to_string(r.max) + " showing " + std::to_string(r.start);
        EXPECT_EQ(w.box->Text().toStdString(), r.shown) << name;
        EXPECT_EQ(w.changes.size(), r.changes) << name;
    }
}

TEST(SpinEdit, TypingRunsTheHandlerPerKeyAndReadsUnclampedNonNumbersAsMin)
{
    SpinWindow w(1, 4, 1);
    w.box->Editor()->selectAll();
    QTest::keyClicks(w.box->Editor(), "9x7");  // letters are not taken
    EXPECT_EQ(w.changes, (std::vector<std::string>{"9", "97"}));
    EXPECT_EQ(w.box->Value(), 97);
    QTest::keyClick(w.box->Editor(), Qt::Key_Backspace);
    QTest::keyClick(w.box->Editor(), Qt::Key_Backspace);
    QTest::keyClick(w.box->Editor(), Qt::Key_Minus);
    EXPECT_EQ(w.box->Text(), "-");
    EXPECT_EQ(w.box->Value(), 1);
}

TEST(SpinEdit, ArrowsStepThroughTheProgramSetting)
{
    SpinWindow w(0, 2, 1);
    QTest::keyClick(w.box->Editor(), Qt::Key_Up);
    QTest::mouseClick(w.Arrow(Qt::UpArrow), Qt::LeftButton);  // already at the maximum: no change
    QTest::mouseClick(w.Arrow(Qt::DownArrow), Qt::LeftButton);
    QTest::keyClick(w.box->Editor(), Qt::Key_Down);
    QTest::keyClick(w.box->Editor(), Qt::Key_Down);
    EXPECT_EQ(w.changes, (std::vector<std::string>{"2", "1", "0"}));

    SpinWindow single(1, 1, 1);  // unclamped while min = max
    QTest::keyClick(single.box->Editor(), Qt::Key_Down);
    EXPECT_EQ(single.changes, std::vector<std::string>{"0"});
}

TEST(SpinEdit, LosingTheFocusOutsideTheRangeClampsAndRunsTheHandlerAgain)
{
    for (const auto &[min, max, shown] : {std::tuple{1, 4, "4"}, std::tuple{1, 1, "9"}}) {
        SpinWindow w(min, max, 1);
        w.box->Editor()->selectAll();
        QTest::keyClicks(w.box->Editor(), "9");
        w.other->setFocus();
        EXPECT_EQ(w.box->Text(), shown) << min << ".." << max;
        EXPECT_EQ(w.changes.size(), std::string(shown) == "4" ? 2u : 1u) << min << ".." << max;
    }
}

TEST(SpinEdit, SettingTheValueFromItsHandlerRunsTheHandlerNestedFirst)
{
    SpinWindow w(1, 4, 1);
    std::vector<std::string> log;
    w.box->OnChange = [&] {
        const int v = w.box->Value();
        log.push_back("enter " + std::to_string(v));
        if (v > w.box->MaxValue())
            w.box->SetValue(v);  // shows 4, which runs this handler again before returning
        log.push_back("leave " + std::to_string(v) + " showing " + w.box->Text().toStdString());
    };
    w.box->Editor()->selectAll();
    QTest::keyClicks(w.box->Editor(), "9");
    EXPECT_EQ(log, (std::vector<std::string>{"enter 9", "enter 4", "leave 4 showing 4", "leave 9 showing 4"}));
}
