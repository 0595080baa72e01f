#include "guard.h"

#include <cstdio>
#include <exception>

namespace hoofer::toolkit {

namespace {
std::function<void(const std::string &)> &Reporter()
{
    static std::function<void(const std::string &)> reporter;
    return reporter;
}
} // namespace

void SetExceptionReporter(std::function<void(const std::string &)> reporter)
{
    Reporter() = std::move(reporter);
}

void RunGuarded(const std::function<void()> &handler)
{
    if (!handler)
        return;
    std::string message;
    try {
        handler();
        return;
    } catch (const std::exception &e) {
        message = e.what();
    } catch (...) {
        message = "An unknown error occurred.";
    }
    try {
        if (Reporter())
            Reporter()(message);
        else
            std::fprintf(stderr, "%s\n", message.c_str());
    } catch (...) {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
}

} // namespace hoofer::toolkit
