// The command line: which run it asks for, and every kind of bad option or
// value refused with a message naming it. Expected texts are the options' own.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/command_line.h"
#include "cli/progress_line.h"
#include "cli/script_run.h"
#include "cli/whole_lines.h"

using namespace korvel;

namespace {
Invocation parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "korvel");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}
} // namespace

TEST(CommandLine, BadOptionsAndValuesAreNamed)
{
    const struct {
        std::vector<const char*> args;
        const char* named; // in the message
    } rows[] = {
        {{"-y", "a", "-x", "b", "--slope-h0", "1/2", "f"}, "--slope-h0 1/2: not a number"},
        {{"-y", "a", "-x", "b", "--intercept-h0=-1", "--through-origin", "f"}, "option --intercept-h0: not possible"},
        {{"-y", "a", "-x", "b", "--intercept-h0", "1.2.3", "f"}, "--intercept-h0 1.2.3"},
        {{"-y", "a", "-x", "b", "--critical-p", "2", "f"}, "--critical-p 2: not a number from 0 to 1"},
        {{"-y", "a", "-x", "b", "-p", "0x0.1", "f"}, "--critical-p 0x0.1"},
        {{"-y", "a", "-x", "b", "--confidence", "0", "f"}, "--confidence 0: not a whole number from 1 to 99"},
        {{"-y", "a", "-x", "b", "-c", "100", "f"}, "--confidence 100"},
        {{"-y", "a", "-x", "b", "-c", "95.5", "f"}, "--confidence 95.5"},
        {{"-y", "a", "-x", "b", "--min-group-size", "51", "f"}, "--min-group-size 51"},
        {{"-y", "a", "-x", "b", "--iterations", "-5", "f"}, "--iterations -5"},
        {{"-y", "a", "-x", "b", "-n", "0", "f"}, "--iterations 0: not a whole number from 1 to 2147483647"},
        {{"-y", "a", "-x", "b", "-n", "1e3", "f"}, "--iterations 1e3"},
        {{"-y", "a", "-x", "b", "-n", "+5", "f"}, "--iterations +5"},
        {{"-y", "a", "-x", "b", "-n", "2147483648", "f"}, "--iterations 2147483648"},
        {{"-y", "a", "-x", "b", "--method", "OLS2", "f"}, "--method OLS2"},
        {{"-y", "a", "-x", "b", "--transform", "log", "f"}, "--transform log"},
        {{"-y", "a", "-x", "b", "--range", "v=1", "f"}, "--range v=1"},
        {{"-y", "a", "-x", "b", "--range", "v=3:2", "f"}, "--range v=3:2: the minimum 3 not below the maximum 2"},
        {{"-y", "a", "-x", "b", "--range", "v=2:2e0", "f"}, "--range v=2:2e0"},
        {{"-y", "a", "-x", "b", "--remove", "=1", "f"}, "--remove =1"},
        {{"-y", "a", "-x", "b", "--error-x", "0.1", "f"}, "--error-y"},
        {{"-y", "a", "-x", "b", "--error-x", "-0.1", "--error-y", "1", "f"}, "--error-x -0.1: not a number from 0 up"},
        {{"-y", "a", "-x", "b", "--error-x", "1", "--error-y", "inf", "f"}, "--error-y inf"},
        {{"-y", "a", "-x", "b", "--slope-h0", "nan", "f"}, "--slope-h0 nan: not a number"},
        {{"-y", "a", "-x", "b", "--through-origin", "--elevation", "f"}, "--elevation"},
        {{"-y", "a", "-x", "b"}, "DATAFILE"},
        {{"-y", "a", "f"}, "-x"},
        {{"--seed", "x"}, "--seed x"},
        {{"--seed", "0"}, "--seed 0: not a whole number from 1 to 4294967295"},
        {{"--seed", "4294967296"}, "--seed 4294967296"},
        {{"--plot-file", "p.svg"}, "--plot-file"},
        {{"--residual-plot", "r.png"}, "--residual-plot"},
        {{"-y", "a", "-x", "b", "--plot-file", "p.jpg", "f"}, "--plot-file p.jpg"},
        {{"-y", "a", "-x", "b", "--residual-plot", "r", "f"}, "--residual-plot r"},
        {{"--output=", "f"}, "option --output needs a value"},
        {{"-y", "a", "-x", "b", "--save", "-", "-o", "-", "f"}, "option --save -: standard output holds the report"},
        {{"-y", "a", "-x", "b", "--save", "-", "--json", "-", "-o", "r", "f"}, "--save -: standard output holds the results"},
        {{"--methd", "ma"}, "unrecognized option --methd"},
        {{"--=", "-y", "a", "-x", "b", "f"}, "unrecognized option --="}, // no option's name before the "="
        {{"a", "b"}, "unexpected argument b"},
        {{"a", "--", "-b"}, "unexpected argument -b"}, // after "--" nothing is an option
    };
    for (const auto& r : rows) {
        try {
            parse(r.args);
            ADD_FAILURE() << "accepted: " << r.named;
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(r.named), std::string::npos) << e.what();
        }
    }
}

