#include "window_fixture.h"

#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

#include <QFile>

using namespace hoofer;
using namespace hoofer::test;

class RoutineFiles : public WindowTest {};

TEST_F(RoutineFiles, LoadListsTheMovesAndSaveWritesThemBackByteForByteUnderByteNames)
{
    LoadData(RoutineBytes(3, 2));
    EXPECT_EQ(window->cbxMoves->Count(), 3);
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2> Move2");
    EXPECT_EQ(window->cbxMoves->ItemIndex(), 0);
    EXPECT_EQ(window->CurrentFrame, window->Moves[0]->Frames[0].get());
    EXPECT_EQ(window->spinFrameNumber->Value(), 1);
    EXPECT_EQ(window->cbxBodyPart->ItemIndex(), 0);
    EXPECT_TRUE(window->mnuFileSave->Enabled() && window->mnuFileUploadtoEmpeg->Enabled());
    EXPECT_FALSE(window->Modified);

    const std::string folder = TempPath("a").substr(0, TempPath("a").size() - 1);
    for (const std::string &original : {TestData("newmove.raw"), RoutineBytes(256, 3)}) {
        WriteBytes(folder + "caf\xe9.raw", original);  // not UTF-8
        LoadFile(folder + "caf\xe9.raw");
        dialogs.saveAnswers.push_back(folder + "out\xe9.raw");
        Click(window->mnuFileSave);
        EXPECT_EQ(FileBytes(folder + "out\xe9.raw"), original);
    }
    EXPECT_EQ(window->cbxMoves->Count(), 256);
    EXPECT_TRUE(dialogs.Of("exception").empty());
    LoadFile(folder + "gone\xc3\xa9.raw");  // UTF-8: the message text is Latin-1
    EXPECT_TRUE(dialogs.Of("exception").at(0).starts_with("Cannot open file " + folder + "gone\xe9.raw\n"));
}

TEST_F(RoutineFiles, LoadThatFailsOrReadsNothingKeepsTheRoutineTheSelectionAndSave)
{
    const std::string whole = RoutineBytes(4, 2);
    const struct {
        const char *name, *reported;
        std::string bytes;
    } rows[] = {{"truncated", "truncated", whole.substr(0, whole.size() - 5)},
                {"missing", "Cannot open file", ""},
                {"empty", nullptr, ""}};
    for (const auto &row : rows) {
        LoadData(RoutineBytes(2, 3));
        window->cbxMoves->SetItemIndex(1);
        window->cbxMovesSelect();
        THFMove *before = window->CurrentMove;
        dialogs.shown.clear();
        if (row.reported && row.bytes.empty())
            LoadFile(TempPath("no-such.raw"));
        else
            LoadData(row.bytes);
        if (row.reported) {
            ASSERT_EQ(dialogs.Of("exception").size(), 1u) << row.name;
            EXPECT_NE(dialogs.Of("exception")[0].find(row.reported), std::string::npos) << dialogs.Of("exception")[0];
        } else {
            EXPECT_EQ(dialogs.shown, std::vector<std::string>{"open"}) << row.name;
        }
        EXPECT_EQ(window->CurrentMove, before) << row.name;
        EXPECT_EQ(window->SerialiseRoutine(), RoutineBytes(2, 3)) << row.name;
        EXPECT_TRUE(window->mnuFileSave->Enabled() && window->mnuFileUploadtoEmpeg->Enabled()) << row.name;
    }
}

TEST_F(RoutineFiles, CancelledDialogsDoNothingAndAnUnwritableFolderIsReported)
{
    LoadData(RoutineBytes(1, 1));
    Click(window->mnuFileLoad);  // no answer scripted: cancelled
    EXPECT_EQ(window->cbxMoves->Count(), 1);
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.Of("exception").size(), 0u);
    const std::string out = TempPath("missing-folder/out.raw");
    dialogs.saveAnswers.push_back(out);
    Click(window->mnuFileSave);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_TRUE(dialogs.Of("exception")[0].starts_with("Cannot create file")) << dialogs.Of("exception")[0];
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
}
