// The platform layer under the window, through Qt's real event loop and real
// key and mouse events.
#include "toolkit/combo_box.h"
#include "toolkit/dialogs.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>
#include <QPaintEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace hoofer;
using namespace hoofer::toolkit;
using Runs = std::vector<std::string>;

namespace {
void ShowActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

/// Clicks "<Bksp>", "<Up>", "<Down>" and types the rest.
void Type(QWidget *target, const QString &script)
{
    static const std::map<QString, Qt::Key> keys = {
        {"Bksp", Qt::Key_Backspace}, {"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}};
    for (const QString &part : script.split('<')) {
        const qsizetype end = part.indexOf('>');
        if (end >= 0)
            QTest::keyClick(target, keys.at(part.left(end)));
        QTest::keyClicks(target, part.mid(end + 1));
    }
}

/// A shown, active window with the box, which has the focus, and a second
/// control to take it; Note(what) writes a handler run down with the text shown.
template <class Box> struct Shown {
    Runs runs;
    QWidget window;
    Box *box = new Box(&window);
    QLineEdit *other = new QLineEdit(&window);
    Shown() { (new QVBoxLayout(&window))->addWidget(box), window.layout()->addWidget(other); }
    void Show() { ShowActive(window), box->setFocus(); }
    std::function<void()> Note(std::string what)
    {
        return [this, what] { runs.push_back(what + box->Text().toStdString()); };
    }
    ~Shown()  // the focus leaves as the window goes
    {
        if constexpr (std::is_same_v<Box, TComboBox>)
            box->OnExit = box->OnCloseUp = nullptr;
        box->OnChange = nullptr;
    }
};

struct SpinWindow : Shown<TSpinEdit> {
    SpinWindow(int min, int max, int value)
    {
        box->SetMinValue(min), box->SetMaxValue(max), box->SetValue(value);
        box->OnChange = Note("");
        Show();
    }
};

/// The box holds "Alpha", "Beta", "Gamma".
struct ComboWindow : Shown<TComboBox> {
    explicit ComboWindow(bool withSelect = true)
    {
        for (const char *text : {"Alpha", "Beta", "Gamma"})
            box->AddItem(text);
        box->OnChange = Note("change ");
        box->OnSelect = withSelect ? Note("select ") : nullptr;
        box->OnCloseUp = Note("closeup ");
        box->OnExit = Note("exit ");
        Show();
    }
};

/// The part of a widget each paint event of it asks for, in order.
struct PaintRegions : QObject {
    std::vector<QRegion> regions;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent *>(event)->region());
        return false;
    }
};
} // namespace

TEST(PaintBox, ARepaintRequestRunsThePaintHandlerOnceThenRests)
{
    QWidget window;
    TPaintBox box(256, 296, &window);
    int paints = 0;
    box.OnPaint = [&] {  // a figure's worth of drawing, as the window's paint handler does
        ++paints;
        box.Surface().FillRect(0, 0, 256, 296);
        box.Surface().Ellipse(20, 20, 30, 30);
    };
    ShowActive(window);
    QTest::qWait(100);
    // Requests the program did not cause: an update, a disabled parent.
    const std::pair<const char *, std::function<void()>> requests[] = {
        {"update", [&] { box.update(); }}, {"parent disabled", [&] { window.setEnabled(false); }},
        {"expose", [&] { box.Expose(); }}};
    for (const auto &[name, request] : requests) {
        paints = 0;
        request();
        QTest::qWait(300);
        EXPECT_EQ(paints, 1) << name;
    }
    paints = 0;
    box.Surface().LineTo(5, 5);  // drawing by the program is shown without running the handler
    QTest::qWait(100);
    EXPECT_EQ(paints, 0);
}

