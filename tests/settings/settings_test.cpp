#include "settings/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace hoofer;
using ::testing::HasSubstr;

namespace {

EditorSettings FromText(const std::string &text)
{
    return ReadEditorSettings(IniFile::Parse(text));
}

std::string SavedText(const std::string &before, const EditorSettings &settings)
{
    IniFile ini = IniFile::Parse(before);
    WriteEditorSettings(ini, settings);
    return ini.Text();
}

std::string Slurp(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll().toStdString();
}

} // namespace

TEST(EditorSettingsDefaults, AFirstRunWithoutAFileGivesEveryDefault)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("hooferedit.ini").toStdString();
    const EditorSettings s = ReadEditorSettings(IniFile::Load(path));
    EXPECT_FALSE(s.DragWithoutShift);
    EXPECT_FALSE(s.PlayContinuously);
    EXPECT_FALSE(s.SnapToGrid);
    EXPECT_EQ(s.GridSize, 5);
    EXPECT_EQ(s.NetworkName, "");
    EXPECT_EQ(s.FtpUserName, "Anonymous");
    EXPECT_EQ(s.FtpPassword, "hoofer@home");
    EXPECT_EQ(s, EditorSettings{});
}

TEST(EditorSettingsSaving, AFirstSaveWritesTheNineKeysInOrderInThreeSections)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("hooferedit.ini").toStdString();
    IniFile ini = IniFile::Load(path);
    WriteEditorSettings(ini, EditorSettings{});
    ini.Save(path);
    EXPECT_EQ(Slurp(QString::fromStdString(path)),
              "[Interface]\n"
              "DragWithoutShift=0\n"
              "PlayContinuously=0\n"
              "SnapToGrid=0\n"
              "GridSize=5\n"
              "\n"
              "[Network]\n"
              "empegNetworkName=\n"
              "empegFTPUserName=Anonymous\n"
              "empegFTPPassword=hoofer@home\n"
              "\n"
              "[View]\n"
              "OnionSkin=0\n"
              "PlaybackSpeed=1\n");
}

TEST(EditorSettingsSaving, EveryValueComesBackAsItWasSaved)
{
    EditorSettings s;
    s.DragWithoutShift = true;
    s.PlayContinuously = true;
    s.SnapToGrid = true;
    s.GridSize = 17;
    s.NetworkName = " 127.0.0.1:2121 ";
    s.FtpUserName = "dancer";
    s.FtpPassword = "p=w;#[x] \"q\"";
    s.OnionSkin = true;
    s.PlaybackSpeed = 4;
    EXPECT_EQ(FromText(SavedText("", s)), s);
}

TEST(EditorSettingsSaving, LineBreaksInStringsCannotAddLinesToTheFile)
{
    EditorSettings s;
    s.NetworkName = "car\n[Interface]";
    s.FtpPassword = "secret\r\nGridSize=0";
    const EditorSettings back = FromText(SavedText("", s));
    EXPECT_EQ(back.NetworkName, "car");
    EXPECT_EQ(back.FtpPassword, "secret");
    EXPECT_EQ(back.GridSize, 5);
}

TEST(EditorSettingsGridSize, ReadsDecimalAndHexadecimal)
{
    EXPECT_EQ(FromText("[Interface]\nGridSize=12\n").GridSize, 12);
    EXPECT_EQ(FromText("[Interface]\nGridSize=0x0C\n").GridSize, 12);
}

TEST(EditorSettingsGridSize, LettersZeroAndNegativeSizesGiveFive)
{
    EXPECT_EQ(FromText("[Interface]\nGridSize=abc\n").GridSize, 5);
    EXPECT_EQ(FromText("[Interface]\nGridSize=0\n").GridSize, 5);
    EXPECT_EQ(FromText("[Interface]\nGridSize=-3\n").GridSize, 5);
    EXPECT_EQ(FromText("[Interface]\nGridSize=\n").GridSize, 5);
}

