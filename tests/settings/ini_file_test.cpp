#include "settings/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include <unistd.h>

using namespace hoofer;
using ::testing::HasSubstr;

namespace {

std::string Slurp(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

} // namespace

TEST(IniFileReading, FindsValuesBySectionAndKeyWithoutRegardToCase)
{
    const IniFile ini = IniFile::Parse("[Interface]\nGridSize=7\n[Network]\nempegNetworkName=car\n");
    EXPECT_EQ(ini.ReadString("interface", "GRIDSIZE", "x"), "7");
    EXPECT_EQ(ini.ReadString("NETWORK", "EmpegNetworkName", "x"), "car");
    EXPECT_EQ(ini.ReadString("Network", "GridSize", "none"), "none");
    EXPECT_EQ(ini.ReadString("Other", "GridSize", "none"), "none");
    EXPECT_TRUE(ini.HasKey("Interface", "gridsize"));
    EXPECT_FALSE(ini.HasKey("Interface", "SnapToGrid"));
}

TEST(IniFileReading, StringsAreTakenExactlyAsTheyFollowTheEqualsSign)
{
    const IniFile ini = IniFile::Parse(
        "[S]\n  Key  =  two words  \nQuoted=\"a;b\"\nEq=a=b\nEmpty=\n");
    EXPECT_EQ(ini.ReadString("S", "Key", ""), "  two words  ");
    EXPECT_EQ(ini.ReadString("S", "Quoted", ""), "\"a;b\"");
    EXPECT_EQ(ini.ReadString("S", "Eq", ""), "a=b");
    EXPECT_EQ(ini.ReadString("S", "Empty", "default"), "");
}

TEST(IniFileReading, TheFirstOccurrenceOfASectionOrKeyWins)
{
    const IniFile ini = IniFile::Parse("[S]\nK=1\nK=2\n[s]\nK=3\nOnlyLater=4\n");
    EXPECT_EQ(ini.ReadInteger("S", "K", 0), 1);
    EXPECT_EQ(ini.ReadInteger("S", "OnlyLater", 0), 0);
}

TEST(IniFileReading, CommentsAndStrayLinesAreNotKeys)
{
    const IniFile ini = IniFile::Parse("[S]\n;K=1\n#K=2\nno equals here\n=orphan\n[broken\nK=3\n");
    EXPECT_EQ(ini.ReadInteger("S", "K", 0), 3);
    EXPECT_FALSE(ini.HasKey("S", ""));
}

TEST(IniFileIntegers, AnUnreadableValueGivesTheDefault)
{
    const IniFile ini = IniFile::Parse("[S]\nA=letters\nB= 0x1F \n");
    EXPECT_EQ(ini.ReadInteger("S", "A", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "B", 5), 31);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", -1), -1);
}

TEST(IniFileBooleans, ReadAsIntegersZeroBeingFalse)
{
    const IniFile ini = IniFile::Parse("[S]\nZero=0\nOne=1\nTwo=2\nNeg=-1\nHex=0x0\nWord=true\n");
    EXPECT_FALSE(ini.ReadBool("S", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "One", false));
    EXPECT_TRUE(ini.ReadBool("S", "Two", false));
    EXPECT_TRUE(ini.ReadBool("S", "Neg", false));
    EXPECT_FALSE(ini.ReadBool("S", "Hex", true));
    EXPECT_TRUE(ini.ReadBool("S", "Word", true));
    EXPECT_FALSE(ini.ReadBool("S", "Word", false));
    EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
}

TEST(IniFileWriting, ReplacesTheValueAndKeepsTheLinesOwnKeySpelling)
{
    IniFile ini = IniFile::Parse("[interface]\n  gridsize = 5\n");
    ini.WriteInteger("Interface", "GridSize", 12);
    ini.WriteBool("Interface", "GRIDSIZE", true);
    EXPECT_EQ(ini.Text(), "[interface]\n  gridsize =1\n");
}

TEST(IniFileWriting, AMissingKeyGoesAfterTheLastLineOfItsSection)
{
    IniFile ini = IniFile::Parse("[A]\nx=1\n; note\n\n\n[B]\ny=2\n");
    ini.WriteString("A", "z", "3");
    ini.WriteString("B", "w", "4");
    EXPECT_EQ(ini.Text(), "[A]\nx=1\n; note\nz=3\n\n\n[B]\ny=2\nw=4\n");
}

TEST(IniFileWriting, AMissingSectionGoesAtTheEndAfterABlankLine)
{
    IniFile ini = IniFile::Parse("; my settings\n[A]\nx=1\n");
    ini.WriteString("B", "y", "2");
    EXPECT_EQ(ini.Text(), "; my settings\n[A]\nx=1\n\n[B]\ny=2\n");

    IniFile empty;
    empty.WriteString("A", "x", "1");
    empty.WriteString("B", "y", "2");
    empty.WriteString("A", "z", "3");
    EXPECT_EQ(empty.Text(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n");
}

TEST(IniFileWriting, UntouchedLinesGoBackVerbatim)
{
    const std::string text = "\xEF\xBB\xBF; comment\r\n\r\n[Odd Section]  ; trailing\r\n"
                             "weird line without equals\r\n  spaced key  =  v  \r\n"
                             "bin=\x01\x7F\xFF\r\n[Interface]\r\nGridSize=5\r\n";
    IniFile ini = IniFile::Parse(text);
    EXPECT_EQ(ini.Text(), text);
    ini.WriteInteger("Interface", "GridSize", 5);
    EXPECT_EQ(ini.Text(), text);
    EXPECT_EQ(ini.ReadString("odd section", "spaced key", ""), "  v  ");
}

TEST(IniFileWriting, RefusesNamesAndValuesThatWouldBreakTheFile)
{
    IniFile ini;
    EXPECT_THROW(ini.WriteString("S", "K", "a\nb"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S", "K", "a\rb"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S", "K=1", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S", "", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S", " K", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S", ";K", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S", "[K", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S]", "K", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S\n", "K", "v"), std::invalid_argument);
    EXPECT_EQ(ini.Text(), "");
}

TEST(IniFileLineEndings, ReadsCrLfLfAndLoneCr)
{
    for (const char *eol : {"\r\n", "\n", "\r"}) {
        const std::string e = eol;
        const IniFile ini = IniFile::Parse("[S]" + e + "A=1" + e + "B=two" + e);
        EXPECT_EQ(ini.ReadInteger("S", "A", 0), 1);
        EXPECT_EQ(ini.ReadString("S", "B", ""), "two");
    }
    const IniFile mixed = IniFile::Parse("[S]\r\nA=1\rB=2\nC=3\r\n");
    EXPECT_EQ(mixed.ReadInteger("S", "A", 0) + mixed.ReadInteger("S", "B", 0)
                  + mixed.ReadInteger("S", "C", 0), 6);
}

TEST(IniFileLineEndings, NewLinesTakeTheFilesOwnEndingAndEachLineKeepsItsOwn)
{
    IniFile ini = IniFile::Parse("[S]\r\nA=1\nB=2\r\n");
    ini.WriteString("S", "C", "3");
    ini.WriteString("T", "D", "4");
    EXPECT_EQ(ini.Text(), "[S]\r\nA=1\nB=2\r\nC=3\r\n\r\n[T]\r\nD=4\r\n");

    IniFile cr = IniFile::Parse("[S]\rA=1\r");
    cr.WriteString("S", "B", "2");
    EXPECT_EQ(cr.Text(), "[S]\rA=1\rB=2\r");
}

TEST(IniFileLineEndings, AMissingFinalNewlineIsAddedOnlyWhenALineFollows)
{
    IniFile ini = IniFile::Parse("[S]\r\nA=1");
    EXPECT_EQ(ini.Text(), "[S]\r\nA=1");
    EXPECT_EQ(ini.ReadInteger("S", "A", 0), 1);
    ini.WriteString("S", "A", "2");
    EXPECT_EQ(ini.Text(), "[S]\r\nA=2");
    ini.WriteString("S", "B", "3");
    EXPECT_EQ(ini.Text(), "[S]\r\nA=2\r\nB=3\r\n");

    IniFile header = IniFile::Parse("[S]");
    header.WriteString("S", "A", "1");
    EXPECT_EQ(header.Text(), "[S]\nA=1\n");
}

TEST(IniFileLineEndings, AByteOrderMarkIsKeptAndNotPartOfTheFirstLine)
{
    IniFile ini = IniFile::Parse("\xEF\xBB\xBF[S]\nA=1\n");
    EXPECT_EQ(ini.ReadInteger("S", "A", 0), 1);
    ini.WriteString("S", "B", "2");
    EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[S]\nA=1\nB=2\n");
}

TEST(IniFileLineEndings, VeryLongLinesAndNulBytesSurvive)
{
    const std::string longValue(1 << 20, 'x');
    std::string text = "[S]\nLong=" + longValue + "\nNul=a";
    text += '\0';
    text += "b\n";
    IniFile ini = IniFile::Parse(text);
    EXPECT_EQ(ini.ReadString("S", "Long", ""), longValue);
    EXPECT_EQ(ini.ReadString("S", "Nul", "").size(), 3u);
    EXPECT_EQ(ini.Text(), text);
}

TEST(IniFileDisk, AMissingFileReadsAsEmptyAndIsNotCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("none.ini");
    const IniFile ini = IniFile::Load(path.toStdString());
    EXPECT_EQ(ini.Text(), "");
    EXPECT_FALSE(QFile::exists(path));
}

TEST(IniFileDisk, SaveThenLoadGivesTheSameText)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.ini").toStdString();
    IniFile ini = IniFile::Parse("; keep me\r\n[S]\r\nA=1\r\n");
    ini.WriteString("S", "B", "zwei");
    ini.Save(path);
    EXPECT_EQ(Slurp(QString::fromStdString(path)), ini.Text());
    EXPECT_EQ(IniFile::Load(path).Text(), ini.Text());
}

TEST(IniFileDisk, AFileThatCannotBeReadRaisesWithThePath)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkdir(path));
    try {
        IniFile::Load(path.toStdString());
        FAIL() << "a folder read as a settings file";
    } catch (const IniFileError &e) {
        EXPECT_THAT(e.what(), HasSubstr(path.toStdString()));
    }
}

TEST(IniFileDisk, ASaveThatCannotWriteNamesThePathAndTheReason)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("missing/folder/a.ini").toStdString();
    IniFile ini = IniFile::Parse("[S]\nA=1\n");
    try {
        ini.Save(path);
        FAIL() << "saved into a folder that does not exist";
    } catch (const IniFileError &e) {
        const std::string message = e.what();
        EXPECT_THAT(message, HasSubstr(path));
        // After the path comes the reason, never an empty one.
        EXPECT_GT(message.size(), message.find(path) + path.size() + 2) << message;
    }
}

TEST(IniFileDisk, ASaveIntoAReadOnlyFolderNamesThePath)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    QTemporaryDir dir;
    const QString folder = dir.filePath("ro");
    ASSERT_TRUE(QDir().mkdir(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const std::string path = (folder + "/a.ini").toStdString();
    EXPECT_THROW(IniFile::Parse("[S]\n").Save(path), IniFileError);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}
