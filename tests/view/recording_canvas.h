#pragma once

#include "view/canvas.h"

#include <string>
#include <vector>

namespace hoofer::test {

/// A canvas that writes down what is drawn on it, one text per operation:
/// "line 64,180 #000000", "ellipse 62,178 66,182 #00ffff", "fill 0,0 256,296".
class RecordingCanvas : public Canvas {
public:
    std::vector<std::string> ops;

    int Width() const override { return 256; }
    int Height() const override { return 296; }
    TColor PenColor() const override { return m_pen; }
    void SetPenColor(TColor colour) override { m_pen = colour; }
    TColor BrushColor() const override { return clPreviewBackground; }
    void MoveTo(int x, int y) override { m_pos = {x, y}; }
    void LineTo(int x, int y) override
    {
        ops.push_back("line " + Xy(m_pos.x, m_pos.y) + " " + Xy(x, y) + " " + Colour());
        m_pos = {x, y};
    }
    TPixel PenPos() const override { return m_pos; }
    void FillRect(int l, int t, int r, int b) override
    {
        ops.push_back("fill " + Xy(l, t) + " " + Xy(r, b) + " " + Colour());
    }
    void Ellipse(int l, int t, int r, int b) override
    {
        ops.push_back("ellipse " + Xy(l, t) + " " + Xy(r, b) + " " + Colour());
    }

private:
    static std::string Xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    std::string Colour() const
    {
        switch (m_pen) {
        case clBlack: return "black";
        case clYellow: return "yellow";
        case clSilver: return "silver";
        case clPreviewBackground: return "background";
        default: return std::to_string(m_pen);
        }
    }
    TColor m_pen = 0x123456;
    TPixel m_pos;
};

} // namespace hoofer::test
