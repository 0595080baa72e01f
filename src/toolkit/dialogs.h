#pragma once

#include <optional>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

namespace hoofer::toolkit {

/// What a file dialog offers: filters in the "Description|pattern|…" form,
/// the default extension and the folder and file name it starts with.
struct FileDialogSpec {
    std::string filter;
    std::string defaultExtension;
    std::string initialFolder;
    std::string fileName;
};

/// The results of a modal dialog: Accept, and Cancel or the close box.
inline constexpr int kModalResultOk = 1;
inline constexpr int kModalResultCancel = 2;

/// A modal one-line text question (the string entry dialog) as the dialog
/// service sees it; the window layer's dialog implements it.
class StringEntry {
public:
    virtual ~StringEntry() = default;
    virtual std::string TheText() const = 0;
    virtual void SetTheText(const std::string &text) = 0;
    virtual std::string Prompt() const = 0;
    virtual int MaxLength() const = 0;
    /// Runs the dialog for real; kModalResultOk means accepted.
    virtual int Execute() = 0;
};

/// A modal list of check boxes (File > Import Moves) as the dialog service
/// sees it; the window layer's dialog implements it.
class ItemChoice {
public:
    virtual ~ItemChoice() = default;
    virtual int ItemCount() const = 0;
    virtual void SetChecked(int index, bool checked) = 0;
    /// The indexes of the checked items, in list order.
    virtual std::vector<int> Checked() const = 0;
    /// Whether the accepting button can be pressed now.
    virtual bool CanAccept() const = 0;
    /// Runs the dialog for real; kModalResultOk means accepted.
    virtual int Execute() = 0;
};

/// Every question and message the window puts to the user goes through here:
/// real Qt dialogs in the program, a scripted stand-in in the tests, so that
/// no test waits for a person.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// "Confirm" box with "&Yes" and "&No"; true only for Yes.
    virtual bool Confirm(const std::string &text) = 0;
    /// "Error" box with the single button Cancel.
    virtual void Error(const std::string &text) = 0;
    /// The application's standard box for an exception that ended a command.
    virtual void ShowException(const std::string &text) = 0;
    virtual std::optional<std::string> OpenFile(const FileDialogSpec &request) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogSpec &request) = 0;
    /// Shows the string entry modally and returns its result (1 = accepted).
    virtual int ShowModal(StringEntry &entry) = 0;
    /// Shows the check-box list modally and returns its result (1 = accepted).
    virtual int ShowChoice(ItemChoice &choice) { return choice.Execute(); }
};

/// The application's title, on the standard exception box. The toolkit keeps
/// it: given to Qt as the application's display name, it would be appended
/// to every window's title on X11 ("Confirm — HooferEdit").
void SetApplicationTitle(const std::string &title);
const std::string &ApplicationTitle();

/// The real dialogs, parented to the main window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent);
    bool Confirm(const std::string &text) override;
    void Error(const std::string &text) override;
    void ShowException(const std::string &text) override;
    std::optional<std::string> OpenFile(const FileDialogSpec &request) override;
    std::optional<std::string> SaveFile(const FileDialogSpec &request) override;
    int ShowModal(StringEntry &entry) override;

private:
    QWidget *m_parent;
};

/// Turns "Hoofer Routines|*.raw|(All Files)|*.*" into Qt's filter list. Qt
/// reads "*.*" as names with a dot: it becomes "*", every file.
std::string QtFilterFromPairs(const std::string &filter);

/// Prepares a file dialog for the request. Saving onto an existing file asks
/// first (Qt's question, kept on purpose).
void SetUpFileDialog(QFileDialog &dialog, const FileDialogSpec &request, bool save);

} // namespace hoofer::toolkit
