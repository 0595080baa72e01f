#include "window_fixture.h"

#include "model/routine_codec.h"
#include "test_routine.h"
#include "toolkit/guard.h"

#include <QApplication>

#include <fstream>

namespace hoofer::test {

namespace {
/// Takes the next scripted answer, or the refusal when none is left.
template <class T> T Next(std::deque<T> &answers, T refusal)
{
    if (answers.empty())
        return refusal;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}
} // namespace

struct FakePlatform::Timer : toolkit::TimerBackend {
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

void FakePlatform::ProcessMessages()
{
    QCoreApplication::processEvents();
    Advance(0);
    if (onMessages)
        onMessages();
}

std::unique_ptr<toolkit::TimerBackend> FakePlatform::CreateTimer(std::function<void()> onTick)
{
    return std::make_unique<Timer>(*this, std::move(onTick));
}

void FakePlatform::Advance(long long ms)
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

bool ScriptedDialogs::Confirm(const std::string &text)
{
    shown.push_back("confirm: " + text);
    return Next(confirmAnswers, false);
}

void ScriptedDialogs::ShowException(const std::string &text)
{
    if (onException)
        onException(text);
    shown.push_back("exception: " + text);
}

std::optional<std::string> ScriptedDialogs::OpenFile(const toolkit::FileDialogSpec &request)
{
    lastOpenSpec = request;
    shown.push_back("open");
    return Next(openAnswers, {});
}

std::optional<std::string> ScriptedDialogs::SaveFile(const toolkit::FileDialogSpec &request)
{
    lastSaveSpec = request;
    shown.push_back("save");
    return Next(saveAnswers, {});
}

int ScriptedDialogs::ShowModal(toolkit::StringEntry &entry)
{
    shown.push_back("entry: " + entry.Prompt());
    const std::optional<std::string> text = Next(entryAnswers, {});
    if (text)
        entry.SetTheText(*text);
    return text ? toolkit::kModalResultOk : toolkit::kModalResultCancel;
}

int ScriptedDialogs::ShowChoice(toolkit::ItemChoice &choice)
{
    shown.push_back("choice");
    return onChoice ? onChoice(choice) : toolkit::kModalResultCancel;
}

std::vector<std::string> ScriptedDialogs::Of(const std::string &kind) const
{
    std::vector<std::string> out;
    for (const auto &line : shown)
        if (line.starts_with(kind + ": "))
            out.push_back(line.substr(kind.size() + 2));
    return out;
}

std::string TestData(const std::string &name) { return FileBytes(std::string(HOOFER_TEST_DATA) + "/" + name); }

void WriteBytes(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string RoutineBytes(int moves, int frames) { return EncodeRoutine(TestMoves(moves, frames)); }

void WindowTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    Reopen(TempPath("hooferedit.ini"));
}

void WindowTest::Reopen(SettingsLocation settings, const std::string &recoveryFolder, const std::string &startupFile)
{
    window.reset();
    window = std::make_unique<TfrmHoofer>(platform, &dialogs, settings, nullptr, recoveryFolder);
    window->SetStartupFile(startupFile);
    window->show();
    QApplication::processEvents();
}

void WindowTest::TearDown()
{
    if (window)
        window->Core.MarkSaved(), window.reset();
    QApplication::processEvents();
}

std::string WindowTest::TempPath(const std::string &n) const { return dir.filePath(QString::fromStdString(n)).toStdString(); }

void WindowTest::LoadFile(const std::string &path)
{
    dialogs.openAnswers.push_back(path);
    Click(window->mnuFileLoad);
}

void WindowTest::LoadData(const std::string &bytes)
{
    static int counter = 0;
    const std::string path = TempPath("routine" + std::to_string(++counter) + ".raw");
    WriteBytes(path, bytes);
    LoadFile(path);
}

void WindowTest::Click(toolkit::TMenuItem *item)
{
    ASSERT_NE(item, nullptr);
    toolkit::RunGuarded([item] { item->Click(); });  // as the menu runs it: an exception ends in the standard box
}

} // namespace hoofer::test
