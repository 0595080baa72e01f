// Every input of fuzz/corpus/settings through the fuzz target of the settings reader.
#include "corpus_replay.h"

#include <gtest/gtest.h>

TEST(SettingsCorpus, EveryInputKeepsTheRules)
{
    EXPECT_GT(hoofer::test::ReplayCorpus(HOOFER_FUZZ_CORPUS), 0u);
}
