// The figures as documents: every input, however degenerate, gives the same
// document twice in each format; a stream that fails gives false. The ticks of
// an axis and the legend's rows, by hand from plot.h. What the figures show is
// checked by rendering them (plot_check.py).
#include <cmath>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "plot/plot.h"
#include "plot/plot_axes.h"
#include "plot/plot_canvas.h"
#include "plot/plot_legend.h"
#include "plot/plot_text.h"

using namespace korvel;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN(), Inf = INFINITY;

PlotData manyGroups()
{
    PlotData plot{"caf\xc3 \xff\xfe \x80\x80\x80\x80 \xf8\x88\x80\x80\x80", std::string(5000, 'x'), "\xed\xa0\x80", {}, 1.0, -2.0, AxisScale::Ln};
    for (int i = 0; i < 120; ++i)
        plot.groups.push_back({std::string(300, 'a' + i % 26) + "\xe2\x82", {1.0 * i, i + 0.5}, {0, 1}, 2, 0, 0, 0, {}});
    return plot;
}

// The document without the PDF's creation date, which changes from run to run.
std::string undated(std::string doc)
{
    const std::size_t at = doc.find("/CreationDate");
    return at == std::string::npos ? doc : doc.erase(at, doc.find('\n', at) - at);
}

// Whether every coordinate of the SVG's paths lies in lo..hi (lines are clipped
// to the box; nothing undefined is drawn).
bool pathsWithin(const std::string& svg, double lo, double hi)
{
    for (std::size_t at = svg.find(" d=\""); at != std::string::npos; at = svg.find(" d=\"", at + 1)) {
        std::istringstream path(svg.substr(at + 4, svg.find('"', at + 4) - at - 4));
        for (std::string word; path >> word;) {
            char* end = nullptr;
            const double v = std::strtod(word.c_str(), &end);
            if (end != word.c_str() && !(v >= lo && v <= hi))
                return false;
        }
    }
    return true;
}

// The figure's size as the document gives it: the SVG's attributes, the PDF's
// media box, the PNG's header.
std::string sizeOf(const std::string& doc, PlotFormat format)
{
    if (format == PlotFormat::Png) {
        auto be32 = [&](std::size_t at) {
            return std::to_string((unsigned char)doc[at] << 24 | (unsigned char)doc[at + 1] << 16 |
                                  (unsigned char)doc[at + 2] << 8 | (unsigned char)doc[at + 3]);
        };
        return doc.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 ? be32(16) + " " + be32(20) : "no PNG";
    }
    const std::string head = format == PlotFormat::Svg ? "width=\"" : "/MediaBox [ 0 0 ";
    const std::size_t at = doc.find(head);
    return at == std::string::npos ? "none" : doc.substr(at + head.size(), doc.find_first_of("]/", at + head.size()) - at - head.size());
}
} // namespace

