// The routine's history against text documents: each command swaps a string.
#include "edit/edit_history.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace hoofer;

namespace {
/// Sets the text to `after`; id 1 commands merge (a nudge run).
class SetText : public EditCommand {
public:
    SetText(std::string &text, std::string after, int id = 0, std::size_t cost = 1)
        : EditCommand(after, {id, 1, 0}, {id, 2, 0}), text_(text), before_(text),
          after_(std::move(after)), id_(id), cost_(cost) {}
    void Redo() override { text_ = after_; }
    void Undo() override { text_ = before_; }
    std::size_t Cost() const override { return cost_; }
    int Id() const override { return id_; }
    bool MergeWith(const EditCommand &next) override
    {
        after_ = static_cast<const SetText &>(next).after_;
        cost_ += next.Cost();
        return true;
    }

private:
    std::string &text_;
    std::string before_, after_;
    int id_;
    std::size_t cost_;
};

struct Doc {
    std::string text = "0";
    EditHistory history;
    Doc(std::size_t entries = kHistoryEntryLimit, std::size_t bytes = kHistoryByteLimit)
        : history(entries, bytes) {}
    void Push(const std::string &t, int id = 0, std::size_t cost = 1)
    {
        history.Push(std::make_unique<SetText>(text, t, id, cost));
    }
};
} // namespace

TEST(EditHistory, UndoesAndRedoesInOrderAndANewChangeDropsTheRedoable)
{
    Doc d;
    EXPECT_EQ(d.history.Undo(), nullptr);
    EXPECT_EQ(d.history.Redo(), nullptr);
    EXPECT_EQ(d.history.UndoLabel(), "");
    d.Push("a");
    d.Push("b");
    d.Push("c");
    EXPECT_EQ(d.text, "c");
    EXPECT_EQ(d.history.UndoLabel(), "c");
    EXPECT_EQ(d.history.Undo()->Label(), "c");
    EXPECT_EQ(d.history.Undo()->SelectionBefore(), (EditSelection{0, 1, 0}));
    EXPECT_EQ(d.text, "a");
    EXPECT_EQ(d.history.RedoLabel(), "b");
    EXPECT_EQ(d.history.Redo()->SelectionAfter(), (EditSelection{0, 2, 0}));
    EXPECT_EQ(d.text, "b");
    d.Push("x");  // drops "c"
    EXPECT_FALSE(d.history.CanRedo());
    EXPECT_EQ(d.history.Count(), 3u);
    d.history.Undo();
    d.history.Undo();
    d.history.Undo();
    EXPECT_EQ(d.text, "0");
    EXPECT_FALSE(d.history.CanUndo());
    // Record keeps a change already made without doing it again.
    std::string live = "dragged";
    d.history.Record(std::make_unique<SetText>(live, "ignored"));
    EXPECT_EQ(live, "dragged");
    EXPECT_EQ(d.history.Count(), 1u);
    d.history.Clear();
    EXPECT_TRUE(d.history.IsClean());
    EXPECT_EQ(d.history.Count() + d.history.Cost(), 0u);
}

TEST(EditHistory, MergesARunOfTheSameIdButNotAcrossTheCleanIndex)
{
    Doc d;
    d.Push("a");
    d.Push("n1", 1, 10);
    d.Push("n2", 1, 10);
    d.Push("n3", 1, 10);
    EXPECT_EQ(d.history.Count(), 2u);
    EXPECT_EQ(d.history.Cost(), 31u);
    EXPECT_EQ(d.history.UndoLabel(), "n1");  // the run keeps its first name
    d.history.SetClean();
    d.Push("n4", 1);  // a new entry: one Undo must reach the clean state
    EXPECT_EQ(d.history.Count(), 3u);
    d.history.Undo();
    EXPECT_TRUE(d.history.IsClean());
    d.history.Undo();
    EXPECT_EQ(d.text, "a");
}

