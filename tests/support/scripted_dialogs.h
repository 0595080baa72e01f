#pragma once

#include "toolkit/dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hoofer::test {

/// The dialogs as a script: every question takes the next scripted answer
/// (or a refusal when none is left), and everything shown is written down as
/// "confirm: …", "error: …", "exception: …", "open", "save", "entry: prompt".
class ScriptedDialogs : public toolkit::Dialogs {
public:
    bool Confirm(const std::string &text) override;
    void Error(const std::string &text) override;
    void ShowException(const std::string &text) override;
    std::optional<std::string> OpenFile(const toolkit::FileDialogSpec &request) override;
    std::optional<std::string> SaveFile(const toolkit::FileDialogSpec &request) override;
    int ShowModal(toolkit::StringEntry &entry) override;

    /// Every line written down, in order.
    std::vector<std::string> shown;
    /// Only the texts of the boxes of one kind ("error", "exception", "confirm").
    std::vector<std::string> Of(const std::string &kind) const;

    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    /// Each answers one string entry: set the text and return the result.
    std::deque<std::function<int(toolkit::StringEntry &)>> entryAnswers;
    /// Called as an exception box is shown, before it is written down.
    std::function<void(const std::string &)> onException;
    /// Answers the entry with text and OK.
    void AnswerEntry(const std::string &text);
    void CancelEntry();

    toolkit::FileDialogSpec lastOpenSpec;
    toolkit::FileDialogSpec lastSaveSpec;
};

} // namespace hoofer::test
