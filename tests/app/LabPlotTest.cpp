#include <cerrno>
#include <cmath>
#include <filesystem>

#include "app/CanvasPlotPainter.h"
#include "app/FitResult.h"
#include "app/FitStatistics.h"
#include "app/LabPlot.h"
#include "app/PlotInput.h"
#include "app/PlotScale.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "graphics/CCanvas.h"
#include "platform/PSurface.h"
#include "tests/app/FitFixture.h"
#include "tests/common/TempFolder.h"

namespace {
bool IsOneTwoFive(double step)
{
    double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (std::fabs(mantissa - m) < 1e-9 * m)
            return true;
    return false;
}

// Enough of XML for what the plot writes: a declaration, elements with quoted
// attributes, properly nested, text with the five entities only. Empty when sound.
std::string XmlFault(const std::string& xml)
{
    std::vector<std::string> open;
    size_t at = xml.rfind("<?xml", 0) == 0 ? xml.find("?>") + 2 : std::string::npos;
    if (at == std::string::npos)
        return "no declaration";
    while ((at = xml.find_first_of("<&", at)) != std::string::npos) {
        if (xml[at] == '&') {
            size_t end = xml.find(';', at);
            std::string entity = end == std::string::npos ? "" : xml.substr(at, end - at + 1);
            if (entity != "&amp;" && entity != "&lt;" && entity != "&gt;" && entity != "&quot;" && entity != "&apos;")
                return "entity at " + std::to_string(at);
            at = end;
            continue;
        }
        size_t end = at + 1;
        bool quoted = false;
        while (end < xml.size() && (quoted || xml[end] != '>'))
            quoted ^= xml[end++] == '"';
        if (end >= xml.size() || quoted)
            return "open tag at " + std::to_string(at);
        std::string tag = xml.substr(at + 1, end - at - 1);
        std::string name = tag.substr(tag[0] == '/', tag.find_first_of(" />", 1) - (tag[0] == '/'));
        if (name.empty() || tag.find('<') != std::string::npos)
            return "bad tag at " + std::to_string(at);
        if (tag[0] == '/') {
            if (open.empty() || open.back() != name)
                return "unmatched </" + name + ">";
            open.pop_back();
        } else if (tag.back() != '/') {
            open.push_back(name);
        }
        at = end;
    }
    return open.empty() ? "" : "unclosed <" + open.back() + ">";
}

class LabPlotTest : public FitFixture {
protected:
    PlotInput Ohm(bool weighted)
    {
        FillAll({{"1", "2", "3", "4", "5", "6"},
                 Texts(6, "0.05"),
                 {"10.2", "19.8", "30.5", "39.6", "50.9", "59.7"},
                 {"0.2", "0.3", "-0.5", "0.6", "0.8", "0.9"}});
        return LabPlotOf(RunFit(weighted ? FitKind::Weighted : FitKind::Simple, Data()));
    }
};
}  // namespace

