// Every input of fuzz/corpus/routine through the fuzz target of the routine reader.
#include "corpus_replay.h"

#include <gtest/gtest.h>

TEST(RoutineCorpus, EveryInputKeepsTheRules)
{
    EXPECT_GT(hoofer::test::ReplayCorpus(HOOFER_FUZZ_CORPUS), 0u);
}
