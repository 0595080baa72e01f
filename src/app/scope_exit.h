#pragma once

#include <utility>

namespace hoofer {

/// Runs an action when it goes out of scope, however the scope ends (playback
/// gives editing back whether the pass ended or raised).
template<typename Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit &) = delete;
    ScopeExit &operator=(const ScopeExit &) = delete;

private:
    Action m_action;
};

} // namespace hoofer