TEST(CommandLine, RunsAndTheirSettings)
{
    EXPECT_EQ(parse({}).mode, Invocation::Dialogue);
    const Invocation dialogue = parse({"--plot", "--seed", "4294967295", "my data.txt"});
    EXPECT_EQ(dialogue.dataFile, "my data.txt");
    EXPECT_TRUE(dialogue.plot);
    EXPECT_EQ(dialogue.seed, 4294967295u);
    EXPECT_EQ(parse({"--help"}).mode, Invocation::Help);
    EXPECT_EQ(parse({"--version"}).mode, Invocation::Version);

    const Invocation run = parse({"-y", "Hwt", "-x", "1", "--group", "a", "-g", "b", "--method=ma", "-t", "ln",
                                  "--remove", "s=1", "--range", "t=1:2", "--remove", "t=above", "--slope-h0", "0",
                                  "--intercept-h0=-2.5",
                                  "--error-x", "1.2584e-05", "--error-y", "+.2", "--chi-squared", "--elevation-pairs",
                                  "-p", "1e-3", "-c", "99", "-n", "007", "--shift", "-o", "-", "d.txt"});
    const AnalysisRequest& a = run.analysis;
    EXPECT_EQ(run.mode, Invocation::Analysis);
    EXPECT_EQ(run.dataFile, "d.txt");
    EXPECT_EQ(a.data.y + a.data.x + a.data.groups[0] + a.data.groups[1], "Hwt1ab");
    EXPECT_EQ(a.settings.method, Method::MA);
    EXPECT_EQ(a.settings.transform, Transform::Ln);
    EXPECT_EQ(a.settings.pvalueFrom, PValueFrom::ChiSquared);
    EXPECT_EQ(a.settings.slopeH0, 0.0); // 0 is a hypothesis like any other
    EXPECT_EQ(a.settings.interceptH0, -2.5);
    EXPECT_TRUE(a.settings.measurementError);
    EXPECT_EQ(a.errors.x, 1.2584e-05);
    EXPECT_EQ(a.errors.y, 0.2);
    EXPECT_EQ(a.settings.criticalP, 0.001);
    EXPECT_EQ(a.settings.confidence + a.settings.iterations, 99 + 7);
    ASSERT_EQ(a.data.filters.size(), 3u); // in the order given
    EXPECT_EQ(a.data.filters[0].variable + a.data.filters[0].value, "s1");
    EXPECT_TRUE(a.data.filters[1].range);
    EXPECT_EQ(a.data.filters[1].min + a.data.filters[1].max, "12");
    EXPECT_EQ(a.data.filters[2].value, "above");
    EXPECT_TRUE(a.elevation && a.elevationPairs && a.shift && !a.shiftPairs && !a.slopePairs);
    EXPECT_EQ(a.outputFile, ""); // -o -: standard output
}

