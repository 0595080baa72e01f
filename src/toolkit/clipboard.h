#pragma once

#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hoofer::toolkit {

/// The desktop's clipboard as the editor uses it: data of its own types
/// together with a text form, put there at once, so that another window of
/// the editor reads the data exactly and any other program the text.
class Clipboard {
public:
    /// One type's bytes.
    struct Form {
        std::string mimeType;
        std::string bytes;
    };

    /// Puts the forms and the text (UTF-8) on the clipboard, replacing what it held.
    static void Put(const std::vector<Form> &forms, const std::string &text);
    /// Whether the clipboard holds a type, without fetching its bytes.
    static bool Has(const std::string &mimeType);
    /// The bytes of a type, when the clipboard holds it.
    static std::optional<std::string> Data(const std::string &mimeType);
    /// The clipboard's text in UTF-8, when it holds text.
    static std::optional<std::string> Text();
    /// Runs changed whenever the clipboard's content changes, for as long as
    /// context lives.
    static void WhenChanged(QObject *context, std::function<void()> changed);
};

} // namespace hoofer::toolkit