TEST(Plot, EveryInputGivesTheSameDocumentTwiceInEachFormat)
{
    const struct {
        const char* what;
        PlotData plot;
        const char* svgSize; // 520 + 170 legend columns wide
        const char* path = nullptr; // drawn where the documented mapping puts it
    } cases[] = {
        {"two groups", {"t", "x", "y", {{"F", {0, 1, 2}, {1, 2, 2}, 0.5, 1, 1, 5 / 3.0, {}}, {"M", {2, 3}, {4, 5}, 1, 2, 2.5, 4.5, {}}}, 0.8, 1.0},
         "690px\" height=\"480px"},
        {"no groups", {}, "520px\" height=\"480px"},
        {"undefined values",
         {"t", "x", "y", {{"a", {NaN, 1, Inf, 2, 3}, {1, NaN, 3, 4}, NaN, 1, 0, 0, {}}, {"b", {NaN}, {NaN}, 1, Inf, NaN, 0, {}}}, Inf, NaN,
          AxisScale::Log10, true},
         "690px\" height=\"480px"},
        // Zero spans: X 0 and Y 7 widened by 1 on each side; the circle's outline starts 4 px right of (290, 230).
        {"one point, drawn hollow", {"t", "x", "y", {{"a", {0}, {7}, 1, 0, 0, 7, {true}}}, std::nullopt, std::nullopt, AxisScale::Linear, false, false},
         "520px\" height=\"480px", "d=\"M 294 230 "},
        {"all X equal", {"t", "x", "y", {{"a", {2, 2, 2}, {1, 2, 3}, Inf, -Inf, 2, 2, {}}}, 0.0, 0.0, AxisScale::Log10}, "690px"},
        {"huge values", {"t", "x", "y", {{"a", {-1e308, 1e308}, {1e308, -1e308}, -1e308, 1e308, 0, 0, {}}}, 1e300, 1e300, AxisScale::Ln},
         "690px"},
        {"ill-formed and long names, many groups", manyGroups(), "1200px\" height=\"480px"},
    };
    for (const auto& c : cases) {
        ResidualPlotData residuals{c.plot.title, c.plot.xLabel, c.plot.yLabel, {}, c.plot.grouped};
        for (const PlotGroup& g : c.plot.groups)
            residuals.groups.push_back({g.name, g.x, g.y});
        for (PlotFormat format : {PlotFormat::Svg, PlotFormat::Pdf, PlotFormat::Png}) {
            std::ostringstream first, second, third, fourth;
            writePlot(first, c.plot, format);
            writePlot(second, c.plot, format);
            writeResidualPlot(third, residuals, format);
            writeResidualPlot(fourth, residuals, format);
            ASSERT_TRUE(first && second && third && fourth) << c.what;
            EXPECT_EQ(undated(first.str()), undated(second.str())) << c.what;
            EXPECT_EQ(undated(third.str()), undated(fourth.str())) << c.what;
            const std::string width = std::string(c.svgSize).substr(0, std::string(c.svgSize).find('p'));
            const std::string residualWidth = std::to_string(std::stoi(width) + 260);
            if (format == PlotFormat::Svg) {
                const std::string svg = first.str();
                EXPECT_EQ(svg.rfind("<?xml", 0), 0u) << c.what;
                EXPECT_NE(svg.find("<g id=\"surface1\""), std::string::npos) << c.what; // whatever was drawn before
                EXPECT_EQ(sizeOf(svg, format).rfind(c.svgSize, 0), 0u) << c.what;
                EXPECT_EQ(sizeOf(third.str(), format).rfind(residualWidth + "px\" height=\"480px", 0), 0u) << c.what;
                EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n") << c.what;
                EXPECT_TRUE(pathsWithin(svg, -20, 1200) && pathsWithin(third.str(), -20, 1460)) << c.what;
                if (c.path) {
                    EXPECT_NE(svg.find(c.path), std::string::npos) << c.what;
                }
            }
            if (format == PlotFormat::Pdf) {
                EXPECT_EQ(sizeOf(first.str(), format), width + " 480 ") << c.what;
                EXPECT_EQ(sizeOf(third.str(), format), residualWidth + " 480 ") << c.what;
            }
            if (format == PlotFormat::Png) {
                EXPECT_EQ(sizeOf(first.str(), format), std::to_string(2 * std::stoi(width)) + " 960") << c.what;
                EXPECT_EQ(sizeOf(third.str(), format), std::to_string(2 * std::stoi(residualWidth)) + " 960") << c.what;
            }
        }
    }
}

TEST(Plot, PastTwentyThousandPointsAnSvgHoldsThemAsAnImage)
{
    PlotData plot{"t", "x", "y", {{"a", {}, {}, 1, 0, 0, 0, {}}}, std::nullopt, std::nullopt};
    for (int i = 0; i < 20000; ++i)
        plot.groups[0].x.push_back(i), plot.groups[0].y.push_back(i % 7);
    std::ostringstream few, many;
    writePlot(few, plot);
    plot.groups[0].x.push_back(0), plot.groups[0].y.push_back(0);
    writePlot(many, plot);
    ASSERT_TRUE(few && many);
    EXPECT_EQ(few.str().find("<image"), std::string::npos);
    EXPECT_NE(many.str().find("<image"), std::string::npos);
}

TEST(Plot, AStreamThatFailsSaysSo)
{
    for (PlotFormat format : {PlotFormat::Svg, PlotFormat::Pdf, PlotFormat::Png}) {
        std::ostringstream failed;
        failed.setstate(std::ios::failbit);
        writePlot(failed, {}, format);
        writeResidualPlot(failed, {}, format);
        EXPECT_TRUE(failed.str().empty());
        std::ofstream full("/dev/full"); // every write fails: no space left
        ASSERT_TRUE(full.is_open());
        writePlot(full, {}, format);
        EXPECT_FALSE(full);
    }
}

