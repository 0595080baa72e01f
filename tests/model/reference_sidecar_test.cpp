// The references' sidecar: what Save writes is what Load gives back, entries
// follow their moves by name, and nothing in the file stops a routine loading.
#include "model/reference_sidecar.h"
#include "test_routine.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace hoofer;
using namespace hoofer::test;

TEST(ReferenceSidecar, ComesBackAsWrittenFilesBesideTheRoutineRelativeAndEntriesFollowTheirNames)
{
    TMoveList moves = TestMoves(3, 1);
    EXPECT_EQ(WriteReferenceSidecar(moves, "/r"), "") << "no references, no sidecar";
    moves[0]->Reference = MoveReference{"/r/clips/wave.mp4", 12.48, 0.75, true, -3, 4.5, 1.25};
    moves[2]->Reference = MoveReference{"/elsewhere/bow.png"};
    const std::string text = WriteReferenceSidecar(moves, "/r");
    EXPECT_NE(text.find("\"file\": \"clips/wave.mp4\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"file\": \"/elsewhere/bow.png\""), std::string::npos) << text;
    EXPECT_EQ(ReferenceSidecarPath("/r/dance.raw"), "/r/dance.raw.reference.json");

    TMoveList reread = TestMoves(3, 1);
    std::swap(reread[0], reread[2]);  // the moves reordered since: each entry finds its name
    EXPECT_TRUE(ApplyReferenceSidecar(text, "/r", reread).empty());
    EXPECT_EQ(reread[2]->Reference, moves[0]->Reference);
    EXPECT_EQ(reread[0]->Reference, moves[2]->Reference);
    EXPECT_FALSE(reread[1]->Reference);
}

TEST(ReferenceSidecar, WhatIsNoSidecarIsRefusedWholeAndABadEntryIsLeftOutOrReadAsItsDefaults)
{
    for (const char *text : {"not json", "[]", "{\"format\": \"other\", \"moves\": []}",
                             "{\"format\": \"hooferedit-reference\", \"moves\": {}}"}) {
        TMoveList moves = TestMoves(1, 1);
        EXPECT_THROW(ApplyReferenceSidecar(text, "/r", moves), std::runtime_error) << text;
        EXPECT_FALSE(moves[0]->Reference) << text;
    }
    TMoveList moves = TestMoves(2, 1);
    const std::vector<std::string> leftOut = ApplyReferenceSidecar(
        R"({"format": "hooferedit-reference", "version": 7, "later": true, "moves": [
            {"move": 0, "name": "Move0", "file": "a.mp4", "start": -5, "opacity": "high", "scale": -2, "mirror": 1},
            {"move": 1, "name": "Move1"},
            {"move": 1, "name": "Gone", "file": "b.mp4"},
            {"move": 0, "name": "Move0", "file": "twice.mp4"}, 7]})",
        "/r", moves);
    EXPECT_EQ(moves[0]->Reference, (MoveReference{"/r/a.mp4", 0, 0.5, false, 0, 0, 1}));
    EXPECT_FALSE(moves[1]->Reference);
    ASSERT_EQ(leftOut.size(), 3u);
    EXPECT_EQ(leftOut[0], "The reference of move \"Move1\" names no file.");
    EXPECT_EQ(leftOut[1], "The reference b.mp4 was left out: no move is named \"Gone\".");
    EXPECT_EQ(leftOut[2], "The reference twice.mp4 was left out: every move named \"Move0\" has one already.");
}