TEST(PaintBox, ThePaintAfterADrawingCoversEveryPixelItChanged)
{
    struct Row {
        const char *name;
        int zoom;
        std::array<int, 4> clip;  // none when right <= left
        std::function<void(Canvas &)> draw;
    };
    const auto line = [](int x1, int y1, int x2, int y2) {
        return [=](Canvas &c) { c.MoveTo(x1, y1), c.LineTo(x2, y2); };
    };
    const Row rows[] = {
        {"a line drawn leftwards", 1, {}, line(200, 250, 20, 40)},
        {"a line leaving the surface", 1, {}, line(200, 100, 300, 350)},
        {"a ring reaching past its box", 1, {}, [](Canvas &c) { c.Ellipse(40, 40, 44, 44), c.Ellipse(100, 100, 120, 120), c.Ellipse(10, 150, 47, 161); }},
        {"a box on the edge", 1, {}, [](Canvas &c) { c.FillRect(250, 290, 256, 296); }},
        {"a line at twice the size", 2, {}, line(5, 5, 60, 9)},
        {"a line under a clip", 1, {50, 50, 90, 120}, line(0, 0, 255, 295)},
        {"two lines under a clip at three times", 3, {20, 20, 40, 40},
         [](Canvas &c) { c.MoveTo(0, 30), c.LineTo(100, 30), c.LineTo(10, 25); }},
    };
    for (const auto &[name, zoom, clip, draw] : rows) {
        QWidget window;
        TPaintBox box(256, 296, &window);
        box.SetZoom(zoom);
        PaintRegions paints;
        box.installEventFilter(&paints);
        ShowActive(window);
        QTest::qWait(50);
        box.Surface().SetPenColor(clBlack);
        const QImage before = box.Picture().copy();
        paints.regions.clear();
        const auto [left, top, right, bottom] = clip;
        if (left < right)
            box.Surface().SetClip(left, top, right, bottom);
        draw(box.Surface());
        box.Surface().ClearClip();
        QTest::qWait(50);
        ASSERT_EQ(paints.regions.size(), 1u) << name;
        const QImage &after = box.Picture();
        int changed = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                if (after.pixel(x, y) != before.pixel(x, y)) {
                    ++changed;
                    EXPECT_TRUE(paints.regions[0].contains(QRect(x * zoom, y * zoom, zoom, zoom)))
                        << name << " at " << x << "," << y;
                }
        EXPECT_GT(changed, 0) << name;
        if (left < right) {
            EXPECT_TRUE(QRegion(left * zoom, top * zoom, (right - left) * zoom, (bottom - top) * zoom)
                            .contains(paints.regions[0].boundingRect()))
                << name << ": the clip's part alone";
        }
    }
}

TEST(PaintBox, ADarkFaceColourGivesTheLightGreyBackground)
{
    const QPalette saved = QApplication::palette();
    const QColor grey(212, 208, 200);
    const std::tuple<const char *, QColor, QColor> rows[] = {
        {"pale", QColor(200, 200, 200), QColor(200, 200, 200)}, {"mid grey", QColor(128, 128, 128), grey},
        {"dark blue", QColor(30, 30, 90), grey}};
    for (const auto &[name, face, expected] : rows) {
        QPalette palette = saved;
        palette.setColor(QPalette::Window, face);
        QApplication::setPalette(palette);
        QWidget window;
        TPaintBox box(256, 296, &window);
        box.Expose();
        EXPECT_EQ(QColor(box.Picture().pixel(128, 100)), expected) << name;
    }
    QApplication::setPalette(saved);
}

TEST(Dialogs, AllFilesShowsNamesWithoutAnExtensionAndASaveConfirmsAndProposesItsName)
{
    EXPECT_EQ(QtFilterFromPairs("Hoofer Routines|*.raw|(All Files)|*.*"), "Hoofer Routines (*.raw);;(All Files) (*)");
    QFileDialog open;
    open.setOption(QFileDialog::DontUseNativeDialog);
    SetUpFileDialog(open, {"Hoofer Routines|*.raw|(All Files)|*.*", "*.raw", QDir::tempPath().toStdString(), ""}, false);
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
    // A bare name is proposed in the initial folder; a path in its own.
    QFileDialog proposal;
    proposal.setOption(QFileDialog::DontUseNativeDialog);
    SetUpFileDialog(proposal, {"Animated GIF|*.gif", "*.gif", QDir::tempPath().toStdString(), "Spin.gif"}, true);
    EXPECT_EQ(proposal.directory().absolutePath(), QDir(QDir::tempPath()).absolutePath());
    SetUpFileDialog(proposal, {"Animated GIF|*.gif", "*.gif", QDir::tempPath().toStdString(), "/Spin.gif"}, true);
    EXPECT_EQ(proposal.directory().absolutePath(), "/");
}

TEST(SpinEdit, ProgramSettingClampsExceptWhileMinEqualsMaxRunningTheHandlerOnlyOnAChange)
{
    struct Row { int min, max, start, set; const char *shown; size_t changes; };
    const Row rows[] = {{0, 255, 7, 300, "255", 1}, {-128, 128, 0, -200, "-128", 1}, {1, 1, 1, 9, "9", 1},
                        {1, 4, 4, 5, "4", 0}};
    for (const auto &r : rows) {
        SpinWindow w(r.min, r.max, r.start);
        w.box->SetValue(r.set);
        EXPECT_EQ(w.box->Text().toStdString(), r.shown) << r.set << " into " << r.min << ".." << r.max;
        EXPECT_EQ(w.runs.size(), r.changes) << r.set << " into " << r.min << ".." << r.max << " showing " << r.start;
    }
}

