#include "window_fixture.h"

#include "toolkit/guard.h"
#include "toolkit/menu.h"

#include <QApplication>

#include <fstream>
#include <sstream>

namespace hoofer::test {

std::string FileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TestData(const std::string &name) { return FileBytes(std::string(HOOFER_TEST_DATA) + "/" + name); }

void WriteBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void WindowTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    window = std::make_unique<TfrmHoofer>(platform, &dialogs, TempPath("hooferedit.ini"));
    window->show();
    QApplication::processEvents();
}

void WindowTest::TearDown()
{
    if (window) {
        window->Modified = false;
        window.reset();
    }
    QApplication::processEvents();
}

std::string WindowTest::TempPath(const std::string &name) const
{
    return dir.filePath(QString::fromStdString(name)).toStdString();
}

void WindowTest::LoadFile(const std::string &path)
{
    dialogs.openAnswers.push_back(path);
    Click(window->mnuFileLoad);
}

void WindowTest::LoadData(const std::string &bytes)
{
    static int counter = 0;
    const std::string path = TempPath("routine" + std::to_string(++counter) + ".raw");
    WriteBytes(path, bytes);
    LoadFile(path);
}

void WindowTest::Click(toolkit::TMenuItem *item)
{
    ASSERT_NE(item, nullptr);
    // As the menu runs it: an exception ends the command in the standard box.
    toolkit::RunGuarded([item] { item->Click(); });
}

} // namespace hoofer::test

#include "model/routine_codec.h"

namespace hoofer::test {

std::string RoutineBytes(int moves, int frames)
{
    TMoveList list;
    for (int m = 0; m < moves; ++m) {
        auto move = std::make_unique<THFMove>();
        move->MoveName = "Move" + std::to_string(m);
        for (int f = 0; f < frames; ++f) {
            auto frame = std::make_unique<THFFrame>();
            for (int p = 1; p <= kPartCount; ++p)
                frame->Point(p) = {(40 + m * 7 + f * 3 + p * 9) & 0xFF, (30 + m + f * 11 + p * 13) & 0xFF};
            frame->Interpolation = 1 + f % 4;
            frame->Displacement = f % 3 - 1;
            move->Frames.push_back(std::move(frame));
        }
        move->SyncFrameCount();
        list.push_back(std::move(move));
    }
    return EncodeRoutine(list);
}

} // namespace hoofer::test