TEST(CommandLine, EveryPairOfTheRunsFilesMustDiffer)
{
    // Each pair of the files a run reads and writes named alike: refused before anything is read.
    const std::vector<const char*> options = {"DATAFILE", "-o", "--save", "--plot-file", "--residual-plot", "--json"};
    for (std::size_t i = 0; i < options.size(); ++i)
        for (std::size_t j = i + 1; j < options.size(); ++j) {
            std::vector<const char*> args = {"-y", "a", "-x", "b", "--elevation"};
            for (std::size_t k : {i, j})
                if (k > 0)
                    args.insert(args.end(), {options[k], "same.svg"});
            args.push_back(i == 0 ? "same.svg" : "data.txt");
            try {
                runFromOptions(parse(args));
                ADD_FAILURE() << options[i] << " and " << options[j] << " accepted";
            } catch (const UsageError& e) {
                EXPECT_NE(std::string(e.what()).find("same.svg: that is the"), std::string::npos) << e.what();
            }
        }
}

TEST(WholeLines, OnlyEndedLinesArePassedOn)
{
    std::ostringstream to;
    {
        WholeLines lines(to.rdbuf());
        std::ostream out(&lines);
        const struct {
            const char* written;
            const char* passedOn; // after a flush
        } steps[] = {{"Groups (removed):\t", ""},
                     {"d\t", ""},
                     {"\nNo. groups:", "Groups (removed):\td\t\n"},
                     {"\t2\nA\nB", "Groups (removed):\td\t\nNo. groups:\t2\nA\n"}};
        for (const auto& step : steps) {
            out << step.written << std::flush;
            EXPECT_EQ(to.str(), step.passedOn) << step.written;
        }
        out.put('\n').put('C');
        EXPECT_EQ(to.str(), "Groups (removed):\td\t\nNo. groups:\t2\nA\nB\n");
    }
    EXPECT_EQ(to.str(), "Groups (removed):\td\t\nNo. groups:\t2\nA\nB\nC"); // the rest when done
    std::ofstream closed; // its buffer takes nothing
    WholeLines failing(closed.rdbuf());
    std::ostream out(&failing);
    EXPECT_TRUE(out << "begun");
    EXPECT_FALSE(out << " and ended\n");
}

TEST(ProgressLine, LargeStagesDrawnInPlaceAndErased)
{
    // The clock moves by the row's step before each advance; done -1 clears the line.
    const std::string r = "\rkorvel: resampling: ", c = "\rkorvel: counting the lines: ";
    const auto erase = [](std::size_t n) { return "\r" + std::string(n, ' ') + "\r"; };
    const struct {
        Stage stage;
        long long total;
        double work, step;
        std::vector<long long> done;
        std::string drawn;
    } rows[] = {
        {Stage::Resampling, 99, 999, 1, {10, 99}, ""}, // below the threshold of 1000
        {Stage::Resampling, 99, 1000, 2, {0, 33, -1, 90},
         r + "0 of 99" + r + "33 of 99, 8 s left" + erase(38) + r + "90 of 99, 1 s left" + erase(38)},
        {Stage::Counting, 2500000, 2.5e6, 30, {500000, 2000000},
         c + "0.5 of 2.5 MB, 2 min 0 s left" + c + "2.0 of 2.5 MB, 15 s left     " + erase(57)},
        {Stage::Reading, 0, 0, 1, {99, 150}, "\rkorvel: reading the data: 0.0 MB" + erase(32)}, // past 100 bytes
    };
    for (const auto& row : rows) {
        double now = 0;
        std::ostringstream out;
        ProgressLine line(out, {100, 1000}, [&now] { return now; });
        line.begin(row.stage, row.total, row.work);
        for (long long done : row.done) {
            now += row.step;
            done < 0 ? line.clear() : line.advance(done);
        }
        line.end();
        EXPECT_EQ(out.str(), row.drawn) << row.work;
    }
}
