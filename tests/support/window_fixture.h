#pragma once

// The window's controls come along: every window test reads or drives them.
#include "app/hoofer_window.h"
#include "model/routine_codec.h"
#include "toolkit/combo_box.h"
#include "toolkit/dialogs.h"
#include "toolkit/guard.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/platform.h"
#include "toolkit/spin_edit.h"
#include "test_routine.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
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
    void ProcessMessages() override
    {
        QCoreApplication::processEvents();
        Advance(0);
        if (onMessages)
            onMessages();
    }
    void Sleep(int ms) override { sleeps.push_back(ms), m_now += ms; }
    std::unique_ptr<toolkit::TimerBackend> CreateTimer(std::function<void()> onTick) override
    {
        return std::make_unique<Timer>(*this, std::move(onTick));
    }
    QRect AvailableArea(const QWidget &) override { return availableArea; }
    /// Moves the clock on and fires the timers that fall due.
    void Advance(long long ms)
    {
        m_now += ms;
        // A tick may stop, restart or delete timers; take the due ones first.
        std::vector<Timer *> due;
        std::copy_if(m_timers.begin(), m_timers.end(), std::back_inserter(due),
                     [this](Timer *t) { return t->active && t->deadline <= m_now; });
        for (Timer *t : due)
            if (std::find(m_timers.begin(), m_timers.end(), t) != m_timers.end() && t->active) {
                t->deadline = m_now + std::max(1, t->interval);
                t->onTick();
            }
    }

    std::vector<int> sleeps;
    std::function<void()> onMessages;
    /// The screen's room for windows: a desktop of 1920 by 1080 with a panel
    /// of 40 pixels along its top, unless a test chooses a smaller one.
    QRect availableArea{0, 40, 1920, 1040};

private:
    struct Timer : toolkit::TimerBackend {
        FakePlatform &platform;
        std::function<void()> onTick;
        bool active = false;
        int interval = 0;
        long long deadline = 0;
        Timer(FakePlatform &p, std::function<void()> tick) : platform(p), onTick(std::move(tick)) { p.m_timers.push_back(this); }
        ~Timer() override { std::erase(platform.m_timers, this); }
        void Start(int intervalMs) override { active = true, interval = intervalMs, deadline = platform.m_now + intervalMs; }
        void Stop() override { active = false; }
        bool Active() const override { return active; }
    };
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
    bool Confirm(const std::string &text) override
    {
        shown.push_back("confirm: " + text);
        return Next(confirmAnswers, false);
    }
    void Error(const std::string &text) override { shown.push_back("error: " + text); }
    void ShowException(const std::string &text) override
    {
        if (onException)
            onException(text);
        shown.push_back("exception: " + text);
    }
    std::optional<std::string> OpenFile(const toolkit::FileDialogSpec &dialog) override { return File("open", dialog, openAnswers); }
    std::optional<std::string> SaveFile(const toolkit::FileDialogSpec &dialog) override { return File("save", dialog, saveAnswers); }
    int ShowModal(toolkit::StringEntry &entry) override
    {
        shown.push_back("entry: " + entry.Prompt());
        const std::optional<std::string> text = Next(entryAnswers, {});
        if (text)
            entry.SetTheText(*text);
        return text ? toolkit::kModalResultOk : toolkit::kModalResultCancel;
    }
    int ShowChoice(toolkit::ItemChoice &choice) override
    {
        shown.push_back("choice");
        return onChoice ? onChoice(choice) : toolkit::kModalResultCancel;
    }

    std::vector<std::string> shown;  // every line written down, in order
    /// Only the texts of the boxes of one kind ("error", "exception", "confirm").
    std::vector<std::string> Of(const std::string &kind) const
    {
        std::vector<std::string> out;
        for (const auto &line : shown)
            if (line.starts_with(kind + ": "))
                out.push_back(line.substr(kind.size() + 2));
        return out;
    }

    toolkit::FileDialogSpec lastFileSpec;  // what the latest open or save dialog was asked
    std::deque<bool> confirmAnswers;
    /// A string entry's answer is typed into it and confirmed with OK.
    std::deque<std::optional<std::string>> openAnswers, saveAnswers, entryAnswers;
    std::function<int(toolkit::ItemChoice &)> onChoice;
    std::function<void(const std::string &)> onException;  // as an exception box is shown, before it is written down

private:
    /// Takes the next scripted answer, or the refusal when none is left.
    template <class T> static T Next(std::deque<T> &answers, T refusal)
    {
        if (answers.empty())
            return refusal;
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> File(const char *kind, const toolkit::FileDialogSpec &dialog,
                                    std::deque<std::optional<std::string>> &answers)
    {
        lastFileSpec = dialog;
        shown.push_back(kind);
        return Next(answers, {});
    }
};

/// The image of TestMoves(moves, frames).
inline std::string RoutineBytes(int moves, int frames) { return EncodeRoutine(TestMoves(moves, frames)); }

/// The real main window, shown offscreen, on virtual time, with scripted
/// dialogs and its settings in a temporary folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Reopen(TempPath("hooferedit.ini"));
    }
    void TearDown() override
    {
        if (window)
            window->Core.MarkSaved(), window.reset();
        QApplication::processEvents();
    }

    /// Replaces the window with a new one; the old one ends without a close, as a crash would.
    void Reopen(SettingsLocation settings, const std::string &recoveryFolder = "", const std::string &startupFile = "")
    {
        window.reset();
        window = std::make_unique<TfrmHoofer>(platform, &dialogs, settings, nullptr, recoveryFolder);
        window->SetStartupFile(startupFile);
        window->show();
        QApplication::processEvents();
    }
    /// Loads a routine through File > Load, as a user would.
    void LoadData(const std::string &bytes)
    {
        const std::string path = TempPath("routine" + std::to_string(++m_loaded) + ".raw");
        WriteBytes(path, bytes);
        LoadFile(path);
    }
    void LoadFile(const std::string &path)
    {
        dialogs.openAnswers.push_back(path);
        Click(window->mnuFileLoad);
    }
    /// A path in the test's own temporary folder.
    std::string TempPath(const std::string &name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }
    /// Clicks a menu item as the menu does: nothing happens while it is
    /// disabled, and an exception ends in the standard box.
    void Click(toolkit::TMenuItem *item)
    {
        ASSERT_NE(item, nullptr);
        toolkit::RunGuarded([item] { item->Click(); });
    }

    QTemporaryDir dir;
    FakePlatform platform;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmHoofer> window;

private:
    int m_loaded = 0;
};

} // namespace hoofer::test
