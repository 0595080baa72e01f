// Two-bone limbs for posing: a pinned hand or foot stays put while the body
// moves, and a hand or an ankle dragged to a place bends its elbow or knee to
// suit. Pure arithmetic on points.
#include "limb_reach.h"

#include "edit/grid_snap.h"

#include <algorithm>
#include <cmath>

namespace hoofer {

namespace {

int RoundAndClamp(double value)
{
    return std::clamp(static_cast<int>(std::lround(value)), 0, kMaxCoordinate);
}

double Distance(TPoint a, TPoint b)
{
    return std::hypot(b.X - a.X, b.Y - a.Y);
}

/// 1 when b lies anticlockwise of the line from a towards c, -1 clockwise, 0 on it.
int SideOf(TPoint a, TPoint b, TPoint c)
{
    const long long cross = static_cast<long long>(c.X - a.X) * (b.Y - a.Y)
                            - static_cast<long long>(c.Y - a.Y) * (b.X - a.X);
    return cross > 0 ? 1 : cross < 0 ? -1 : 0;
}

bool Inside(double x, double y)
{
    return std::lround(x) >= 0 && std::lround(x) <= kMaxCoordinate && std::lround(y) >= 0
           && std::lround(y) <= kMaxCoordinate;
}

} // namespace

std::optional<Limb> LimbEndingAt(int part)
{
    switch (part) {
    case 3: return Limb{1, 2, 3, 0};
    case 5: return Limb{1, 4, 5, 0};
    case 8: return Limb{6, 7, 8, 9};
    case 11: return Limb{6, 10, 11, 12};
    default: return std::nullopt;
    }
}

int PinnableEnd(int part)
{
    switch (part) {
    case 3:
    case 5:
    case 8:
    case 11: return part;
    case 9:
    case 12: return part - 1;  // a Foot is pinned by its Ankle
    default: return 0;
    }
}

TwoBonePlacement SolveTwoBone(double rootX, double rootY, double upper, double lower, double targetX, double targetY,
                              int side, double fallbackX, double fallbackY)
{
    double dx = targetX - rootX, dy = targetY - rootY;
    double reach = std::hypot(dx, dy);
    if (reach < 1e-9) {
        dx = fallbackX, dy = fallbackY;
        reach = std::max(std::hypot(dx, dy), 1e-9);
        if (std::hypot(dx, dy) < 1e-9)
            dx = 1, dy = 0, reach = 1;
    }
    const double ux = dx / reach, uy = dy / reach;
    // The end lies within |upper - lower| .. upper + lower of the root.
    const double d = std::clamp(std::hypot(targetX - rootX, targetY - rootY), std::abs(upper - lower), upper + lower);
    // The angle at the root between the line to the end and the upper bone.
    double cosine = upper > 0 && d > 0 ? (upper * upper + d * d - lower * lower) / (2 * upper * d) : 1;
    cosine = std::clamp(cosine, -1.0, 1.0);
    const double sine = side * std::sqrt(1 - cosine * cosine);
    const double jx = ux * cosine - uy * sine, jy = ux * sine + uy * cosine;
    return {rootX + upper * jx, rootY + upper * jy, rootX + d * ux, rootY + d * uy};
}

PosePoints ReachWith(const PosePoints &pressed, const PosePoints &posed, int end, TPoint target)
{
    const std::optional<Limb> limb = LimbEndingAt(end);
    if (!limb)
        return posed;
    const TPoint root = pressed[limb->root - 1], joint = pressed[limb->joint - 1], tip = pressed[limb->end - 1];
    const TPoint from = posed[limb->root - 1];
    const double upper = Distance(root, joint), lower = Distance(joint, tip);
    // The side the joint bends to at the press; a straight leg bends towards
    // where its foot points (a knee goes forward), a straight arm anticlockwise.
    int side = SideOf(root, joint, tip);
    if (side == 0 && limb->follower != 0) {
        const TPoint foot = pressed[limb->follower - 1];
        side = SideOf(root, TPoint{root.X + foot.X - tip.X, root.Y + foot.Y - tip.Y}, tip);
    }
    side = side == 0 ? 1 : side;
    const auto solve = [&](TPoint to) {
        TwoBonePlacement placed =
            SolveTwoBone(from.X, from.Y, upper, lower, to.X, to.Y, side, tip.X - root.X, tip.Y - root.Y);
        // A joint that would leave the point space bends to the other side instead.
        if (!Inside(placed.jointX, placed.jointY)) {
            const TwoBonePlacement mirrored =
                SolveTwoBone(from.X, from.Y, upper, lower, to.X, to.Y, -side, tip.X - root.X, tip.Y - root.Y);
            if (Inside(mirrored.jointX, mirrored.jointY))
                placed = mirrored;
        }
        return placed;
    };
    TwoBonePlacement placed = solve(target);
    TPoint newEnd = target;
    if (std::hypot(placed.endX - target.X, placed.endY - target.Y) > 1e-6) {
        // Out of reach: the end goes to the whole point nearest the limb's
        // tip that the limb reaches, so that only the joint is rounded and
        // both bones keep their length within a point.
        newEnd = {RoundAndClamp(placed.endX), RoundAndClamp(placed.endY)};
        double nearest = -1;
        for (const double x : {std::floor(placed.endX), std::ceil(placed.endX)})
            for (const double y : {std::floor(placed.endY), std::ceil(placed.endY)}) {
                const double d = std::hypot(x - from.X, y - from.Y), off = std::hypot(x - placed.endX, y - placed.endY);
                if (d <= upper + lower && d >= std::abs(upper - lower) && (nearest < 0 || off < nearest))
                    nearest = off, newEnd = {RoundAndClamp(x), RoundAndClamp(y)};
            }
        placed = solve(newEnd);
        if (nearest < 0)  // none reachable (folded): where the solution puts it
            newEnd = {RoundAndClamp(placed.endX), RoundAndClamp(placed.endY)};
    }
    PosePoints pose = posed;
    pose[limb->joint - 1] = {RoundAndClamp(placed.jointX), RoundAndClamp(placed.jointY)};
    pose[limb->end - 1] = newEnd;
    if (limb->follower != 0) {
        const TPoint foot = pressed[limb->follower - 1];
        pose[limb->follower - 1] = {std::clamp(foot.X + newEnd.X - tip.X, 0, kMaxCoordinate),
                                    std::clamp(foot.Y + newEnd.Y - tip.Y, 0, kMaxCoordinate)};
    }
    return pose;
}

PosePoints KeepPinned(const PosePoints &pressed, PosePoints posed, const PinnedEnds &pins)
{
    for (const int end : {3, 5, 8, 11}) {
        const Limb limb = *LimbEndingAt(end);
        // A limb the body did not move keeps its joint to the point.
        if (!pins.test(static_cast<size_t>(end))
            || (posed[limb.root - 1] == pressed[limb.root - 1] && posed[end - 1] == pressed[end - 1]))
            continue;
        posed = ReachWith(pressed, posed, end, pressed[end - 1]);
    }
    return posed;
}

PosePoints DragWithLimbs(const PosePoints &pressed, int part, int x, int y, bool snap, int grid,
                         const PinnedEnds &pins, bool reach)
{
    if (reach && LimbEndingAt(part))
        return ReachWith(pressed, pressed, part,
                         {SnapCoordinate(x, snap, grid), SnapCoordinate(y, snap, grid)});
    if (part == 1 && pins.any()) {
        // The pinned limbs are placed again: they hold no offset back at the edge.
        PartSet placedAfter;
        for (const int end : {3, 5, 8, 11})
            if (const auto limb = LimbEndingAt(end); pins.test(static_cast<size_t>(end)))
                placedAfter.set(limb->joint).set(limb->end).set(limb->follower);
        placedAfter.reset(0);
        return KeepPinned(pressed, Skeleton::MoveFigureTo(pressed, x, y, snap, grid, placedAfter), pins);
    }
    const PosePoints posed = Skeleton::Drag(pressed, part, x, y, snap, grid);
    return part == 6 ? KeepPinned(pressed, posed, pins) : posed;
}

} // namespace hoofer
