#pragma once

// The window's controls come along: every window test reads or drives them.
#include "app/hoofer_window.h"
#include "toolkit/combo_box.h"
#include "toolkit/dialogs.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/platform.h"
#include "toolkit/spin_edit.h"
#include "test_routine.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <string>

namespace hoofer::test {

/// The platform on virtual time: sleeps are written down and move the clock
/// on without waiting, timers fire when the clock passes their deadline at
/// the next message handling, and message handling runs Qt's pending events
/// and then onMessages (to act in the middle of a playback or a transfer).
class FakePlatform : public toolkit::Platform {
public:
    void ProcessMessages() override;
    void Sleep(int ms) override { sleeps.push_back(ms), m_now += ms; }
    std::unique_ptr<toolkit::TimerBackend> CreateTimer(std::function<void()> onTick) override;
    /// Moves the clock on and fires the timers that fall due.
    void Advance(long long ms);

    std::vector<int> sleeps;
    std::function<void()> onMessages;

private:
    struct Timer;
    std::vector<Timer *> m_timers;
    long long m_now = 0;
};

/// The dialogs as a script: every question takes the next scripted answer
/// (or a refusal when none is left), and everything shown is written down as
/// "confirm: …", "error: …", "exception: …", "open", "save", "entry: prompt",
/// "choice". A check-box list is handed to onChoice, which answers it as a
/// user would and gives its result (Cancel when there is no onChoice).
class ScriptedDialogs : public toolkit::Dialogs {
public:
    bool Confirm(const std::string &text) override;
    void Error(const std::string &text) override { shown.push_back("error: " + text); }
    void ShowException(const std::string &text) override;
    std::optional<std::string> OpenFile(const toolkit::FileDialogSpec &) override;
    std::optional<std::string> SaveFile(const toolkit::FileDialogSpec &) override;
    int ShowModal(toolkit::StringEntry &entry) override;
    int ShowChoice(toolkit::ItemChoice &choice) override;

    std::vector<std::string> shown;  // every line written down, in order
    /// Only the texts of the boxes of one kind ("error", "exception", "confirm").
    std::vector<std::string> Of(const std::string &kind) const;

    toolkit::FileDialogSpec lastSaveSpec, lastOpenSpec;  // what the latest save and open dialogs were asked
    std::deque<bool> confirmAnswers;
    /// A string entry's answer is typed into it and confirmed with OK.
    std::deque<std::optional<std::string>> openAnswers, saveAnswers, entryAnswers;
    std::function<int(toolkit::ItemChoice &)> onChoice;
    std::function<void(const std::string &)> onException;  // as an exception box is shown, before it is written down
};

/// Reads a file of tests/data whole.
std::string TestData(const std::string &name);
void WriteBytes(const std::string &path, const std::string &bytes);
/// The image of TestMoves(moves, frames).
std::string RoutineBytes(int moves, int frames);

/// The real main window, shown offscreen, on virtual time, with scripted
/// dialogs and its settings in a temporary folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Replaces the window with a new one; the old one ends without a close, as a crash would.
    void Reopen(SettingsLocation settings, const std::string &recoveryFolder = "", const std::string &startupFile = "");
    /// Loads a routine through File > Load, as a user would.
    void LoadData(const std::string &bytes);
    void LoadFile(const std::string &path);
    /// A path in the test's own temporary folder.
    std::string TempPath(const std::string &name) const;
    /// Clicks a menu item as the menu does: nothing happens while it is disabled.
    void Click(toolkit::TMenuItem *item);

    QTemporaryDir dir;
    FakePlatform platform;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmHoofer> window;
};

} // namespace hoofer::test
