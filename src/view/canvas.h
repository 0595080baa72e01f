#pragma once

#include <cstdint>

namespace hoofer {

/// A colour as 0x00BBGGRR.
using TColor = uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clSilver = 0x00C0C0C0;
inline constexpr TColor clYellow = 0x0000FFFF;
/// The preview's background where the platform has no window-face colour.
inline constexpr TColor clPreviewBackground = 0x00C8D0D4;  // red 212, green 208, blue 200

struct TPixel {
    int x = 0;
    int y = 0;
    bool operator==(const TPixel &) const = default;
};

/// The drawing surface the figure is drawn on: pen and fill colour, a pen
/// position, lines from the pen position, and filled rectangles and ellipses
/// given by two corners (left/top inside, right/bottom outside). The preview,
/// an image for the command-line tool and a recorder for tests implement it.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual TColor PenColor() const = 0;
    virtual void SetPenColor(TColor colour) = 0;
    /// The fill colour is always the background colour.
    virtual TColor BrushColor() const = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual TPixel PenPos() const = 0;
    virtual void FillRect(int left, int top, int right, int bottom) = 0;
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    /// Clears the whole surface (inside the clip) to its backdrop and leaves
    /// the pen the background colour. Without a backdrop, the one surfaces
    /// have unless given one, that is a filled rectangle over everything.
    virtual void Clear()
    {
        SetPenColor(BrushColor());
        FillRect(0, 0, Width(), Height());
    }
    /// A number that changes with every drawing on the surface and is never
    /// the same on two surfaces, so an equal number means that nothing was
    /// drawn since; 0 where the surface cannot tell.
    virtual uint64_t Revision() const { return 0; }
    /// Keeps every drawing until ClearClip to the pixels of a box (right and
    /// bottom outside), each of them as the drawing without a clip makes it;
    /// false, and no clip, where the surface cannot clip.
    virtual bool SetClip(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) { return false; }
    virtual void ClearClip() {}
};

} // namespace hoofer
