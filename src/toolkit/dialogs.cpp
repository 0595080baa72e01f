#include "dialogs.h"

#include "text.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace hoofer::toolkit {

QtDialogs::QtDialogs(QWidget *parent, std::string applicationTitle)
    : m_parent(parent), m_title(std::move(applicationTitle))
{
}

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
    QMessageBox box(QMessageBox::Critical, ToQt(m_title), ToQt(text), QMessageBox::Ok, m_parent);
    box.exec();
}

std::string QtFilterFromPairs(const std::string &filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        entries << QString("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
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

std::optional<std::string> RunFileDialog(QWidget *parent, const FileDialogSpec &request, bool save)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdString(QtFilterFromPairs(request.filter)));
    dialog.setDefaultSuffix(DefaultSuffix(request.defaultExtension));
    QString folder = PathToQt(request.initialFolder);
    if (!request.fileName.empty()) {
        const QFileInfo info(PathToQt(request.fileName));
        folder = info.absolutePath();
        dialog.selectFile(info.fileName());
    }
    dialog.setDirectory(folder);
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
