// Every input of one fuzz corpus (fuzz/corpus/<target>) through its target's
// checks: the inputs that found faults, and the seeds, stay checked by the
// ordinary suite, and a broken rule fails naming the input.
#include "fuzz_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

TEST(HOOFER_FUZZ_SUITE, EveryInputKeepsTheRules)
{
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(HOOFER_FUZZ_CORPUS))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    EXPECT_FALSE(files.empty());
    for (const auto &file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string broken =
            hoofer::fuzz::BrokenRuleOf(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        if (!broken.empty())
            ADD_FAILURE() << file.filename().string() << ": " << broken;
    }
}
