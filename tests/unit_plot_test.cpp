// The plot as a document: every input, however degenerate, gives the same
// 640 x 480 px SVG twice; a stream that fails gives false. What the document
// shows is checked by rendering it (plot_check.py).
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include <gtest/gtest.h>

#include "report/plot.h"

namespace {
const double NaN = std::numeric_limits<double>::quiet_NaN(), Inf = INFINITY;

PlotData manyGroups()
{
    PlotData plot{"caf\xc3 \xff\xfe", std::string(5000, 'x'), "\xed\xa0\x80", {}, 1.0};
    for (int i = 0; i < 40; ++i)
        plot.groups.push_back({std::string(300, 'a' + i % 26) + "\xe2\x82", {1.0 * i, i + 0.5}, {0, 1}, 2, 0, 0, 0});
    return plot;
}
} // namespace

TEST(Plot, EveryInputGivesTheSameSvgDocumentTwice)
{
    const struct {
        const char* what;
        PlotData plot;
        const char* path = nullptr; // drawn where the documented mapping puts it
    } cases[] = {
        {"two groups", {"t", "x", "y", {{"F", {0, 1, 2}, {1, 2, 2}, 0.5, 1, 1, 5 / 3.0}, {"M", {2, 3}, {4, 5}, 1, 2, 2.5, 4.5}}, 0.8}},
        {"no groups", {}},
        {"undefined values",
         {"t", "x", "y", {{"a", {NaN, 1, Inf, 2, 3}, {1, NaN, 3, 4}, NaN, 1, 0, 0}, {"b", {NaN}, {NaN}, 1, Inf, NaN, 0}}, Inf}},
        // Zero spans: X 0 and Y 7 widened by 1 on each side; the circle's outline starts 4 px right of (290, 230).
        {"one point", {"t", "x", "y", {{"a", {0}, {7}, 1, 0, 0, 7}}, 1.0}, "d=\"M 294 230 "},
        {"all X equal", {"t", "x", "y", {{"a", {2, 2, 2}, {1, 2, 3}, Inf, -Inf, 2, 2}}, 0.0}},
        {"huge values", {"t", "x", "y", {{"a", {-1e308, 1e308}, {1e308, -1e308}, -1e308, 1e308, 0, 0}}, 1e300}},
        {"ill-formed and long names, many groups", manyGroups()},
    };
    for (const auto& c : cases) {
        std::ostringstream first, second;
        ASSERT_TRUE(writePlot(first, c.plot)) << c.what;
        ASSERT_TRUE(writePlot(second, c.plot)) << c.what;
        const std::string svg = first.str();
        EXPECT_EQ(svg.rfind("<?xml", 0), 0u) << c.what;
        EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos) << c.what;
        EXPECT_NE(svg.find("width=\"640px\" height=\"480px\""), std::string::npos) << c.what;
        EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n") << c.what;
        EXPECT_EQ(svg, second.str()) << c.what;
        if (c.path) {
            EXPECT_NE(svg.find(c.path), std::string::npos) << c.what;
        }
    }
}

TEST(Plot, AStreamThatFailsGivesFalse)
{
    std::ostringstream failed;
    failed.setstate(std::ios::failbit);
    EXPECT_FALSE(writePlot(failed, {}));
    EXPECT_TRUE(failed.str().empty());
    std::ofstream full("/dev/full"); // every write fails: no space left
    ASSERT_TRUE(full.is_open());
    EXPECT_FALSE(writePlot(full, {}));
}
