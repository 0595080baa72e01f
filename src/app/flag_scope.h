#pragma once

namespace hoofer {

/// Sets a flag for as long as it lives and clears it however the scope ends
/// (UpdatingControls while the program loads the X and Y boxes, the device
/// commands' busy flag while a transfer runs).
class FlagScope {
public:
    explicit FlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
};

} // namespace hoofer
