#include "toolkit/combo_box.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <string>
#include <vector>

using hoofer::toolkit::TComboBox;

namespace {

/// A shown, active window with the box holding "Alpha", "Beta", "Gamma" and a
/// second control to take the focus; every handler run is written down.
struct ComboWindow {
    QWidget window;
    TComboBox *box = new TComboBox(&window);
    QLineEdit *other = new QLineEdit(&window);
    int objects[3] = {};
    std::vector<std::string> runs;

    explicit ComboWindow(bool withSelect = true)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(other);
        for (int i = 0; i < 3; ++i)
            box->AddItem(QStringList{"Alpha", "Beta", "Gamma"}[i], &objects[i]);
        const auto note = [this](const char *what) {
            return [this, what] { runs.push_back(what + (" " + box->Text().toStdString())); };
        };
        box->OnChange = note("change");
        if (withSelect)
            box->OnSelect = note("select");
        box->OnCloseUp = note("closeup");
        box->OnExit = note("exit");
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        box->setFocus();
    }
    ~ComboWindow() { box->OnExit = box->OnCloseUp = nullptr; }  // the focus leaves as the window goes
    /// Picks an item from the opened list with the mouse; the leaving and
    /// coming back of the focus that the list causes is not noted.
    void Pick(int index)
    {
        box->showPopup();
        QAbstractItemView *list = box->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(index, 0)).center());
        QTest::qWait(20);  // the close-up comes after the pick
        std::erase_if(runs, [](const std::string &run) { return run.starts_with("exit"); });
    }
};

} // namespace

TEST(ComboBox, ProgramIndexChangeRunsNoHandlerAndShowsTheItemsText)
{
    ComboWindow w;
    const struct {
        int set, index;
        const char *text;
    } rows[] = {{1, 1, "Beta"}, {2, 2, "Gamma"}, {-1, -1, ""}, {3, -1, ""}, {0, 0, "Alpha"}};
    for (const auto &r : rows) {
        w.box->SetItemIndex(r.set);
        EXPECT_EQ(w.box->ItemIndex(), r.index) << "set " << r.set;
        EXPECT_EQ(w.box->Text(), r.text) << "set " << r.set;
    }
    EXPECT_EQ(w.box->ItemObject(2), &w.objects[2]);
    EXPECT_EQ(w.box->ItemObject(3), nullptr);
    EXPECT_EQ(w.runs, std::vector<std::string>{});
}

TEST(ComboBox, TypingLeavesNoItemSelectedAndRunsTheChangeHandlerPerKey)
{
    ComboWindow w;
    w.box->SetItemIndex(1);
    w.box->lineEdit()->selectAll();
    QTest::keyClicks(w.box->lineEdit(), "Ga");
    EXPECT_EQ(w.box->ItemIndex(), -1);
    EXPECT_EQ(w.runs, (std::vector<std::string>{"change G", "change Ga"}));
}

TEST(ComboBox, PickingRunsSelectOrElseChangeThenCloseUp)
{
    for (const bool withSelect : {true, false}) {
        ComboWindow w(withSelect);
        w.Pick(2);
        EXPECT_EQ(w.box->ItemIndex(), 2) << withSelect;
        EXPECT_EQ(w.runs, (std::vector<std::string>{withSelect ? "select Gamma" : "change Gamma", "closeup Gamma"}))
            << (withSelect ? "with" : "without") << " a select handler";
    }
}

TEST(ComboBox, LosingTheFocusRunsTheExitHandler)
{
    ComboWindow w;
    w.other->setFocus();
    EXPECT_EQ(w.runs, std::vector<std::string>{"exit "});
}