TEST(SpinEdit, ASettingWithinTheHandlerRunsItAgainAtOnceWhileTheLineEditShowsTheLastValueOnceEventsRun)
{
    SpinWindow w(1, 40, 9);
    w.box->OnChange = [&] {
        const int v = w.box->Value();
        w.runs.push_back("enter " + std::to_string(v));
        if (v > w.box->MaxValue())
            w.box->SetValue(v);  // shows 40, which runs this handler again before returning
        w.runs.push_back("leave " + std::to_string(v) + " showing " + w.box->Text().toStdString());
    };
    Type(w.box->Editor(), "9");
    EXPECT_EQ(w.runs, (Runs{"enter 99", "enter 40", "leave 40 showing 40", "leave 99 showing 40"}));
    auto *edit = w.box->findChild<QLineEdit *>();  // as Qt paints it, not through Editor()
    for (const int v : {8, 9, 12})
        w.box->SetValue(v);
    QApplication::processEvents();
    EXPECT_EQ(edit->text(), "12");
    w.box->SetValue(31);
    Type(edit, "<Bksp>0");  // the keys find 31, not 12
    EXPECT_EQ(edit->text(), "30");
    EXPECT_EQ(w.box->Value(), 30);
}

TEST(SpinEdit, TypingAndArrowsRunTheHandlerPerChangeUnclampedUntilTheFocusLeaves)
{
    for (const auto &[min, max, runs] : {std::tuple{1, 4, Runs{"9", "97", "4"}}, std::tuple{1, 1, Runs{"9", "97"}}}) {
        SpinWindow w(min, max, 1);
        w.box->Editor()->selectAll();
        Type(w.box->Editor(), "9x7");  // letters are not taken
        EXPECT_EQ(w.box->Value(), 97) << min << ".." << max;
        w.other->setFocus();  // clamps, and runs the handler again when that changed the text
        EXPECT_EQ(w.runs, runs) << min << ".." << max;
    }
    SpinWindow arrows(0, 2, 1);
    QToolButton *up = nullptr, *down = nullptr;
    for (QToolButton *b : arrows.box->findChildren<QToolButton *>())
        (b->arrowType() == Qt::UpArrow ? up : down) = b;
    Type(arrows.box->Editor(), "<Up>");
    QTest::mouseClick(up, Qt::LeftButton);  // already at the maximum: no change
    QTest::mouseClick(down, Qt::LeftButton);
    Type(arrows.box->Editor(), "<Down><Down>");
    EXPECT_EQ(arrows.runs, (Runs{"2", "1", "0"}));
    SpinWindow single(1, 1, 1);  // unclamped while min = max
    Type(single.box->Editor(), "<Down>");
    EXPECT_EQ(single.runs, Runs{"0"});
    Type(single.box->Editor(), "<Bksp>-");
    EXPECT_EQ(single.box->Value(), 1) << "not a number: the minimum";
}

TEST(ComboBox, TheProgramsIndexRunsNoHandlerTypingRunsChangePerKeyAndLeavingRunsExit)
{
    ComboWindow w;
    for (const auto &[set, index, text] :
         {std::tuple{1, 1, "Beta"}, {2, 2, "Gamma"}, {-1, -1, ""}, {3, -1, ""}, {0, 0, "Alpha"}}) {
        w.box->SetItemIndex(set);
        EXPECT_EQ(w.box->ItemIndex(), index) << "set " << set;
        EXPECT_EQ(w.box->Text(), text) << "set " << set;
    }
    w.box->lineEdit()->selectAll();
    Type(w.box->lineEdit(), "Ga");
    EXPECT_EQ(w.box->ItemIndex(), -1) << "typing selects no item";
    w.other->setFocus();
    EXPECT_EQ(w.runs, (Runs{"change G", "change Ga", "exit Ga"}));
}

TEST(ComboBox, PickingRunsSelectOrElseChangeThenCloseUp)
{
    for (const bool withSelect : {true, false}) {
        ComboWindow w(withSelect);
        w.box->showPopup();
        QAbstractItemView *list = w.box->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(2, 0)).center());
        QTest::qWait(20);  // the close-up comes after the pick
        std::erase_if(w.runs, [](const std::string &run) { return run.starts_with("exit"); });  // the list's focus
        EXPECT_EQ(w.box->ItemIndex(), 2) << withSelect;
        EXPECT_EQ(w.runs, (Runs{withSelect ? "select Gamma" : "change Gamma", "closeup Gamma"}))
            << "select handler " << withSelect;
    }
}
