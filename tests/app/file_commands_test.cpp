#include "window_fixture.h"

#include "export/move_gif.h"
#include "toolkit/combo_box.h"
#include "toolkit/menu.h"
#include "toolkit/spin_edit.h"

#include <QFile>

using namespace hoofer;
using namespace hoofer::test;

class RoutineFiles : public WindowTest {};

TEST_F(RoutineFiles, LoadAndNewRoutineSelectTheFirstMoveAndSaveWritesItBackByteForByteUnderByteNames)
{
    const std::string folder = TempPath("a").substr(0, TempPath("a").size() - 1);
    WriteBytes(folder + "caf\xe9.raw", RoutineBytes(3, 2));  // not UTF-8
    LoadFile(folder + "caf\xe9.raw");
    EXPECT_EQ(window->cbxMoves->Count(), 3);
    EXPECT_EQ(window->cbxMoves->ItemText(2), "2> Move2");
    EXPECT_EQ(window->CurrentFrame, window->Moves[0]->Frames[0].get());
    EXPECT_EQ(window->spinFrameNumber->Value(), 1);
    EXPECT_EQ(window->cbxBodyPart->Text(), "Shoulders");
    EXPECT_TRUE(window->mnuFileSave->Enabled() && window->mnuFileUploadtoEmpeg->Enabled());
    EXPECT_FALSE(window->Modified);
    dialogs.saveAnswers.push_back(folder + "out\xe9.raw");
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, folder + "caf\xe9.raw") << "Save offers the file loaded";
    EXPECT_EQ(FileBytes(folder + "out\xe9.raw"), RoutineBytes(3, 2));

    Click(window->mnuFileNewRoutine);
    EXPECT_EQ(window->cbxMoves->Text(), "0> NewMove");
    EXPECT_EQ(window->CurrentFrame, window->Moves[0]->Frames[0].get());
    dialogs.saveAnswers.push_back(TempPath("new.raw"));
    Click(window->mnuFileSave);
    EXPECT_EQ(dialogs.lastSaveSpec.fileName, "") << "a new routine has no file to offer";
    std::string standing = TestData("newmove.raw");
    standing.back() = '\0';  // the example without its displacement
    EXPECT_EQ(FileBytes(TempPath("new.raw")), standing);

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

TEST_F(RoutineFiles, ExportWritesTheFileOfTheExportCodeAndReportsAFailureLikeASave)
{
    const std::string gif = TempPath("move.gif"), reference = TempPath("reference.gif");
    LoadData(RoutineBytes(2, 3));
    EXPECT_TRUE(window->mnuFileExportMoveAsGif->Enabled());
    dialogs.saveAnswers.push_back(gif);
    Click(window->mnuFileExportMoveAsGif);
    EXPECT_EQ(dialogs.lastSaveSpec.filter, "Animated GIF|*.gif");
    ASSERT_EQ(WriteMoveGif(*window->CurrentMove, reference, 1), "");
    EXPECT_FALSE(FileBytes(gif).empty());
    EXPECT_EQ(FileBytes(gif), FileBytes(reference));

    dialogs.saveAnswers.push_back(TempPath("missing/move.gif"));
    Click(window->mnuFileExportMoveAsGif);
    ASSERT_EQ(dialogs.Of("exception").size(), 1u);
    EXPECT_EQ(dialogs.Of("exception")[0].rfind("Cannot create file " + TempPath("missing/move.gif") + "\n", 0), 0u)
        << dialogs.Of("exception")[0];
}