TEST(Plot, TicksOfLinearAndLogAxes)
{
    const double ln10 = std::log(10.0);
    const struct {
        Range range;
        AxisScale scale;
        const char* labels;   // joined by spaces
        double first, last;   // where the first and last land
    } rows[] = {
        {{0.05, 1.95}, AxisScale::Linear, "0.5 1.0 1.5", 0.5, 1.5},                        // step 5 x 0.1
        {{-3.2, 1.1}, AxisScale::Linear, "\u22123 \u22122 \u22121 0 1", -3, 1},            // step 1
        {{0, 4e6}, AxisScale::Linear, "0 5e5 1e6 1.5e6 2e6 2.5e6 3e6 3.5e6 4e6", 0, 4e6},    // step 5e5
        {{0, 2}, AxisScale::Log10, "1 2 5 10 20 50 100", 0, 2},                              // 1, 2, 5 per decade
        {{0, 3 * ln10}, AxisScale::Ln, "1 2 5 10 20 50 100 200 500 1000", 0, 3 * ln10},      // ten of them
        {{-3.2, 6.1}, AxisScale::Log10, "0.01 1 100 10000 1e6", -2, 6},                       // every second power
        {{std::log10(1.9), std::log10(4.1)}, AxisScale::Log10, "2 2.5 3 3.5 4", std::log10(2), std::log10(4)}, // narrow
        {{std::log10(3), std::log10(40)}, AxisScale::Log10, "5 10 20", std::log10(5), std::log10(20)},
        {{-4.5, 0}, AxisScale::Log10, "0.0001 0.001 0.01 0.1 1", -4, 0},                     // 13 at 1, 2, 5: powers
        {{0.5, 8.3}, AxisScale::Log10, "10 100 1000 10000 1e5 1e6 1e7 1e8", 1, 8},         // eight powers, each
        {{0, std::log10(2000)}, AxisScale::Log10, "1 10 100 1000", 0, 3},                    // 11 at 1, 2, 5: powers
        {{3, 4.5}, AxisScale::Log10, "1000 2000 5000 10000 20000", 3, std::log10(20000)},
        {{4.6, 5.8}, AxisScale::Log10, "50000 1e5 2e5 5e5", std::log10(5e4), std::log10(5e5)},       // decimals below 1e5
        {{-5.2, -4.2}, AxisScale::Log10, "1e\u22125 2e\u22125 5e\u22125", -5, std::log10(5e-5)},       // and from 1e-4
        {{307.9, 308.3}, AxisScale::Log10, "1e308", 308, 308}, // past the largest number: no finer values
        {{0, 9}, AxisScale::Linear, "0 2 4 6 8", 0, 8},        // a sixth of the span 1.5: step 2
        {{0, 7}, AxisScale::Linear, "0 1 2 3 4 5 6 7", 0, 7},  // a sixth below 1.5: step 1
        {{0, 30}, AxisScale::Log10, "1 1e5 1e10 1e15 1e20 1e25 1e30", 0, 30}, // every fifth power: 1, 2, 5 decades apart
        {{-9.3, -5.9}, AxisScale::Log10, "1e\u22129 2e\u22129 5e\u22129 1e\u22128 2e\u22128 5e\u22128 1e\u22127 2e\u22127 5e\u22127 1e\u22126", -9, -6},
    };
    for (const auto& r : rows) {
        const std::vector<Tick> ticks = axisTicks(r.range, r.scale);
        std::string labels;
        for (const Tick& t : ticks)
            labels += (labels.empty() ? "" : " ") + t.label;
        EXPECT_EQ(labels, r.labels);
        ASSERT_FALSE(ticks.empty()) << r.labels;
        EXPECT_NEAR(ticks.front().at, r.first, 1e-9) << r.labels;
        EXPECT_NEAR(ticks.back().at, r.last, 1e-9) << r.labels;
    }
}

