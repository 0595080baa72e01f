// That Move > Duplicate Move, Move Up and Move Down and File > Import Moves
// reach the editing core and that the window shows the result; where moves go
// and the limits are the core's rules, tested in tests/edit.
#include "window_fixture.h"

#include "app/import_moves_dialog.h"

#include <QListWidget>
#include <QPushButton>

using namespace hoofer;
using namespace hoofer::test;

namespace {
const std::string kSampler = HOOFER_SOURCE_DIR "/examples/sampler.raw";  // Wave, Kick, Spin, Bow
}

class MoveCommands : public WindowTest {
protected:
    std::vector<std::string> Selector() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < window->cbxMoves->Count(); ++i)
            items.push_back(window->cbxMoves->ItemText(i).toStdString());
        return items;
    }
    bool Unsaved() const { return window->windowTitle().contains('*'); }  // the caption's mark
    /// File > Import Moves of `path`, answering the real dialog as a user
    /// would: ticks the rows, then presses Import (or Cancel).
    void Import(const std::string &path, const std::vector<int> &rows, bool press = true)
    {
        dialogs.onChoice = [this, rows, press](toolkit::ItemChoice &choice) {
            auto &dialog = dynamic_cast<TfrmImportMoves &>(choice);
            for (int i = 0; i < dialog.lstMoves->count(); ++i)
                offered.push_back(dialog.lstMoves->item(i)->text().toStdString());
            importEnabledUnticked = dialog.btnImport->isEnabled();
            for (const int row : rows)
                dialog.lstMoves->item(row)->setCheckState(Qt::Checked);
            (press ? dialog.btnImport : dialog.btnCancel)->click();  // a disabled button does nothing
            return dialog.result();
        };
        ChooseForImport(path);
    }
    /// File > Import Moves of a file that is refused before any dialog.
    void ChooseForImport(const std::string &path)
    {
        dialogs.openAnswers.push_back(path);
        Click(window->mnuFileImportMoves);
    }

    std::vector<std::string> offered;  // the rows of the latest Import Moves dialog
    bool importEnabledUnticked = true;
};

// Where moves go and where the ends stop a shift are the core's rules.
TEST_F(MoveCommands, DownAndDuplicateRenumberTheSelectorAndKeepTheMoveAndItsKeyFrameShown)
{
    LoadData(RoutineBytes(3, 2));
    window->spinFrameNumber->SetValue(2);
    Click(window->mnuMoveMoveDown);
    EXPECT_EQ(Selector(), (std::vector<std::string>{"0> Move1", "1> Move0", "2> Move2"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 1);
    EXPECT_EQ(window->spinFrameNumber->Value(), 2);
    Click(window->mnuMoveDuplicateMove);
    EXPECT_EQ(Selector(), (std::vector<std::string>{"0> Move1", "1> Move0", "2> Move0", "3> Move2"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 2);
}

TEST_F(MoveCommands, ImportOffersTheFilesMovesAndAppendsTheTickedOnesSelectingTheFirst)
{
    LoadData(RoutineBytes(2, 1));
    Import(kSampler, {1, 3});
    EXPECT_EQ(offered, (std::vector<std::string>{"0> Wave", "1> Kick", "2> Spin", "3> Bow"}));
    EXPECT_FALSE(importEnabledUnticked);
    EXPECT_EQ(Selector(), (std::vector<std::string>{"0> Move0", "1> Move1", "2> Kick", "3> Bow"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 2);
    EXPECT_EQ(window->cbxMoves->toolTip(), "Playing time: 1.61 s");
}

TEST_F(MoveCommands, ImportCancelledOrPastTheLimitChangesNothing)
{
    LoadData(RoutineBytes(255, 1));
    Import(kSampler, {0}, false);
    Import(kSampler, {0, 1});
    EXPECT_EQ(dialogs.Of("exception"), (std::vector<std::string>{
        "The routine has room for 1 more moves (a routine holds 256 at most); 2 were chosen."}));
    EXPECT_EQ(window->cbxMoves->Count(), 255);
    EXPECT_FALSE(Unsaved());
}

TEST_F(MoveCommands, AnUnreadableFileIsRefusedWithTheMessageOfLoad)
{
    LoadData(RoutineBytes(2, 1));
    const std::string truncated = TempPath("truncated.raw");
    WriteBytes(truncated, RoutineBytes(1, 2).substr(0, 30));
    ChooseForImport(truncated);
    const std::vector<std::string> refused = dialogs.Of("exception");
    dialogs.shown.clear();
    LoadFile(truncated);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused, dialogs.Of("exception"));
    EXPECT_EQ(window->cbxMoves->Count(), 2);
}

TEST_F(MoveCommands, ImportWithoutARoutineStartsAnUnsavedOneFromTheMoves)
{
    Import(kSampler, {0, 2});
    EXPECT_EQ(Selector(), (std::vector<std::string>{"0> Wave", "1> Spin"}));
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 0);
    EXPECT_TRUE(Unsaved());
}
