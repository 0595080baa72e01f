#include "settings/recent_files.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace hoofer;

namespace {
/// The text a first save writes for the settings read from `read`.
std::string Resaved(const std::string &read)
{
    IniFile ini;
    WriteEditorSettings(ini, ReadEditorSettings(IniFile::Parse(read)));
    return ini.Text();
}

const std::string kDefaults =
    "[Interface]\nDragWithoutShift=0\nPlayContinuously=0\nSnapToGrid=0\nGridSize=5\n\n"
    "[Network]\nempegNetworkName=\nempegFTPUserName=Anonymous\nempegFTPPassword=hoofer@home\n\n"
    "[View]\nOnionSkin=0\nPlaybackSpeed=1\nKeyFrameStrip=0\nZoom=1\nShowGrid=0\nFitPreviewToWindow=0\n\n"
    "[Editing]\nKeepBoneLengths=0\nCtrlZUndoesAnyChange=0\n";
} // namespace

TEST(EditorSettings, EachValueComesBackAsSavedOrAsItsDefault)
{
    // A value of every key, and each kind that gives the default: as read and as written back (as read when no
    // fourth is given) on its own line of a first save, which writes every key in this order.
    const std::array<const char *, 4> rows[] = {
        {"Interface", "DragWithoutShift", "1"}, {"Interface", "PlayContinuously", "1"}, {"Interface", "SnapToGrid", "1"},
        {"Interface", "GridSize", "17"},        {"Network", "empegNetworkName", " 127.0.0.1:2121 "},
        {"Network", "empegFTPUserName", "dancer"}, {"Network", "empegFTPPassword", "p=w;#[x] \"q\""},
        {"View", "OnionSkin", "1"}, {"View", "PlaybackSpeed", "4"}, {"View", "PlaybackSpeed", "2"}, {"View", "KeyFrameStrip", "1"},
        {"Editing", "KeepBoneLengths", "1"}, {"View", "Zoom", "3"}, {"Editing", "CtrlZUndoesAnyChange", "1"},
        {"View", "ShowGrid", "1"}, {"View", "FitPreviewToWindow", "1"},
        {"Interface", "GridSize", " 0x1F ", "31"}, {"Interface", "GridSize", "abc", "5"},
        {"Interface", "GridSize", "0", "5"},       {"Interface", "SnapToGrid", "2", "1"},
        {"View", "OnionSkin", "yes", "0"},         {"View", "PlaybackSpeed", "3", "1"},
        {"View", "Zoom", "4", "1"},                {"View", "Zoom", "0", "1"},
    };
    for (const auto &[section, key, read, written] : rows) {
        std::string expected = kDefaults;
        const size_t at = expected.find(std::string("\n") + key + "=") + 1;
        expected.replace(at, expected.find('\n', at) - at, std::string(key) + "=" + (written ? written : read));
        EXPECT_EQ(Resaved(std::string("[") + section + "]\n" + key + "=" + read), expected) << key << "=" << read;
    }
}

TEST(EditorSettings, TheWindowsPlaceIsKeptOnlyWhenItHasASize)
{
    EditorSettings placed;
    placed.Window = {-40, 30, 900, 700};
    IniFile ini;
    WriteEditorSettings(ini, placed);
    EXPECT_EQ(ReadEditorSettings(ini).Window, placed.Window);
    EXPECT_EQ(ReadEditorSettings(IniFile::Parse("[View]\nWindowLeft=5\nWindowWidth=0\nWindowHeight=9\n")).Window,
              WindowPlace{});
}

TEST(EditorSettings, ALineBreakInAStringIsCutThereAddingNoLinesToTheFile)
{
    EditorSettings broken, cut;
    broken.NetworkName = "car\n[Interface]", cut.NetworkName = "car";
    broken.FtpPassword = "secret\r\nGridSize=0", cut.FtpPassword = "secret";
    IniFile ini;
    WriteEditorSettings(ini, broken);
    EXPECT_EQ(ReadEditorSettings(ini), cut);
}

