#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace hoofer;

namespace {

/// Every setting in the order a first save writes it: its section and key,
/// the default value and another value that must come back as it was saved.
struct KeyRow { const char *section, *key, *defaultValue, *otherValue; };
const KeyRow kKeys[] = {
    {"Interface", "DragWithoutShift", "0", "1"},
    {"Interface", "PlayContinuously", "0", "1"},
    {"Interface", "SnapToGrid", "0", "1"},
    {"Interface", "GridSize", "5", "17"},
    {"Network", "empegNetworkName", "", " 127.0.0.1:2121 "},
    {"Network", "empegFTPUserName", "Anonymous", "dancer"},
    {"Network", "empegFTPPassword", "hoofer@home", "p=w;#[x] \"q\""},
};

/// The text WriteEditorSettings leaves in `before` for the settings read from `read`.
std::string Resaved(const std::string &read, const std::string &before = "")
{
    IniFile ini = IniFile::Parse(before);
    WriteEditorSettings(ini, ReadEditorSettings(IniFile::Parse(read)));
    return ini.Text();
}

} // namespace

TEST(EditorSettings, AFirstRunGivesTheDefaultsAndAFirstSaveWritesEveryKeyInOrder)
{
    EXPECT_EQ(ReadEditorSettings(IniFile{}), EditorSettings{});
    std::string expected, section;
    for (const KeyRow &k : kKeys) {
        if (k.section != section) {
            expected += (section.empty() ? "[" : "\n[") + std::string(k.section) + "]\n";
            section = k.section;
        }
        expected += std::string(k.key) + "=" + k.defaultValue + "\n";
    }
    EXPECT_EQ(Resaved(""), expected);
}

TEST(EditorSettings, EachValueComesBackAsItWasSavedAndMovesNoOther)
{
    for (const KeyRow &row : kKeys) {
        const IniFile out = IniFile::Parse(Resaved(std::string("[") + row.section + "]\n" + row.key + "=" + row.otherValue));
        for (const KeyRow &k : kKeys)
            EXPECT_EQ(out.ReadString(k.section, k.key, "-"), &k == &row ? k.otherValue : k.defaultValue)
                << row.key << " set, " << k.key << " read";
    }
}

TEST(EditorSettings, UnreadableValuesAndGridSizesBelowOneGiveTheDefault)
{
    const std::pair<std::string, const char *> rows[] = {
        {"GridSize=0x0C", "12"}, {"GridSize=abc", "5"},    {"GridSize=0", "5"},          {"GridSize=-3", "5"},
        {"GridSize=", "5"},      {"SnapToGrid=2", "1"},    {"DragWithoutShift=yes", "0"}, {"PlayContinuously=", "0"},
    };
    for (const auto &[line, written] : rows) {
        const std::string key = line.substr(0, line.find('='));
        EXPECT_EQ(IniFile::Parse(Resaved("[Interface]\n" + line)).ReadString("Interface", key, "-"), written) << line;
    }
}

TEST(EditorSettings, LineBreaksInStringsCannotAddLinesToTheFile)
{
    EditorSettings s, cut;
    s.NetworkName = "car\n[Interface]", cut.NetworkName = "car";
    s.FtpPassword = "secret\r\nGridSize=0", cut.FtpPassword = "secret";
    IniFile ini;
    WriteEditorSettings(ini, s);
    EXPECT_EQ(ReadEditorSettings(ini), cut);
}

TEST(EditorSettings, UnknownSectionsAndKeysSurviveASaveInTheirPlace)
{
    const std::string before = "; by hand\n[Window]\nLeft=10\n\n[network]\nempegFTPPassword=old\nProxy=none\n\n"
                               "[Interface]\nTheme=dark\nGridSize=9\n";
    EXPECT_EQ(Resaved("[Network]\nempegFTPPassword=new\n[Interface]\nGridSize=9\n", before),
              "; by hand\n[Window]\nLeft=10\n\n[network]\nempegFTPPassword=new\nProxy=none\nempegNetworkName=\n"
              "empegFTPUserName=Anonymous\n\n[Interface]\nTheme=dark\nGridSize=9\nDragWithoutShift=0\n"
              "PlayContinuously=0\nSnapToGrid=0\n");
}

TEST(EditorSettingsPath, TheExtensionIsReplacedByIniOrIniIsAppended)
{
    const std::pair<const char *, const char *> rows[] = {
        {"/opt/hoofer/HooferEdit.exe", "/opt/hoofer/HooferEdit.ini"}, {"/opt/h/a.b.c", "/opt/h/a.b.ini"},
        {"/usr/bin/hooferedit", "/usr/bin/hooferedit.ini"},           {"/home/v6.0/hooferedit", "/home/v6.0/hooferedit.ini"},
        {"/home/.local/bin/.hoofer", "/home/.local/bin/.hoofer.ini"}, {"hooferedit", "hooferedit.ini"},
    };
    for (const auto &[exe, ini] : rows)
        EXPECT_EQ(SettingsPathForExecutable(exe), ini) << exe;
}

TEST(SettingsLocationChoice, BesideAWritableProgramElseTheUsersOwnFileWithTheSharedOneAsDefaults)
{
    QTemporaryDir dir;
    const std::string bin = dir.filePath("bin").toStdString(), beside = bin + "/hooferedit.ini";
    const std::string userFolder = dir.filePath("user").toStdString(), own = userFolder + "/hooferedit.ini";
    QDir().mkpath(QString::fromStdString(bin));
    QDir().mkpath(QString::fromStdString(userFolder));
    struct Row { const char *name; bool writable, besideExists, ownExists; SettingsLocation expected; };
    const Row rows[] = {
        {"writable folder", true, false, false, {beside, beside}},
        {"writable folder, user file too", true, true, true, {beside, beside}},
        {"read-only, nothing yet", false, false, false, {own, own}},
        {"read-only, shared defaults", false, true, false, {beside, own}},
        {"read-only, user file wins", false, true, true, {own, own}},
    };
    for (const Row &row : rows) {
        for (const auto &[path, exists] : {std::pair{beside, row.besideExists}, {own, row.ownExists}})
            exists ? (void)QFile(QString::fromStdString(path)).open(QIODevice::WriteOnly)
                   : (void)QFile::remove(QString::fromStdString(path));
        std::string asked;
        const SettingsLocation got =
            ChooseSettingsLocation(beside, userFolder, [&](const std::string &folder) { return asked = folder, row.writable; });
        EXPECT_EQ(asked, bin) << row.name;
        EXPECT_TRUE(got == row.expected) << row.name << ": read " << got.readPath << ", write " << got.writePath;
    }
    EXPECT_TRUE(FolderIsWritable(bin));
    EXPECT_FALSE(FolderIsWritable(bin + "/missing"));
}
