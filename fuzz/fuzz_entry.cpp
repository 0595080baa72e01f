// The libFuzzer entry point of every target: a broken rule is a crash.
#include "fuzz_check.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace hoofer::fuzz {

std::string BrokenRuleOf(const uint8_t *data, size_t size)
{
    try {
        CheckInput(data, size);
    } catch (const BrokenRule &broken) {
        return broken.what;
    } catch (const std::exception &e) {
        return std::string("exception escaped: ") + e.what();
    }
    return {};
}

} // namespace hoofer::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string broken = hoofer::fuzz::BrokenRuleOf(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
