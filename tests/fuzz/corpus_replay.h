#pragma once
// Runs a fuzz target over every file of its corpus: the inputs that found
// faults, and the seeds, stay checked by the ordinary test suite. A broken
// rule aborts the test program, naming the input just before.

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace hoofer::test {

/// Feeds every regular file under folder to the target, in name order, and
/// returns how many there were.
size_t ReplayCorpus(const std::string &folder);

} // namespace hoofer::test