TEST(SettingsLocation, BesideTheProgramWhenItsFolderIsWritableElseTheUsersOwnWithTheSharedOneAsDefaults)
{
    for (const auto &[exe, ini] : {std::pair{"/usr/bin/hooferedit", "/usr/bin/hooferedit.ini"},
                                   {"/opt/h/a.b.c", "/opt/h/a.b.ini"}, {"/home/v6.0/hooferedit", "/home/v6.0/hooferedit.ini"},
                                   {"/home/.local/bin/.hoofer", "/home/.local/bin/.hoofer.ini"}})
        EXPECT_EQ(SettingsPathForExecutable(exe), ini) << exe;
    QTemporaryDir dir;
    const std::string bin = dir.filePath("bin").toStdString(), beside = bin + "/hooferedit.ini";
    const std::string userFolder = dir.filePath("user").toStdString(), own = userFolder + "/hooferedit.ini";
    for (const std::string &folder : {bin, userFolder})
        QDir().mkpath(QString::fromStdString(folder));
    struct Row { const char *name; bool writable, besideExists, ownExists; SettingsLocation expected; bool installed = false; };
    const Row rows[] = {
        {"writable folder, user file too", true, true, true, {beside, beside}},
        {"read-only, nothing yet", false, false, false, {own, own}},
        {"read-only, shared defaults", false, true, false, {beside, own}},
        {"read-only, user file wins", false, true, true, {own, own}},
        {"installed, writable, shared defaults", true, true, false, {beside, own}, true},
        {"installed, writable, user file wins", true, true, true, {own, own}, true},
    };
    for (const Row &row : rows) {
        for (const auto &[path, exists] : {std::pair{beside, row.besideExists}, {own, row.ownExists}})
            exists ? (void)QFile(QString::fromStdString(path)).open(QIODevice::WriteOnly)
                   : (void)QFile::remove(QString::fromStdString(path));
        std::string asked;
        const SettingsLocation got =
            ChooseSettingsLocation(beside, userFolder, [&](const std::string &folder) { return asked = folder, row.writable; },
                                   row.installed);
        EXPECT_EQ(asked, row.installed ? "" : bin) << row.name;
        EXPECT_TRUE(got == row.expected) << row.name << ": read " << got.readPath << ", write " << got.writePath;
    }
    // Installed: in a "bin" whose prefix holds the menu entry.
    const std::string exe = bin + "/hooferedit";
    EXPECT_FALSE(ProgramIsInstalled(exe));
    QDir().mkpath(dir.filePath("share/applications"));
    QFile(dir.filePath("share/applications/org.hooferedit.HooferEdit.desktop")).open(QIODevice::WriteOnly);
    EXPECT_TRUE(ProgramIsInstalled(exe));
    EXPECT_FALSE(ProgramIsInstalled(dir.filePath("share/hooferedit").toStdString())) << "not in a bin folder";
    EXPECT_TRUE(FolderIsWritable(bin));
    EXPECT_FALSE(FolderIsWritable(bin + "/missing"));
}

TEST(IniFileReading, TheFirstKeyOfTheFirstSectionExactlyAsItFollowsTheEqualsSign)
{
    // Every line ending, and none at the end.
    const IniFile ini = IniFile::Parse("[Interface]\r\nGridSize=7\r  Key  =  two words  \nQuoted=\"a;b\"\nEq=a=b\nEmpty=\n"
                                       "K=1\nK=2\n;C=1\n#C=2\nno equals here\n=orphan\n[broken\nC=3\r\n[Odd Section]  ; note\r"
                                       "sp ace=v\n[network]\nName=car\n[INTERFACE]\nLater=4");
    struct Row { const char *section, *key, *want; };
    const Row rows[] = {
        {"interface", "GRIDSIZE", "7"}, {"NETWORK", "name", "car"}, {"Network", "GridSize", "-"},
        {"Other", "GridSize", "-"}, {"Interface", "Key", "  two words  "}, {"Interface", "Quoted", "\"a;b\""},
        {"Interface", "Eq", "a=b"}, {"Interface", "Empty", ""}, {"Interface", "K", "1"}, {"Interface", "C", "3"},
        {"Interface", "Later", "-"}, {"Interface", "", "-"}, {"odd section", "SP ACE", "v"},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(ini.ReadString(r.section, r.key, "-"), r.want) << r.section << "/" << r.key;
        EXPECT_EQ(ini.HasKey(r.section, r.key), r.want != std::string("-")) << r.section << "/" << r.key;
    }
}