TEST(Plot, TextKeepsWellFormedUtf8AndShowsEveryOtherByteAsAQuestionMark)
{
    const struct {
        std::string in, out;
    } rows[] = {
        {"a\xc2\xb5\xdf\xbf", "a\xc2\xb5\xdf\xbf"},                                 // two bytes, leads C2 and DF
        {"\xe0\xa4\x85\xed\x9f\xbf\xef\xbf\xbd", "\xe0\xa4\x85\xed\x9f\xbf\xef\xbf\xbd"}, // three: E0 from A0, ED below A0, EF
        {"\xf0\x90\x80\x80\xf4\x8f\xbf\xbf", "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"},       // four: F0 from 90, F4 below 90
        {"\xc1\xbf\x80", "???"},                                                   // overlong lead, lone continuation
        {"\xe0\x9f\xbf\xed\xa0\x80", "??????"},                                     // overlong, surrogate
        {"\xf0\x8f\xbf\xbf\xf4\x90\x80\x80\xf5\x80\x80\x80", "????????????"},         // overlong, past U+10FFFF
        {"\xe2\x82", "??"},                                                         // cut short
        {std::string("a\0b", 3), "a?b"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(wellFormed(r.in), r.out) << r.in;
}

TEST(Plot, LegendRowsHoldAtMostFourColumnsOf24)
{
    const std::vector<std::string> names(200, "g");
    const std::vector<LegendRow> others{{"common slope", std::nullopt, LineKind::Common}};
    const std::vector<LegendRow> rows = legendRows(names, LineKind::Own, others);
    ASSERT_EQ(rows.size(), 96u);
    EXPECT_EQ(rows[94].text, "+106 more");
    EXPECT_EQ(rows[95].text, "common slope");
    EXPECT_EQ(*rows[93].group, 93u);
    EXPECT_EQ(legendColumns(24), 1u);
    EXPECT_EQ(legendColumns(25), 2u);
    EXPECT_EQ(legendColumns(0), 0u);
}

TEST(Plot, NamesShortenedInTheMiddleStayDistinct)
{
    // Names alike but for a character near their start (where its run meets their beginning), or at
    // their very end; a width that holds about twelve characters.
    // Drawn through a figure, which leaves the font library's caches empty afterwards.
    const std::string middle = " of the long middle that every one of these names shares, ";
    const std::vector<std::string> names = {"Felis 1" + middle + "end", "Felis 2" + middle + "end",
                                            "B" + middle + "end x", "B" + middle + "end y", "short"};
    std::vector<std::string> shown;
    std::ostringstream figure;
    writeFigure(figure, PlotFormat::Svg, 10, 10, [&](cairo_t* cr) {
        setFont(cr, 11);
        shown = shortenedNames(cr, names, 70);
    });
    ASSERT_EQ(shown.size(), names.size());
    EXPECT_EQ(std::set<std::string>(shown.begin(), shown.end()).size(), names.size());
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        EXPECT_NE(shown[i].find("\u2026"), std::string::npos) << shown[i];
        EXPECT_EQ(shown[i].substr(0, 1), names[i].substr(0, 1)) << shown[i];
    }
    EXPECT_EQ(shown.back(), "short");
}

TEST(Plot, AxisRangesWidenedOrFallingBackTo0To1)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const struct {
        double lo, hi;
        bool withZero;
        double rangeLo, rangeHi;
    } rows[] = {
        {2, 4, false, 1.9, 4.1},          // 5 % of the span on each side
        {2, 4, true, -0.2, 4.2},          // through the origin: 0 included
        {3, 3, false, 2, 4},              // no span: at least 1 on each side
        {-1e308, 1e308, false, 0, 1},     // widened past the largest number, at both ends
        {0, 1.75e308, false, 0, 1},       // at the top only
        {-1.75e308, 0, false, 0, 1},      // at the bottom only
        {1, inf, false, 0, 1},            // not finite
        {nan, 2, false, 0, 1},            // undefined
        {5, 1, false, 0, 1},              // no points at all (lo above hi)
    };
    for (const auto& r : rows) {
        const Range got = axisRange(r.lo, r.hi, r.withZero);
        EXPECT_DOUBLE_EQ(got.lo, r.rangeLo) << r.lo << " " << r.hi;
        EXPECT_DOUBLE_EQ(got.hi, r.rangeHi) << r.lo << " " << r.hi;
    }
}
