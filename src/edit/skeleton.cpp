#include "skeleton.h"

#include "edit/grid_snap.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace hoofer {

namespace {

// The parent of each body part, by number; index 0 is unused.
constexpr int kParents[kPartCount + 1] = {0, 0, 1, 2, 1, 4, 1, 6, 7, 8, 6, 10, 11};

int RoundAndClamp(double value)
{
    return std::clamp(static_cast<int>(std::lround(value)), 0, kMaxCoordinate);
}

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

int Skeleton::Parent(int part)
{
    return part >= 1 && part <= kPartCount ? kParents[part] : 0;
}

bool Skeleton::HangsFrom(int part, int ancestor)
{
    for (int p = Parent(part); p != 0; p = Parent(p))
        if (p == ancestor)
            return true;
    return false;
}

PosePoints Skeleton::TurnLimb(const PosePoints &pressed, int part, double degrees)
{
    PosePoints pose = pressed;
    const int parent = Parent(part);
    if (parent == 0)
        return pose;
    const TPoint pivot = pressed[parent - 1];
    const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
    for (int p = 1; p <= kPartCount; ++p) {
        if (p != part && !HangsFrom(p, part))
            continue;
        // Point space has Y growing upward, so a positive angle turns
        // anticlockwise on screen.
        const double dx = pressed[p - 1].X - pivot.X, dy = pressed[p - 1].Y - pivot.Y;
        pose[p - 1] = {RoundAndClamp(pivot.X + c * dx - s * dy), RoundAndClamp(pivot.Y + s * dx + c * dy)};
    }
    return pose;
}

PosePoints Skeleton::PointLimbAt(const PosePoints &pressed, int part, int x, int y, bool snap)
{
    const int parent = Parent(part);
    if (parent == 0)
        return pressed;
    const TPoint pivot = pressed[parent - 1], held = pressed[part - 1];
    if (x == pivot.X && y == pivot.Y)
        return pressed;
    const double pointer = std::atan2(y - pivot.Y, x - pivot.X) * 180.0 / std::numbers::pi;
    const double bone = std::atan2(held.Y - pivot.Y, held.X - pivot.X) * 180.0 / std::numbers::pi;
    double direction = pointer;
    if (snap)
        direction = kSnapDegrees * std::round(pointer / kSnapDegrees);
    return TurnLimb(pressed, part, direction - bone);
}

PosePoints Skeleton::ShiftFigure(const PosePoints &pose, int dx, int dy, const PartSet &placedAfter)
{
    int left = kMaxCoordinate, right = 0, bottom = kMaxCoordinate, top = 0;
    for (int part = 1; part <= kPartCount; ++part) {
        if (placedAfter.test(static_cast<size_t>(part)))
            continue;
        const TPoint &p = pose[part - 1];
        left = std::min(left, p.X);
        right = std::max(right, p.X);
        bottom = std::min(bottom, p.Y);
        top = std::max(top, p.Y);
    }
    dx = std::max(std::min(dx, kMaxCoordinate - right), -left);
    dy = std::max(std::min(dy, kMaxCoordinate - top), -bottom);
    PosePoints moved = pose;
    for (TPoint &p : moved)
        p = {p.X + dx, p.Y + dy};
    return moved;
}

PosePoints Skeleton::MoveFigureTo(const PosePoints &pressed, int x, int y, bool snap, int grid,
                                  const PartSet &placedAfter)
{
    const TPoint shoulders = pressed[0];
    return ShiftFigure(pressed, SnapCoordinate(x, snap, grid) - shoulders.X,
                       SnapCoordinate(y, snap, grid) - shoulders.Y, placedAfter);
}

PosePoints Skeleton::Drag(const PosePoints &pressed, int part, int x, int y, bool snap, int grid)
{
    if (part == 1)
        return MoveFigureTo(pressed, x, y, snap, grid);
    return PointLimbAt(pressed, part, x, y, snap);
}

} // namespace hoofer