// 4 to 8 ticks a step of 1, 2 or 5 times a power of ten apart, inside a frame that
// holds the data and that they fill, bar a small margin (or, with the fewest ticks, a
// step more); the residual panel's 3 to 5 likewise. Their numbers as a lab report
// writes them.
TEST(PlotScaleTest, TicksAreOneTwoFiveFillTheFrameAndReadAsInAReport)
{
    const double ranges[][2] = {{0.95, 6.05},   {9.8, 60.6},       {-3, 3},         {0, 1},
                                {-0.004, 0.0},  {1e6, 1e6 + 3},    {-7.5e-9, 2e-9}, {123456, 987654},
                                {5, 5},         {0, 0},            {-1e-30, 1e-30}, {2.0001, 2.0002},
                                {-250, -249.9}, {1, 1000000},      {0.1, 0.7},      {-1.5, 99.5},
                                {-0.002, 100.002}, {0, 3.2},       {0, 3.9},        {17, 21}};
    for (int most : {8, 5}) {
        for (const auto& r : ranges) {
            PlotTicks t = ChooseTicks(r[0], r[1], most);
            SCOPED_TRACE(std::to_string(r[0]) + ".." + std::to_string(r[1]) + " most " + std::to_string(most));
            EXPECT_GE(t.count, most / 2);
            EXPECT_LE(t.count, most);
            EXPECT_TRUE(IsOneTwoFive(t.step)) << t.step;
            EXPECT_LT(t.low, r[0]);
            EXPECT_GT(t.high, r[1]);
            EXPECT_GE(t.First(), t.low);
            EXPECT_LE(t.Last(), t.high);
            if (r[1] > r[0]) {
                EXPECT_GT((r[1] - r[0]) / (t.high - t.low), most == 8 ? 0.7 : 0.5) << t.low << ".." << t.high;
            }
        }
    }
    PlotTicks t = ChooseTicks(0.95, 6.05);
    EXPECT_EQ(t.step, 1);
    EXPECT_EQ(t.First(), 1);
    EXPECT_EQ(t.count, 6);
    EXPECT_NEAR(t.low, 0.95 - 0.03 * 5.1, 1e-12);
    // Reversed, infinite and not-a-number ranges still give a frame.
    EXPECT_EQ(ChooseTicks(6.05, 0.95).count, 6);
    EXPECT_GE(ChooseTicks(NAN, 1).count, 4);
    EXPECT_GE(ChooseTicks(-INFINITY, INFINITY).count, 2);

    // Numbers are written as a lab report writes them.
    struct Case {
        double value, error;
        const char* text;
    } cases[] = {
        {1.9849, 0.1712, "1,98 \xB1 0,17"},
        {9.97422955, 0.11689263, "9,97 \xB1 0,12"},
        {0.15119, 0.26420578, "0,15 \xB1 0,26"},
        {-3.14159, -0.00271, "-3,1416 \xB1 0,0027"},           // an error counts by its size
        {0.5, 0.0996, "0,50 \xB1 0,10"},                        // rounding gains a digit
        {1234.5, 123.4, "1230 \xB1 120"},                       // no decimals to the left of the place
        {-0.004, 0.1, "0,00 \xB1 0,10"},                        // never "-0,00"
        {1.2346e-7, 3.4e-9, "(1,235 \xB1 0,034)\xB7" "10^-7"},  // tiny: a shared power of ten
        {2.5e6, 31000, "(2,500 \xB1 0,031)\xB7" "10^6"},
        {5, 0, "5,00000 \xB1 0"},
        {NAN, 1, "-"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueWithError(c.value, c.error), c.text) << c.value << " " << c.error;
    EXPECT_EQ(ValueText(0.99871234, 5), "0,99871");
    EXPECT_EQ(ValueText(0.932, 3), "0,932");
    EXPECT_EQ(ValueText(1.234e-5, 3), "1,23\xB7" "10^-5");
    EXPECT_EQ(ValueText(0, 3), "0");

    PlotTicks half = ChooseTicks(-1, 1);  // -1 .. 1 by 0,5
    ASSERT_EQ(half.count, 5);
    EXPECT_EQ(TickText(half, 0, 0), "-1,0");
    EXPECT_EQ(TickText(half, 2, 0), "0,0");
    PlotTicks big = ChooseTicks(2e6, 9e6);
    EXPECT_EQ(TickPower(big), 6);
    EXPECT_EQ(TickText(big, 1, 6), "3");
    EXPECT_EQ(TickPower(ChooseTicks(0, 800000)), 0);
}

TEST_F(LabPlotTest, TheFitsGiveTheirLegendAndResiduals)
{
    PlotInput simple = Ohm(false);
    SimpleFitResult s = RunSimpleFit(Data(), {});
    EXPECT_EQ(simple.fit, "Ajuste Simple");
    ASSERT_EQ(simple.x.size(), 6u);
    EXPECT_EQ(simple.ey[2], 0.5) << "errors by their size";
    EXPECT_FALSE(simple.normalised);
    EXPECT_DOUBLE_EQ(simple.residuals[1], 19.8 - (s.a * 2 + s.b));
    ASSERT_EQ(simple.legend.size(), 3u);
    EXPECT_EQ(simple.legend[2].name, "r");
    EXPECT_EQ(simple.legend[2].value, s.r);

    PlotInput weighted = Ohm(true);
    WeightedFitResult w = RunWeightedFit(Data(), {});
    EXPECT_TRUE(weighted.normalised);
    EXPECT_DOUBLE_EQ(weighted.residuals[2], (30.5 - (w.a * 3 + w.b)) / 0.5);
    ASSERT_EQ(weighted.legend.size(), 4u);
    EXPECT_EQ(weighted.legend[0].error, w.errorA);
    EXPECT_EQ(weighted.legend[2].name, "Chi2/(N-2)");
    EXPECT_DOUBLE_EQ(weighted.legend[2].value, w.xi);
    EXPECT_EQ(weighted.legend[3].name, "P(Chi2)");
    EXPECT_NEAR(weighted.legend[3].value, UpperRegularizedGamma(2, w.s / 2), 1e-15);

    // York: each residual over the error of y − A·x.
    PlotInput york = LabPlotOf(RunFit(FitKind::York, Data()));
    EXPECT_EQ(york.fit, "Ajuste York");
    ASSERT_EQ(york.legend.size(), 4u);
    EXPECT_EQ(york.legend[3].name, "P(Chi2)");
    EXPECT_DOUBLE_EQ(york.residuals[2], (30.5 - (york.a * 3 + york.b)) / std::sqrt(0.25 + york.a * york.a * 0.0025));
    // Two rows leave no degree of freedom: no χ² lines.
    FillAll({{"1", "2"}, {}, {"1", "3"}, {"1", "1"}});
    EXPECT_EQ(LabPlotOf(RunFit(FitKind::Weighted, Data())).legend.size(), 2u);
}

// The files: PNG of 1600 × 1200 or SVG by the name's ending, whole or not at all; the
// same drawing on a canvas.
TEST_F(LabPlotTest, WritesAPngOrAWellFormedSvgAndDrawsOnACanvas)
{
    std::string folder = MakeTempFolder("lab-plot");
    ASSERT_FALSE(folder.empty());
    std::string png = folder + "/grafica.png", svg = folder + "/grafica.SVG", plain = folder + "/grafica";
    PlotInput plot = Ohm(true);
    plot.fit = "Ajuste <York> & \"otros\"";  // markup in a text stays text
    ASSERT_EQ(WriteLabPlot(app, plot, png.c_str()), 1);
    ASSERT_EQ(WriteLabPlot(app, plot, plain.c_str()), 1);
    ASSERT_EQ(WriteLabPlot(app, plot, svg.c_str()), 1);
    std::string bytes = ReadBytes(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1A\n");
    auto be32 = [&](size_t at) {
        return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
               (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint8_t(bytes[at + 3]);
    };
    EXPECT_EQ(be32(16), 1600u);
    EXPECT_EQ(be32(20), 1200u);
    EXPECT_EQ(ReadBytes(plain).substr(0, 4), "\x89PNG") << "PNG when the name has no ending";

    std::string xml = ReadBytes(svg);
    EXPECT_EQ(XmlFault(xml), "");
    EXPECT_NE(xml.find("width=\"1600\" height=\"1200\""), std::string::npos);
    for (const char* text : {">Valores X</text>", ">Valores Y</text>", ">Residuos / error</text>",
                             ">A = 9,97 \xC2\xB1 0,12</text>", ">Ajuste &lt;York&gt; &amp; &quot;otros&quot;</text>",
                             ">y = A\xC2\xB7x + B</text>"})
        EXPECT_NE(xml.find(text), std::string::npos) << text;
    EXPECT_EQ(XmlFault("<?xml version=\"1.0\"?><svg><g></svg>"), "unmatched </svg>") << "the checker checks";

    int error = 0;
    EXPECT_EQ(WriteLabPlot(app, plot, (folder + "/falta/grafica.svg").c_str(), &error), 0);
    EXPECT_EQ(error, ENOENT);
    std::filesystem::remove_all(folder);

    // On a canvas: points, line and residuals inside their panels, whatever the data.
    Variable hold(new CCanvas(app));
    auto* canvas = hold.As<CCanvas>();
    canvas->Create(800, 600);
    CanvasPlotPainter painter(app, canvas);
    DrawLabPlot(painter, Ohm(false), 800, 600);
    auto count = [&](uint32_t colour) {
        int n = 0;
        for (int y = 0; y < 600; y++)
            for (int x = 0; x < 800; x++)
                n += canvas->GetSurface()->GetPixel(x, y) == colour;
        return n;
    };
    const uint32_t Points = 0 + 70 * 256 + 170 * 65536, Line = 210 + 30 * 256 + 30 * 65536;
    EXPECT_GT(count(Points), 2 * 6 * 20) << "six points above, six below";
    EXPECT_GT(count(Line), 500);
    EXPECT_GT(count(0), 500) << "axes and text";

    PlotInput odd;
    odd.fit = "x";
    odd.x = {1, 1e300, INFINITY, NAN, 2};
    odd.ex = {0, 0, 0, 0, 1e308};
    odd.y = {1, 1, 1, 1, -1e308};
    odd.ey = {1e308, 0, 0, 0, 1e308};
    odd.residuals = {NAN, 1, INFINITY, 0, -1e308};
    for (double a : {1e12, -1e300, double(INFINITY), double(NAN)}) {
        odd.a = a;
        DrawLabPlot(painter, odd, 800, 600);
    }
    DrawLabPlot(painter, PlotInput{}, 800, 600);  // no rows at all
}
