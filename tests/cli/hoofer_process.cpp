#include "hoofer_process.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace hoofer::testing {

HooferRun RunHooferBytes(const std::vector<std::string> &arguments, const QByteArray &input)
{
    // bash turns $'\xNN' back into the byte and exec keeps the exit status.
    QString script = QStringLiteral("exec \"$0\"");
    for (const std::string &argument : arguments) {
        script += QStringLiteral(" $'");
        for (const char c : argument)
            script += QString::asprintf("\\x%02x", static_cast<unsigned char>(c));
        script += '\'';
    }
    return RunHoofer({"-c", script, QStringLiteral(HOOFER_EXE)}, input, "/bin/bash");
}

HooferRun RunHoofer(const QStringList &arguments, const QByteArray &input, const QString &program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));

    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    HooferRun run;
    if (!process.waitForStarted(10000))
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
    } else {
        run.finished = process.exitStatus() == QProcess::NormalExit;
        run.exitCode = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString TestData(const QString &name)
{
    return QStringLiteral(HOOFER_TEST_DATA "/") + name;
}

QString Example(const QString &name)
{
    return QStringLiteral(HOOFER_SOURCE_DIR "/examples/") + name;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

std::string FileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace hoofer::testing
