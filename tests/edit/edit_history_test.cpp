// The routine's history against a text document: each command swaps a string.
#include "edit/edit_history.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

using namespace hoofer;

namespace {
/// Sets the text to `after`; commands of id 1 merge (a nudge run).
class SetText : public EditCommand {
public:
    SetText(std::string &text, std::string after, int id = 0, std::size_t cost = 1)
        : EditCommand(after, {id, 1, 0}, {id, 2, int(cost)}), m_text(text), m_before(text),
          m_after(std::move(after)), m_id(id), m_cost(cost) {}
    void Redo() override { m_text = m_after; }
    void Undo() override { m_text = m_before; }
    std::size_t Cost() const override { return m_cost; }
    int Id() const override { return m_id; }
    bool MergeWith(const EditCommand &next) override
    {
        m_after = static_cast<const SetText &>(next).m_after;
        m_cost += next.Cost();
        return true;
    }

private:
    std::string &m_text;
    std::string m_before, m_after;
    int m_id;
    std::size_t m_cost;
};
} // namespace

TEST(EditHistory, UndoAndRedoWalkTheEntriesWithTheirLabelsAndSelections)
{
    std::string text = "0";
    EditHistory h;
    EXPECT_EQ(h.Undo(), nullptr);
    EXPECT_EQ(h.Redo(), nullptr);
    h.Push(std::make_unique<SetText>(text, "a"));
    h.Push(std::make_unique<SetText>(text, "b", 1));
    h.Push(std::make_unique<SetText>(text, "c", 1, 5));  // merged into "b"
    EXPECT_EQ(h.UndoLabel(), "b");
    EXPECT_EQ(h.Undo()->SelectionBefore(), (EditSelection{1, 1, 0}));
    EXPECT_EQ(text, "a");
    EXPECT_EQ(h.RedoLabel(), "b");
    EXPECT_EQ(h.Redo()->SelectionAfter(), (EditSelection{1, 2, 5}));
    EXPECT_EQ(text, "c");
}

TEST(EditHistory, TheObserverHearsOnlyOfAChangeInWhatTheMenuShows)
{
    std::string text = "0";
    EditHistory h;
    int reports = 0;
    h.SetObserver([&] { ++reports; });
    h.Push(std::make_unique<SetText>(text, "a", 1));
    h.Push(std::make_unique<SetText>(text, "b", 1));  // merged: the same label
    EXPECT_EQ(reports, 1);
    h.SetClean();
    reports = 0;
    h.SetClean();
    EXPECT_EQ(reports, 0);
    h.Clear();
    EXPECT_EQ(std::tuple(h.IsClean(), h.CanUndo(), h.UndoLabel()), std::tuple(true, false, std::string()));
    EXPECT_EQ(reports, 1);
}

// Against a model that keeps the whole state after each entry, with small
// limits so that merges, the clean index and both limits meet often.
TEST(EditHistory, ARandomSequenceMatchesAModelOfWholeStates)
{
    constexpr std::size_t kEntries = 6, kBytes = 14;
    std::string text = "0";
    EditHistory h(kEntries, kBytes);
    struct State { std::string Text; bool Nudge; std::size_t Cost; };
    std::vector<State> states{{"0", false, 0}};  // states[i] is reached by entry i
    std::size_t at = 0;
    long clean = 0;
    bool open = false;  // nothing but pushes since the newest entry came
    std::vector<State> stash;  // what the newest entry's push dropped
    long stashClean = -1;
    int merges = 0, drops = 0, cleanLost = 0, withdrawals = 0;
    std::mt19937 random(27);
    for (int step = 0; step < 4000; ++step) {
        const int op = random() % 6;
        const std::string t = std::to_string(step);
        if (op <= 1) {  // a change; op 1 is a nudge
            const std::size_t cost = 1 + random() % 4 + (step % 97 == 0 ? kBytes : 0);  // at times past the limit
            h.Push(std::make_unique<SetText>(text, t, op, cost));
            std::vector<State> dropped(states.begin() + long(at) + 1, states.end());
            const long droppedClean = clean > long(at) ? clean - long(at) : -1;
            states.resize(at + 1);
            if (clean > long(at)) clean = -1, ++cleanLost;
            if (op == 1 && open && at > 0 && states[at].Nudge && clean != long(at)) {
                states[at].Text = t;
                states[at].Cost += cost;
                ++merges;
            } else {
                states.push_back({t, op == 1, cost});
                ++at;
                stash = std::move(dropped);
                stashClean = droppedClean;
            }
            auto bytes = [&] {
                return std::accumulate(states.begin(), states.end(), std::size_t{0},
                                       [](std::size_t s, const State &x) { return s + x.Cost; });
            };
            while (states.size() > 2 && (states.size() > kEntries + 1 || bytes() > kBytes)) {
                states.erase(states.begin());
                states.front().Cost = 0;  // the first state is no entry
                --at;
                if (clean == 0) ++cleanLost;
                clean = clean > 0 ? clean - 1 : -1;
                ++drops;
            }
            open = true;
        } else if (op <= 3) {
            EXPECT_EQ(h.Undo() != nullptr, at > 0);
            open = open && at == 0;
            at -= at > 0;
        } else if (op == 4) {
            EXPECT_EQ(h.Redo() != nullptr, at + 1 < states.size());
            open = open && at + 1 == states.size();
            at += at + 1 < states.size();
        } else if (random() % 3 == 0) {
            h.SetClean();
            clean = long(at);
            open = false;
        } else if (random() % 4 == 0) {
            EXPECT_EQ(h.Withdraw(), at > 0);
            if (at > 0) {
                states.resize(at--);
                if (clean > long(at)) clean = -1, ++cleanLost;
                if (open) {
                    states.insert(states.end(), stash.begin(), stash.end());
                    if (stashClean > 0) clean = long(at) + stashClean;
                }
                open = false;
                ++withdrawals;
            }
        }
        ASSERT_EQ(text, states[at].Text) << step;
        ASSERT_EQ(h.IsClean(), clean == long(at)) << step;
        ASSERT_EQ(h.Count() + 1, states.size()) << step;
        ASSERT_EQ(h.CanRedo(), at + 1 < states.size()) << step;
    }
    EXPECT_GT(merges, 100);
    EXPECT_GT(drops, 100);
    EXPECT_GT(cleanLost, 20);
    EXPECT_GT(withdrawals, 20);
}
