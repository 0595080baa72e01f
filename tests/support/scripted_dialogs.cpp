#include "scripted_dialogs.h"

namespace hoofer::test {

bool ScriptedDialogs::Confirm(const std::string &text)
{
    shown.push_back("confirm: " + text);
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::Error(const std::string &text) { shown.push_back("error: " + text); }

void ScriptedDialogs::ShowException(const std::string &text)
{
    if (onException)
        onException(text);
    shown.push_back("exception: " + text);
}

std::optional<std::string> ScriptedDialogs::OpenFile(const toolkit::FileDialogSpec &request)
{
    shown.push_back("open");
    lastOpenSpec = request;
    if (openAnswers.empty())
        return std::nullopt;
    auto answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::SaveFile(const toolkit::FileDialogSpec &request)
{
    shown.push_back("save");
    lastSaveSpec = request;
    if (saveAnswers.empty())
        return std::nullopt;
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

int ScriptedDialogs::ShowModal(toolkit::StringEntry &entry)
{
    shown.push_back("entry: " + entry.Prompt());
    if (entryAnswers.empty())
        return 2;
    auto answer = std::move(entryAnswers.front());
    entryAnswers.pop_front();
    return answer(entry);
}

std::vector<std::string> ScriptedDialogs::Of(const std::string &kind) const
{
    std::vector<std::string> out;
    const std::string prefix = kind + ": ";
    for (const auto &line : shown)
        if (line.starts_with(prefix))
            out.push_back(line.substr(prefix.size()));
    return out;
}

void ScriptedDialogs::AnswerEntry(const std::string &text)
{
    entryAnswers.push_back([text](toolkit::StringEntry &entry) {
        entry.SetTheText(text);
        return 1;
    });
}

void ScriptedDialogs::CancelEntry()
{
    entryAnswers.push_back([](toolkit::StringEntry &) { return 2; });
}

} // namespace hoofer::test
