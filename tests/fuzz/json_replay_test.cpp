// Every input of fuzz/corpus/json through the fuzz target of the JSON import.
#include "corpus_replay.h"

#include <gtest/gtest.h>

TEST(JsonCorpus, EveryInputKeepsTheRules)
{
    EXPECT_GT(hoofer::test::ReplayCorpus(HOOFER_FUZZ_CORPUS), 0u);
}
