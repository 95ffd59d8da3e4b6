#include <cmath>

#include "app/FitLines.h"
#include "app/FitPlot.h"
#include "app/FitRows.h"
#include "graphics/CCanvas.h"
#include "platform/PSurface.h"
#include "tests/app/FitFixture.h"

namespace {
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Red = 255 + 32 * 256 + 8 * 65536;
constexpr uint32_t Black = 0;
constexpr uint32_t Green = 0 + 128 * 256 + 18 * 65536;

class FitPlotTest : public FitFixture {
protected:
    CCanvas* Plot(uint32_t rows, double a, double b)
    {
        auto* canvas = new CCanvas(app);
        held.emplace_back(canvas);
        canvas->Create(PlotWidth + 5, PlotHeight + 4);
        FitRows points(true, true);
        for (uint32_t i = 0; i < rows; i++)
            points.Add(CellValue(data[ColumnX], i), CellValue(data[ColumnY], i), CellValue(data[ColumnErrorY], i),
                       CellValue(data[ColumnErrorX], i));
        DrawFitPlot(canvas, points, a, b);
        return canvas;
    }

    // How many pixels of a colour the plot has, and their horizontal extent.
    struct Extent {
        int count = 0, minX = 1 << 30, maxX = -1;
    };
    static Extent Find(CCanvas* canvas, uint32_t colour)
    {
        Extent e;
        for (int y = 0; y < canvas->GetHeight(); y++)
            for (int x = 0; x < canvas->GetWidth(); x++)
                if (canvas->GetSurface()->GetPixel(x, y) == colour) {
                    e.count++;
                    e.minX = std::min(e.minX, x);
                    e.maxX = std::max(e.maxX, x);
                }
        return e;
    }
};
}  // namespace

// kx = 800/3.1 and ky = 600/6.2: the line y = 2x runs corner to corner, every point
// has its cross and its bars. With every x negative the box ends at 0 on the right,
// so the points fill its left.
TEST_F(FitPlotTest, TheDataFillTheBox)
{
    FillAll({{"1", "2", "3"}, {"0.1", "0.1", "0.1"}, {"2", "4", "6"}, {"0.2", "0.2", "0.2"}});
    PSurface* surface = Plot(3, 2, 0)->GetSurface();
    EXPECT_EQ(surface->GetPixel(0, 600), Green);
    EXPECT_EQ(surface->GetPixel(800, 0), Green);
    EXPECT_EQ(surface->GetPixel(804, 603), White) << "the whole canvas is cleared";
    // The point (1, 2): its cross at (258, 406) in the plot's truncated coordinates.
    int fx = int(1 * 800 / 3.1), fy = int(600 - 2 * 600 / 6.2);
    EXPECT_EQ(surface->GetPixel(int(fx - 3.0), int(fy - 3.0)), Black);
    EXPECT_EQ(surface->GetPixel(int(1.1 * 800 / 3.1), fy), Red) << "the end of its x bar";

    FillAll({{"-4", "-2"}, {"0", "0"}, {"1", "2"}, {"0", "0"}});
    CCanvas* canvas = Plot(2, 0, 10);  // a line above the box: none of it is drawn
    Extent crosses = Find(canvas, Black);
    EXPECT_EQ(crosses.minX, 0) << "the cross on the left edge is cut there";
    EXPECT_EQ(crosses.maxX, 400 + 3);
    EXPECT_EQ(Find(canvas, Green).count, 0);
    // An error of 0 draws a bar of one pixel, under the cross's centre.
    EXPECT_EQ(Find(canvas, Red).count, 0) << "covered by the crosses drawn after them";
}

// The box of data without extent (no data, one point at the origin, all errors 0)
// is from −1 to 1; steep, huge and not-a-number results draw nothing outside the box.
TEST_F(FitPlotTest, DegenerateDataAndResultsNeverLeaveTheBox)
{
    FillAll({{"0"}, {"0"}, {"0"}, {"0"}});
    CCanvas* canvas = Plot(1, NAN, NAN);
    EXPECT_EQ(canvas->GetSurface()->GetPixel(400, 300), Black) << "the origin in the middle";
    EXPECT_EQ(Find(canvas, Green).count, 0);
    canvas = Plot(0, 0, 0);  // no rows: the line y = 0 through the middle
    EXPECT_EQ(canvas->GetSurface()->GetPixel(0, 300), Green);
    EXPECT_EQ(canvas->GetSurface()->GetPixel(800, 300), Green);

    FillAll({{"1", "1e300", "inf", "nan", "2"}, {"0", "0", "0", "0", "1e308"}, {"1", "1", "1", "1", "-1e308"},
             {"1e308", "0", "0", "0", "1e308"}});
    for (double a : {1e12, -1e300, double(INFINITY), double(NAN)}) {
        canvas = Plot(5, a, 1);
        for (int y = 0; y < canvas->GetHeight(); y++)
            for (int x = 801; x < canvas->GetWidth(); x++)
                ASSERT_NE(canvas->GetSurface()->GetPixel(x, y), Green) << a;
    }
}