TEST(EditHistory, CleanFollowsTheIndexUntilItsEntriesAreDropped)
{
    Doc d(3, 100);
    int reports = 0;
    d.history.SetObserver([&] { ++reports; });
    EXPECT_TRUE(d.history.IsClean());
    d.Push("a");
    d.Push("b");
    d.history.SetClean();
    EXPECT_EQ(reports, 3);  // undo on, label changed, clean
    d.Push("c");
    EXPECT_FALSE(d.history.IsClean());
    d.history.Undo();
    EXPECT_TRUE(d.history.IsClean());
    d.history.Undo();
    EXPECT_FALSE(d.history.IsClean());
    d.history.Redo();
    EXPECT_TRUE(d.history.IsClean());
    d.history.SetClean();  // no change, no report
    const int before = reports;
    d.history.SetClean();
    EXPECT_EQ(reports, before);
    // Dropped as redoable: undo to "a", change, and "b" is never clean again.
    d.history.Undo();
    d.Push("y");
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(d.history.IsClean());
        d.history.Undo();
    }
    EXPECT_FALSE(d.history.IsClean());
    // Dropped as oldest by the entry limit, and by the byte limit.
    struct Case { std::size_t push; std::size_t cost; } cases[] = {{3, 1}, {1, 100}};
    for (const Case &c : cases) {
        Doc e(3, 100);
        e.history.SetClean();
        e.Push("a", 0, 1);
        for (std::size_t i = 0; i < c.push; ++i)
            e.Push("z" + std::to_string(i), 0, c.cost);
        while (e.history.Undo()) EXPECT_FALSE(e.history.IsClean());
        EXPECT_EQ(e.text, "a") << c.push;  // the oldest went first
    }
}

TEST(EditHistory, KeepsAtMostTheLimitsDroppingTheOldestButNeverTheNewest)
{
    Doc d(1000, 32 << 20);
    for (int i = 0; i < 1005; ++i)
        d.Push(std::to_string(i), 0, 1000);
    EXPECT_EQ(d.history.Count(), 1000u);
    Doc m(1000, 32 << 20);
    for (int i = 0; i < 40; ++i)
        m.Push(std::to_string(i), 0, 1 << 20);
    EXPECT_EQ(m.history.Count(), 32u);
    EXPECT_EQ(m.history.Cost(), std::size_t{32} << 20);
    while (m.history.Undo()) {}
    EXPECT_EQ(m.text, "7");
    m.Push("huge", 0, 64 << 20);
    EXPECT_EQ(m.history.Count(), 1u);
    m.history.Undo();
    EXPECT_EQ(m.text, "7");
}

TEST(EditHistory, ARandomSequenceMatchesAModelOfWholeStates)
{
    constexpr std::size_t kLimit = 6;
    Doc d(kLimit, 1 << 20);
    std::vector<std::string> states{"0"};  // states[i] is reached after i entries
    std::vector<bool> nudge{false};        // whether the entry to state i merges
    std::size_t at = 0;
    long clean = 0;
    std::mt19937 random(27);
    for (int step = 0; step < 3000; ++step) {
        const int op = random() % 6;
        const std::string text = std::to_string(step);
        if (op <= 1) {  // a change, op 1 a nudge
            d.Push(text, op);
            states.resize(at + 1);
            nudge.resize(at + 1);
            if (clean > long(at)) clean = -1;
            if (op == 1 && at > 0 && nudge[at] && clean != long(at)) {
                states[at] = text;
            } else {
                states.push_back(text);
                nudge.push_back(op == 1);
                if (++at > kLimit) {
                    states.erase(states.begin());
                    nudge.erase(nudge.begin());
                    --at;
                    clean = clean > 0 ? clean - 1 : -1;
                }
            }
        } else if (op == 2 || op == 3) {
            EXPECT_EQ(d.history.Undo() != nullptr, at > 0);
            at -= at > 0;
        } else if (op == 4) {
            EXPECT_EQ(d.history.Redo() != nullptr, at + 1 < states.size());
            at += at + 1 < states.size();
        } else if (random() % 4 == 0) {
            d.history.SetClean();
            clean = long(at);
        }
        ASSERT_EQ(d.text, states[at]) << step;
        ASSERT_EQ(d.history.IsClean(), clean == long(at)) << step;
        ASSERT_EQ(d.history.Count() + 1, states.size()) << step;
    }
}
