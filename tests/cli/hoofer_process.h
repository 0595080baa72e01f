#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace hoofer::testing {

/// What a run of the hoofer executable left behind.
struct HooferRun {
    int exitCode = -1;
    bool finished = false;   ///< false when it crashed or had to be stopped
    QByteArray out;
    QByteArray err;

    std::string Out() const { return out.toStdString(); }
    std::string Err() const { return err.toStdString(); }
};

/// Runs the tool with the arguments and input, without any display or Qt
/// platform in its environment, and waits at most 60 seconds.
HooferRun RunHoofer(const QStringList &arguments, const QByteArray &input = {},
                    const QString &program = QStringLiteral(HOOFER_EXE));
/// The same with arguments as bytes, for file names that are not UTF-8
/// (Qt would pass those on changed).
HooferRun RunHooferBytes(const std::vector<std::string> &arguments, const QByteArray &input = {});

/// Paths of the shared test files and the example routines.
QString TestData(const QString &name);
QString Example(const QString &name);

QByteArray ReadBytes(const QString &path);
/// The text's lines, without their line ends.
std::vector<std::string> Lines(const std::string &text);
void WriteBytes(const QString &path, const QByteArray &data);
/// A file named by bytes; empty when it cannot be read.
std::string FileBytes(const std::string &path);

} // namespace hoofer::testing
