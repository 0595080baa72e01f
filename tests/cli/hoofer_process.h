#pragma once
// Runs the hoofer executable and compares what it printed.

#include "server_process.h"

#include <gmock/gmock.h>

#include <QProcess>

#include <fstream>

namespace hoofer::testing {

struct HooferRun {
    int exitCode = -1;  ///< -1 when it crashed or had to be stopped
    std::string out, err;
};

/// Runs the tool without any display in its environment, for at most 60 s.
/// The arguments go through bash as $'\xNN', so that names that are not UTF-8
/// arrive as they are (Qt would change them).
inline HooferRun RunHoofer(const std::vector<std::string> &arguments, const std::string &input = {})
{
    QString script = QStringLiteral("exec \"$0\"");
    for (const std::string &argument : arguments) {
        script += QStringLiteral(" $'");
        for (const char c : argument)
            script += QString::asprintf("\\x%02x", static_cast<unsigned char>(c));
        script += '\'';
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start("/bin/bash", {"-c", script, HOOFER_EXE});
    process.write(QByteArray::fromStdString(input));
    process.closeWriteChannel();
    HooferRun run;
    if (!process.waitForFinished(60000))
        process.kill();
    else if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    process.waitForFinished(5000);
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

inline std::string TestData(const std::string &name) { return HOOFER_TEST_DATA "/cli/" + name; }
inline std::string Example(const std::string &name) { return HOOFER_SOURCE_DIR "/examples/" + name; }
inline std::string Bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// One run: the exit status and both outputs, each compared whole, or
/// "~text" for one that holds text, or "*" for one not looked at.
struct Expected {
    std::vector<std::string> arguments;
    int exitCode;
    std::string out, err, input = {};
};

inline void ExpectRuns(const std::vector<Expected> &rows)
{
    for (const Expected &row : rows) {
        std::string what;
        for (const std::string &argument : row.arguments)
            what += argument + ' ';
        const HooferRun run = RunHoofer(row.arguments, row.input);
        EXPECT_EQ(run.exitCode, row.exitCode) << what << run.err;
        for (const auto &[text, expected] : {std::pair(run.out, row.out), std::pair(run.err, row.err)}) {
            using Text = ::testing::Matcher<std::string>;
            if (expected == "*")
                continue;
            EXPECT_THAT(text, expected.starts_with('~') ? Text(::testing::HasSubstr(expected.substr(1))) : Text(expected))
                << what;
        }
    }
}

} // namespace hoofer::testing
