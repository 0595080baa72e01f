#pragma once
// The check of the fuzz targets. Each target defines CheckInput; a broken
// rule throws a BrokenRule naming the rule and its place, which the libFuzzer
// entry point (fuzz_entry.cpp) turns into a crash and the replay tests into a
// failure naming the input.

#include <cstddef>
#include <cstdint>
#include <string>

namespace hoofer::fuzz {

/// "file:line: check failed: rule". Not a std::exception, so that no handler
/// of the code under test or of a target takes it for one of its own.
struct BrokenRule {
    std::string what;
};

/// The target's checks on one input; throws BrokenRule.
void CheckInput(const uint8_t *data, size_t size);

/// Runs CheckInput: "" when every rule held, else the rule broken (or the
/// exception that escaped).
std::string BrokenRuleOf(const uint8_t *data, size_t size);

} // namespace hoofer::fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            throw ::hoofer::fuzz::BrokenRule{std::string(__FILE__) + ":" + std::to_string(__LINE__) \
                                             + ": check failed: " #condition};                     \
    } while (false)