TEST(EditorSettingsBooleans, ASnapToGridOfTwoIsCheckedAndWrittenBackAsOne)
{
    const std::string before = "[Interface]\nSnapToGrid=2\n";
    const EditorSettings s = FromText(before);
    EXPECT_TRUE(s.SnapToGrid);
    EXPECT_THAT(SavedText(before, s), HasSubstr("SnapToGrid=1\n"));
}

TEST(EditorSettingsView, OnionSkinIsABooleanAndOnlySpeedsOneTwoAndFourAreRead)
{
    const struct {
        const char *lines;
        bool onion;
        int speed;
    } rows[] = {
        {"", false, 1},
        {"OnionSkin=2\nPlaybackSpeed=2\n", true, 2},
        {"OnionSkin=1\nPlaybackSpeed=0x4\n", true, 4},
        {"OnionSkin=yes\nPlaybackSpeed=3\n", false, 1},
        {"PlaybackSpeed=0\n", false, 1},
        {"PlaybackSpeed=-4\n", false, 1},
        {"PlaybackSpeed=fast\n", false, 1},
    };
    for (const auto &row : rows) {
        const EditorSettings s = FromText("[View]\n" + std::string(row.lines));
        EXPECT_EQ(s.OnionSkin, row.onion) << row.lines;
        EXPECT_EQ(s.PlaybackSpeed, row.speed) << row.lines;
    }
}

TEST(EditorSettingsBooleans, UnreadableBooleansAreUnchecked)
{
    const EditorSettings s = FromText("[Interface]\nDragWithoutShift=yes\nPlayContinuously=\n");
    EXPECT_FALSE(s.DragWithoutShift);
    EXPECT_FALSE(s.PlayContinuously);
}

TEST(EditorSettingsSaving, UnknownSectionsAndKeysSurviveASaveInTheirPlace)
{
    const std::string before =
        "; written by hand\n"
        "[Window]\n"
        "Left=10\n"
        "\n"
        "[network]\n"
        "empegFTPPassword=old\n"
        "Proxy=none\n"
        "\n"
        "[Interface]\n"
        "Theme=dark\n"
        "GridSize=9\n";
    EditorSettings s = FromText(before);
    s.FtpPassword = "new";
    EXPECT_EQ(SavedText(before, s),
              "; written by hand\n"
              "[Window]\n"
              "Left=10\n"
              "\n"
              "[network]\n"
              "empegFTPPassword=new\n"
              "Proxy=none\n"
              "empegNetworkName=\n"
              "empegFTPUserName=Anonymous\n"
              "\n"
              "[Interface]\n"
              "Theme=dark\n"
              "GridSize=9\n"
              "DragWithoutShift=0\n"
              "PlayContinuously=0\n"
              "SnapToGrid=0\n"
              "\n"
              "[View]\n"
              "OnionSkin=0\n"
              "PlaybackSpeed=1\n");
}

