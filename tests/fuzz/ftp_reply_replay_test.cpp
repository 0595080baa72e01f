// Every input of fuzz/corpus/ftp_reply through the fuzz target of the FTP reply reader.
#include "corpus_replay.h"

#include <gtest/gtest.h>

TEST(FtpReplyCorpus, EveryInputKeepsTheRules)
{
    EXPECT_GT(hoofer::test::ReplayCorpus(HOOFER_FUZZ_CORPUS), 0u);
}
