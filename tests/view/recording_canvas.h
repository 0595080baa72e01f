#pragma once

#include "view/figure_drawing.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace hoofer::test {

/// A canvas that writes down each operation: "line 64,180 50,196 black".
class RecordingCanvas : public Canvas {
public:
    std::vector<std::string> ops;
    int Width() const override { return kPreviewWidth; }
    int Height() const override { return kPreviewHeight; }
    TColor PenColor() const override { return m_pen; }
    void SetPenColor(TColor colour) override { m_pen = colour; }
    TColor BrushColor() const override { return clPreviewBackground; }
    void MoveTo(int x, int y) override { m_pos = {x, y}; }
    TPixel PenPos() const override { return m_pos; }
    void LineTo(int x, int y) override { Add("line", m_pos.x, m_pos.y, x, y), m_pos = {x, y}; }
    void FillRect(int l, int t, int r, int b) override { Add("fill", l, t, r, b); }
    void Ellipse(int l, int t, int r, int b) override { Add("ellipse", l, t, r, b); }
    std::vector<std::string> In(const std::string &colour) const
    {
        std::vector<std::string> out;
        std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
                     [&](const std::string &op) { return op.ends_with(" " + colour); });
        return out;
    }

private:
    void Add(const char *what, int a, int b, int c, int d)
    {
        static const std::map<TColor, std::string> names = {
            {clBlack, "black"}, {clYellow, "yellow"}, {clSilver, "silver"}, {clPreviewBackground, "background"}};
        const auto name = names.find(m_pen);
        ops.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b) + " "
                      + std::to_string(c) + "," + std::to_string(d) + " "
                      + (name == names.end() ? std::to_string(m_pen) : name->second));
    }
    TColor m_pen = 0x123456;
    TPixel m_pos;
};

} // namespace hoofer::test
