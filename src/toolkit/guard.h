#pragma once

#include <functional>
#include <string>

namespace hoofer::toolkit {

/// Runs a handler that the user started (a click, a key, a mouse event). An
/// exception must never escape into Qt's event loop: it ends that handler only
/// and its message goes to the reporter set by the window (the standard
/// exception box). Handlers that the program itself runs, nested inside
/// another handler, are called directly so their exceptions travel up to the
/// outer handler as they would in any other call.
void RunGuarded(const std::function<void()> &handler);

/// Sets who shows an exception's message; without one it goes to stderr.
void SetExceptionReporter(std::function<void(const std::string &)> reporter);

} // namespace hoofer::toolkit
