#include "dialogs.h"

#include "text.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace hoofer::toolkit {

namespace {
std::string &Title()
{
    static std::string title;
    return title;
}
} // namespace

void SetApplicationTitle(const std::string &title)
{
    Title() = title;
}

const std::string &ApplicationTitle()
{
    return Title();
}

QtDialogs::QtDialogs(QWidget *parent) : m_parent(parent) {}

bool QtDialogs::Confirm(const std::string &text)
{
    QMessageBox box(QMessageBox::Question, "Confirm", ToQt(text), QMessageBox::NoButton, m_parent);
    QPushButton *yes = box.addButton("&Yes", QMessageBox::YesRole);
    QPushButton *no = box.addButton("&No", QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogs::Error(const std::string &text)
{
    QMessageBox box(QMessageBox::Critical, "Error", ToQt(text), QMessageBox::Cancel, m_parent);
    box.exec();
}

void QtDialogs::ShowException(const std::string &text)
{
    QMessageBox box(QMessageBox::Critical, ToQt(ApplicationTitle()), ToQt(text), QMessageBox::Ok, m_parent);
    box.exec();
}

std::string QtFilterFromPairs(const std::string &filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            if (pattern == "*.*")
                pattern = "*";
        entries << QString("%1 (%2)").arg(parts[i], patterns.join(' '));
    }
    return entries.join(";;").toStdString();
}

namespace {
QString DefaultSuffix(const std::string &ext)
{
    QString s = QString::fromStdString(ext);
    while (s.startsWith('*') || s.startsWith('.'))
        s.remove(0, 1);
    return s;
}
} // namespace

void SetUpFileDialog(QFileDialog &dialog, const FileDialogSpec &request, bool save)
{
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdString(QtFilterFromPairs(request.filter)));
    dialog.setDefaultSuffix(DefaultSuffix(request.defaultExtension));
    QString folder = PathToQt(request.initialFolder);
    if (!request.fileName.empty()) {
        const QFileInfo info(PathToQt(request.fileName));
        // A bare name ("Spin.gif") is proposed in the initial folder.
        if (request.fileName.find('/') != std::string::npos)
            folder = info.absolutePath();
        dialog.selectFile(info.fileName());
    }
    dialog.setDirectory(folder);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

namespace {
std::optional<std::string> RunFileDialog(QWidget *parent, const FileDialogSpec &request, bool save)
{
    QFileDialog dialog(parent);
    SetUpFileDialog(dialog, request, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return PathFromQt(dialog.selectedFiles().first());
}
} // namespace

std::optional<std::string> QtDialogs::OpenFile(const FileDialogSpec &request)
{
    return RunFileDialog(m_parent, request, false);
}

std::optional<std::string> QtDialogs::SaveFile(const FileDialogSpec &request)
{
    return RunFileDialog(m_parent, request, true);
}

int QtDialogs::ShowModal(StringEntry &entry)
{
    return entry.Execute();
}

} // namespace hoofer::toolkit