TEST(IniFileWriting, ChangesOnlyTheLineItWritesOrAddsOneWhereItBelongs)
{
    // Each write is section, key, value; a null after is the text before.
    struct Row { const char *name, *before; std::vector<std::array<const char *, 3>> writes; const char *after; };
    const Row rows[] = {
        {"the line keeps its own key spelling", "[interface]\n  gridsize = 5\n",
         {{"Interface", "GridSize", "12"}, {"Interface", "GRIDSIZE", "1"}}, "[interface]\n  gridsize =1\n"},
        {"after the last non-blank line of its section", "[A]\nx=1\n; note\n\n\n[B]\ny=2\n",
         {{"A", "z", "3"}, {"B", "w", "4"}}, "[A]\nx=1\n; note\nz=3\n\n\n[B]\ny=2\nw=4\n"},
        {"an empty file", "", {{"A", "x", "1"}, {"B", "y", "2"}, {"A", "z", "3"}}, "[A]\nx=1\nz=3\n\n[B]\ny=2\n"},
        {"untouched lines verbatim",
         "\xEF\xBB\xBF; c\r\n\r\n[Odd]  ; t\r\nno equals\r\n  sp  =  v  \r\nbin=\x01\x7F\xFF\r\n[I]\r\nG=5\r\n",
         {{"I", "G", "5"}}, nullptr},
        {"new lines take the file's first ending", "[S]\r\nA=1\nB=2\r\n", {{"S", "C", "3"}, {"T", "D", "4"}},
         "[S]\r\nA=1\nB=2\r\nC=3\r\n\r\n[T]\r\nD=4\r\n"},
        {"no final newline while nothing follows", "[S]\r\nA=1", {{"S", "A", "2"}}, "[S]\r\nA=2"},
        {"a final newline once a line follows", "[S]\r\nA=1", {{"S", "A", "2"}, {"S", "B", "3"}},
         "[S]\r\nA=2\r\nB=3\r\n"},
        {"a header alone", "[S]", {{"S", "A", "1"}}, "[S]\nA=1\n"},
        {"a key before any section; a blank line before a new one", "A=1", {{"S", "B", "2"}}, "A=1\n\n[S]\nB=2\n"},
    };
    for (const Row &r : rows) {
        IniFile ini = IniFile::Parse(r.before);
        for (const auto &w : r.writes)
            ini.WriteString(w[0], w[1], w[2]);
        EXPECT_EQ(ini.Text(), r.after ? r.after : r.before) << r.name;
    }
}

TEST(IniFileWriting, RefusesNamesAndValuesThatWouldBreakTheFile)
{
    IniFile ini;
    for (const auto &[section, key, value] : {std::array{"S", "K", "a\nb"}, {"S", "K=1", "v"}, {"S", "", "v"},
                                              {"S", " K", "v"}, {"S", ";K", "v"}, {"S]", "K", "v"}, {"S\n", "K", "v"}})
        EXPECT_THROW(ini.WriteString(section, key, value), std::invalid_argument) << section << "/" << key;
    EXPECT_EQ(ini.Text(), "");
}

TEST(IniFileDisk, SavedBytesLoadBackAndFailuresNameThePathAndTheReason)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.ini").toStdString();
    EXPECT_EQ(IniFile::Load(path).Text(), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path))) << "loading a missing file created it";
    // A megabyte line and a NUL byte survive as well.
    IniFile ini = IniFile::Parse("; keep me\r\n[S]\r\nA=1\r\n");
    ini.WriteString("S", "Long", std::string(1 << 20, 'x'));
    ini.WriteString("S", "Nul", std::string("a\0b", 3));
    ini.Save(path);
    EXPECT_EQ(IniFile::Load(path).Text(), ini.Text());
    // A folder cannot be read; no one can write below a plain file.
    ASSERT_TRUE(QDir().mkdir(dir.filePath("folder.ini")));
    const std::pair<std::string, bool> failures[] = {{dir.filePath("folder.ini").toStdString(), false},
                                                     {path + "/a.ini", true}};
    for (const auto &[bad, save] : failures)  // the path, then a reason
        EXPECT_THAT([&] { save ? ini.Save(bad) : (void)IniFile::Load(bad); },
                    testing::ThrowsMessage<IniFileError>(
                        testing::AllOf(testing::HasSubstr(bad + ": "), testing::Not(testing::EndsWith(": ")))));
}

TEST(RecentFiles, NewestFirstAtMostEightWithoutDuplicatesAndAClearedListStaysCleared)
{
    RecentFiles recent = RecentFiles::Read(IniFile::Parse("[Files]\nRecent1=/a.raw\nRecent2=rel.raw\nRecent3=/a.raw\n"
                                                          "Recent4=/b.raw\nLastFolder=/x\n"));
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/a.raw", "/b.raw"}));
    EXPECT_EQ(recent.LastFolder(), "/x");
    for (int i = 0; i < 9; ++i)
        recent.Add("/f" + std::to_string(i) + ".raw");
    recent.Add("/f3.raw");
    recent.Add("/bad\nname.raw");
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/f3.raw", "/f8.raw", "/f7.raw", "/f6.raw", "/f5.raw",
                                                        "/f4.raw", "/f2.raw", "/f1.raw"}));
    recent.NoteFolderOf("/out/move.gif");
    EXPECT_EQ(recent.LastFolder(), "/out");
    recent.Add("sub/../here.raw");
    EXPECT_EQ(recent.Paths()[0], QDir::currentPath().toStdString() + "/here.raw");
    IniFile ini;
    recent.Write(ini);
    recent.Clear();
    recent.Write(ini);
    EXPECT_TRUE(RecentFiles::Read(ini).Paths().empty());
    EXPECT_EQ(RecentFiles::Read(ini).LastFolder(), QDir::currentPath().toStdString());
}