TEST(EditorSettingsLoading, LoadingNeverWritesTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("hooferedit.ini");
    const std::string odd = "[Interface]\r\nGridSize=abc\rSnapToGrid=2";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(odd.data(), static_cast<qint64>(odd.size()));
    }
    const QDateTime before = QFileInfo(path).lastModified();
    const EditorSettings s = ReadEditorSettings(IniFile::Load(path.toStdString()));
    EXPECT_TRUE(s.SnapToGrid);
    EXPECT_EQ(s.GridSize, 5);
    EXPECT_EQ(Slurp(path), odd);
    EXPECT_EQ(QFileInfo(path).lastModified(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(EditorSettingsSaving, ASaveThatCannotWriteReportsThePathAndTheReason)
{
    QTemporaryDir dir;
    // A folder that cannot exist, because a plain file has its name: this
    // fails for every user, root included.
    const QString blocker = dir.filePath("plain-file");
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const std::string path = (blocker + "/hooferedit.ini").toStdString();
    IniFile ini;
    WriteEditorSettings(ini, EditorSettings{});
    try {
        ini.Save(path);
        FAIL() << "saved below a plain file";
    } catch (const IniFileError &e) {
        const std::string message = e.what();
        EXPECT_THAT(message, HasSubstr(path + ": "));
        EXPECT_GT(message.size(), message.find(path) + path.size() + 2) << message;
    }
}

TEST(EditorSettingsPath, TheExtensionIsReplacedByIni)
{
    EXPECT_EQ(SettingsPathForExecutable("/opt/hoofer/HooferEdit.exe"), "/opt/hoofer/HooferEdit.ini");
    EXPECT_EQ(SettingsPathForExecutable("/opt/hoofer/hooferedit.bin"), "/opt/hoofer/hooferedit.ini");
    EXPECT_EQ(SettingsPathForExecutable("/opt/hoofer/a.b.c"), "/opt/hoofer/a.b.ini");
}

TEST(EditorSettingsPath, IniIsAppendedWhenTheFileNameHasNoExtension)
{
    EXPECT_EQ(SettingsPathForExecutable("/usr/bin/hooferedit"), "/usr/bin/hooferedit.ini");
    EXPECT_EQ(SettingsPathForExecutable("/home/me/v6.0/hooferedit"), "/home/me/v6.0/hooferedit.ini");
    EXPECT_EQ(SettingsPathForExecutable("/home/me/.local/bin/.hoofer"), "/home/me/.local/bin/.hoofer.ini");
    EXPECT_EQ(SettingsPathForExecutable("hooferedit"), "hooferedit.ini");
}

TEST(SettingsLocationChoice, BesideAWritableProgramElseTheUsersOwnFileWithTheSharedOneAsDefaults)
{
    QTemporaryDir dir;
    const QString base = dir.path();
    // The user's folder as the editor asks for it: a temporary XDG_CONFIG_HOME.
    const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
    const QString oldName = QCoreApplication::applicationName();
    qputenv("XDG_CONFIG_HOME", (base + "/xdg").toUtf8());
    QCoreApplication::setApplicationName("HooferEdit");
    const std::string userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
    QCoreApplication::setApplicationName(oldName);
    oldXdg.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldXdg);
    ASSERT_EQ(userFolder, (base + "/xdg/HooferEdit").toStdString());

    const std::string bin = (base + "/bin").toStdString();
    const std::string beside = bin + "/hooferedit.ini";
    const std::string own = userFolder + "/hooferedit.ini";
    QDir().mkpath(QString::fromStdString(bin));
    struct Row {
        const char *name;
        bool writable, besideExists, ownExists;
        SettingsLocation expected;
    };
    const Row rows[] = {
        {"writable folder", true, false, false, {beside, beside}},
        {"writable folder, user file too", true, true, true, {beside, beside}},
        {"read-only, nothing yet", false, false, false, {own, own}},
        {"read-only, shared defaults", false, true, false, {beside, own}},
        {"read-only, user file wins", false, true, true, {own, own}},
    };
    for (const Row &row : rows) {
        QFile::remove(QString::fromStdString(beside));
        QFile::remove(QString::fromStdString(own));
        QDir().mkpath(QString::fromStdString(userFolder));
        if (row.besideExists)
            QFile(QString::fromStdString(beside)).open(QIODevice::WriteOnly);
        if (row.ownExists)
            QFile(QString::fromStdString(own)).open(QIODevice::WriteOnly);
        std::string asked;
        const SettingsLocation got = ChooseSettingsLocation(beside, userFolder, [&](const std::string &folder) {
            asked = folder;
            return row.writable;
        });
        EXPECT_EQ(asked, bin) << row.name;
        EXPECT_EQ(got.readPath, row.expected.readPath) << row.name;
        EXPECT_EQ(got.writePath, row.expected.writePath) << row.name;
    }
    EXPECT_TRUE(FolderIsWritable(bin));
    EXPECT_FALSE(FolderIsWritable(bin + "/missing"));
}
