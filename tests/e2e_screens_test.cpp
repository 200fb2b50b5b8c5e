// End-to-end tests of the settings and data-input screens, the filter
// questions, the data-summary block of the report and the ways the program
// ends. Expected texts are the program's documented screen and report texts;
// counts of groups and records were worked out from the bundled data files.
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

const std::string kBad = "Bad entry, try again:\t";
const std::string kSep = std::string(100, '-') + "\n\n";
const std::string kGoodBye = "\nGoodBye\n";

std::string times(const std::string& text, int n)
{
    std::string all;
    for (int i = 0; i < n; ++i)
        all += text;
    return all;
}

struct Settings {
    std::string in = "input.txt", out = "output.txt", method = "SMA", icpt = "Yes", err = "No";
    std::string conf = "95", group = "6", resample = "Yes", iter = "1000", p = "0.05";
};

std::string settingsScreen(const Settings& s)
{
    return "\nKORVEL, v2.0\n\nCURRENT SETTINGS\n"
           "I - Input File:       " + s.in + "\nO - Output File:      " + s.out +
           "\nM - Method:           " + s.method + "\nT - inTercept:        " + s.icpt +
           "\nE - measuremet Error: " + s.err + "\nC - Confidence int:   " + s.conf +
           "%\nG - min Group size:   " + s.group + "\nR - Resample:         " + s.resample +
           "\nN - No. iterations:   " + s.iter + "\nP - critical P-value: " + s.p +
           "\n\nChoose a letter to change current setting. Press L to load data or x to exit\n";
}

struct InputScreen {
    std::string g = "none", y = "none", x = "none", f = "none ", t = "linear Y vs linear X", b = "none";
    std::string a = "none";  // empty: the intercept line is hidden
};

std::string inputScreen(const InputScreen& s)
{
    return "\nDATA INPUT - settings\nG - Grouping variable:  " + s.g + "\nY - y variable:         " + s.y +
           "\nX - x variable:         " + s.x + "\nF - Filter variable:    " + s.f +
           "\nT - Transformation:     " + s.t + "\nB - H0 slope:           " + s.b + "\n" +
           (s.a.empty() ? "" : "A - H0 intercept:       " + s.a + "\n") +
           "D - Display data        \nChoose a letter to change current setting. Press L to load data\n";
}

const std::string kCatsBlock =
    "SMA analysis\nFilename:\tinput.txt\nGrp:\tSex\tY: Hwt\tX: Bwt\n"
    "No. iterations:\t1000\tCritical p:\t0.05\tConf.interval:\t95%\nFilters:\n"
    "Filtered or empty data points:\t0\nGroups with less than 6 data points (removed):\t\n"
    "No. groups:\t2\nNo. datapoints:\t144\nMeasurement Error: Not included\n";

void withCats(const TempDir& d) { d.copyFromSource("examples/input.txt", "input.txt"); }

std::string sourceText(const std::string& relative)
{
    std::ifstream f(sourcePath(relative), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace

TEST(ScreensSettings, DefaultScreenThenExitLeavesNoReport)
{
    TempDir d;
    RunResult r = runKorvel(d, "x\n", 30);
    EXPECT_EQ(r.out, settingsScreen(Settings()) + kGoodBye);
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(d.exists("output.txt"));
}

TEST(ScreensSettings, EveryPromptRefusesBadEntriesAndKeepsTheGoodOne)
{
    TempDir d;
    RunResult r = runKorvel(d,
                            "C 0 101 95.5 -5 4294967346 100\nG 0 51 50\nP 1.01 5e-2 1\n"
                            "N -1 99999999999 4294967297 12\nM 3 2\nT 2 0\nE 3 1\nZ\nR 7 0\nXit\n",
                            30);
    const std::string next = "\nKORVEL, v2.0";
    EXPECT_NE(r.out.find("\nEnter confidence level (1-100) -> " + times(kBad, 5) + next), std::string::npos);
    EXPECT_NE(r.out.find("\nEnter minimum group size (1-50) -> " + times(kBad, 2) + next), std::string::npos);
    EXPECT_NE(r.out.find("\nEnter critical p value -> " + times(kBad, 2) + next), std::string::npos);
    EXPECT_NE(r.out.find("\nEnter no iterations -> " + times(kBad, 3) + next), std::string::npos);
    EXPECT_NE(r.out.find("Choose the type of line you wish to fit: \n\t0. OLS - Ordinary Least Squares "
                         "Regression\n\t1. SMA - standardised major axis (aka RMA)\n\t2. MA - major axis\n" +
                         kBad + next),
              std::string::npos);
    EXPECT_NE(r.out.find("Include intercept: \n\t0. No (force through origin)\n\t1. Yes (default)\n" + kBad + next),
              std::string::npos);
    EXPECT_NE(r.out.find("Include measurement error: \n\t0. No \n\t1. Yes\n" + kBad + next), std::string::npos);
    EXPECT_NE(r.out.find("p-value for common slope test calculated with resampling or chi-squared distn: "
                         "\n\t0. Chi-squared\n\t1. Resampling (default)\n" + kBad + next),
              std::string::npos);
    EXPECT_EQ(countOf(r.out, kBad), 16);
    EXPECT_NE(r.out.find("N - No. iterations:   12\n"), std::string::npos);
    Settings last;
    last.method = "MA", last.icpt = "No", last.err = "Yes", last.conf = "100", last.group = "50";
    last.resample = "No", last.iter = "na", last.p = "1";
    const std::string tail = settingsScreen(last) + kGoodBye;
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(d.exists("output.txt"));
}

TEST(ScreensDataInput, ScreenLinesVariableListAndRefusals)
{
    TempDir d;
    withCats(d);
    std::string big(400, '9');
    RunResult r = runKorvel(d,
                            "R 0\nL\nL\nY 3 -1 4294967298 2\nX 1\nG C 0\nB -1 1e3 " + big + " 1.5\nA 2\nL\nn\nx\n",
                            60);
    EXPECT_NE(r.out.find(inputScreen(InputScreen()) + "\nCan't load data because missing X or Y variable\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("Variable list\n0: Sex\t1: Bwt\t2: Hwt\t\n\nChoose Y variable\n" + times(kBad, 3) +
                         "\nDATA INPUT"),
              std::string::npos);
    EXPECT_NE(r.out.find("Choose grouping variables (press c to clear)\n" + kBad + "\nDATA INPUT"),
              std::string::npos);
    EXPECT_NE(r.out.find("\n Enter hypothesised slope value HO: b = " + times(kBad, 3) + "\nDATA INPUT"),
              std::string::npos);
    EXPECT_EQ(countOf(r.out, kBad), 7);
    InputScreen full;
    full.g = "Sex", full.y = "Hwt", full.x = "Bwt", full.b = "1.5", full.a = "2";
    EXPECT_NE(r.out.find(inputScreen(full)), std::string::npos);
    EXPECT_NE(r.out.find("\nRun comparisons for lines with common slope? (y or n)\n"), std::string::npos);
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensDataInput, InterceptOffHidesTheInterceptLineButAStillSetsIt)
{
    TempDir d;
    withCats(d);
    RunResult r = runKorvel(d, "R 0\nT 0\nL\nG 0\nY 2\nX 1\nA 3\nL\nn\nT 1\nL\n", 60);
    InputScreen hidden;
    hidden.a = "";
    EXPECT_NE(r.out.find(inputScreen(hidden)), std::string::npos);
    EXPECT_NE(r.out.find("\n Enter hypothesised intercept value HO: a = "), std::string::npos);
    InputScreen shown;
    shown.g = "Sex", shown.y = "Hwt", shown.x = "Bwt", shown.a = "3";
    EXPECT_NE(r.out.find(inputScreen(shown) + kGoodBye), std::string::npos);  // input ends on this screen
    EXPECT_EQ(d.read("output.txt").rfind("SMA analysis\t fitted through origin\nFilename:\tinput.txt\n", 0), 0u);
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensDataInput, TwoGroupingVariablesAndPagedDisplay)
{
    TempDir d;
    d.copyFromSource("tests/data/iris.txt", "iris.txt");
    RunResult r = runKorvel(d, "I iris.txt\nR 0\nL\nG 4\nG 3\nY 0\nX 1\nD\n" + times("\n", 8) + "L\nn\nx\n", 120);
    EXPECT_NE(r.out.find("G - Grouping variable:  Species Petal.Width\n"), std::string::npos);
    const std::string head = "Line\tGroups\tY\tX\tFilters\n";
    EXPECT_EQ(countOf(r.out, head), 8);  // 151 lines in pages of 21
    EXPECT_EQ(countOf(r.out, "\nPress enter to continue"), 8);
    EXPECT_NE(r.out.find(head + "0\tSpecies Petal.Width\tSepal.Length\tSepal.Width\t-\t\n"
                                "1\tsetosa 0.2\t5.1\t3.5\t-\t\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\n20\tsetosa 0.3\t5.1\t3.8\t-\t\n\nPress enter to continue" + head +
                         "21\tsetosa 0.2\t5.4\t3.4\t-\t\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\nPress enter to continue" + head + "147\tvirginica 1.9\t6.3\t2.5\t-\t\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\n150\tvirginica 1.8\t5.9\t3\t-\t\n\nPress enter to continue\nDATA INPUT - settings\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("Group setosa 0.1 erased with 5 elements\n"), std::string::npos);
    EXPECT_NE(r.out.find("Group virginica 2.5 erased with 3 elements\n"), std::string::npos);
    EXPECT_EQ(countOf(r.out, " erased with "), 16);
    const std::string report = d.read("output.txt");
    EXPECT_EQ(report.rfind("SMA analysis\nFilename:\tiris.txt\nGrp:\tSpecies Petal.Width\tY: Sepal.Length\t"
                           "X: Sepal.Width\n", 0), 0u);
    EXPECT_NE(report.find("Filtered or empty data points:\t0\nGroups with less than 6 data points (removed):\t"
                          "setosa 0.1\tsetosa 0.5\tsetosa 0.6\tversicolor 1.1\tversicolor 1.2\tversicolor 1.6\t"
                          "versicolor 1.7\tversicolor 1.8\tvirginica 1.4\tvirginica 1.5\tvirginica 1.6\t"
                          "virginica 1.7\tvirginica 1.9\tvirginica 2.2\tvirginica 2.4\tvirginica 2.5\t\n"
                          "No. groups:\t11\nNo. datapoints:\t111\n"),
              std::string::npos);
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensFilters, ScalarAndCategoricalQuestionsAndReportLines)
{
    TempDir d;
    d.copyFromSource("tests/data/iris.txt", "iris.txt");
    RunResult r = runKorvel(d, "I iris.txt\nR 0\nL\nG 4\nY 2\nX 3\nF 4\nF 0\nL\ns 5 7 n n y\nC y n n\nn\nL\nL\nn\nx\n",
                            120);
    EXPECT_NE(r.out.find("F - Filter variable:    Sepal.Length Species \n"), std::string::npos);
    const std::string isIt = "\n\n Is it:\n\tC - categorical\n\tS - scalar\n";
    EXPECT_NE(r.out.find("\nFiltering variable Sepal.Length\nValues:\t5.1 4.9 4.7 4.6 5 5.4 4.6 5 4.4 4.9 5.4 4.8 "
                         "4.8 4.3 5.8 5.7 5.4 5.1 5.7 5.1 5.4 5.1 4.6 5.1 4.8 5 5 5.2 5.2 " + isIt +
                         "Enter minimum: Enter maximum: Choose y or n:\nremove > 5 & < 7? remove < 5? remove > 7? "
                         "\nFiltering variable Species\nValues:\t" + times("setosa ", 29) + isIt +
                         "Choose y or n:\nremove setosa? remove versicolor? remove virginica? "),
              std::string::npos);
    EXPECT_EQ(countOf(r.out, "\nFiltering variable "), 2);  // not asked again for the second analysis
    const std::string block =
        "Filters:\nSepal.Length\t< 5 (1)\t> 5 & < 7 (1)\t> 7 (0)\t\nSpecies\tsetosa (0)\tversicolor (1)\t"
        "virginica (1)\t\nFiltered or empty data points:\t62\nGroups with less than 6 data points (removed):\t\n"
        "No. groups:\t2\nNo. datapoints:\t88\n";
    const std::string report = d.read("output.txt");
    EXPECT_EQ(countOf(report, block), 2);
    EXPECT_EQ(countOf(report, kSep), 2);
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensReport, DataSummaryBlockAppendedAnalysesAndRenamedReport)
{
    TempDir d;
    withCats(d);
    RunResult r = runKorvel(d, "R 0\nL\nG 0\nY 2\nX 1\nL\nn\nM 0\nL\nL\nn\nM 2\nO second.txt\nL\nL\nn\nx\n", 120);
    const std::string first = d.read("output.txt"), second = d.read("second.txt");
    EXPECT_EQ(first.rfind(kCatsBlock, 0), 0u);
    EXPECT_NE(first.find("\nComparisons of lines with common slope not run\n"), std::string::npos);
    EXPECT_EQ(countOf(first, kSep), 2);
    const auto cut = first.find(kSep);
    ASSERT_NE(cut, std::string::npos);
    const std::string olsHead = "OLS analysis\nFilename:\tinput.txt\nGrp:\tSex\tY: Hwt\tX: Bwt\n";
    EXPECT_EQ(first.compare(cut + kSep.size(), olsHead.size(), olsHead), 0);
    EXPECT_EQ(first.substr(first.size() - kSep.size()), kSep);
    EXPECT_EQ(countOf(first, "Filename:\t"), 2);
    EXPECT_EQ(second.rfind("MA analysis\nFilename:\tinput.txt\nGrp:\tSex\tY: Hwt\tX: Bwt\n", 0), 0u);
    EXPECT_EQ(countOf(second, "Filename:\t"), 1);
    EXPECT_EQ(countOf(second, kSep), 1);
    // The selections of the first analysis are offered again, unchanged, for the next two.
    EXPECT_EQ(countOf(r.out, "G - Grouping variable:  Sex\nY - y variable:         Hwt\n"
                             "X - x variable:         Bwt\n"),
              3);
    EXPECT_NE(r.out.find("O - Output File:      second.txt\n"), std::string::npos);
    EXPECT_EQ(countOf(r.out, "\nRun comparisons for lines with common slope? (y or n)\n") +
                  countOf(r.out, "\nRun post-hoc multiple slope comparisons between groups? (y or n)\n"),
              3);
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensReport, SmallGroupsRemoved)
{
    TempDir d;
    withCats(d);
    RunResult r = runKorvel(d, "R 0\nG 50\nL\nG 0\nY 2\nX 1\nL\nx\n", 60);
    EXPECT_NE(r.out.find("Group F erased with 47 elements\n"), std::string::npos);
    EXPECT_NE(d.read("output.txt").find("Filtered or empty data points:\t0\nGroups with less than 50 data points "
                                        "(removed):\tF\t\nNo. groups:\t1\nNo. datapoints:\t97\n"),
              std::string::npos);
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensReport, MeasurementErrorPromptsAndTransformHeaders)
{
    TempDir d;
    withCats(d);
    RunResult r = runKorvel(d, "R 0\nE 1\nL\nT 1\nY 2\nX 1\nL\nabc 0.01 0.02\nE 0\nL\nT 0\nL\nx\n", 60);
    EXPECT_NE(r.out.find("E - measuremet Error: Yes\n"), std::string::npos);
    EXPECT_NE(r.out.find("T - Transformation:     ln Y vs ln X\n"), std::string::npos);
    EXPECT_NE(r.out.find("T - Transformation:     log Y vs log X\n"), std::string::npos);
    EXPECT_NE(r.out.find("Enter error variance estimate for ln Bwt: " + kBad +
                         "Enter error variance estimate for ln Hwt: "),
              std::string::npos);
    const std::string report = d.read("output.txt");
    EXPECT_EQ(report.rfind("SMA analysis\t fitted using Methods of Moments\nFilename:\tinput.txt\nGrp:\tnone"
                           "\tY: ln Hwt\tX: ln Bwt\n", 0), 0u);
    EXPECT_NE(report.find("Measurement Error: Bwt = 0.01\tHwt = 0.02\n"), std::string::npos);
    EXPECT_NE(report.find(kSep + "SMA analysis\nFilename:\tinput.txt\nGrp:\tnone\tY: log Hwt\tX: log Bwt\n"),
              std::string::npos);
    EXPECT_EQ(countOf(report, "Measurement Error: Not included\n"), 1);
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensReport, ShortRecordsWarnAndDoNotShiftLaterRecords)
{
    TempDir d;
    d.write("short.txt", "grp\ty\tx\nA\t1\t2\nA\t2\nA\t3\t6\n\nA\t4\t8\textra\nA\t5\t10\nA\t6\t12\nA\t7\t14\nB\t9\n");
    RunResult r = runKorvel(d, "I short.txt\nR 0\nL\nG 0\nY 1\nX 2\nD\n\nL\nx\n", 60);
    EXPECT_EQ(countOf(r.out, "Warning: 2 line(s) of short.txt do not have 3 cells\n"), 1);
    EXPECT_NE(r.out.find("Line\tGroups\tY\tX\tFilters\n0\tgrp\ty\tx\t-\t\n1\tA\t1\t2\t-\t\n2\tA\t2\t\t-\t\n"
                         "3\tA\t3\t6\t-\t\n4\t\t\t\t-\t\n5\tA\t4\t8\t-\t\n6\tA\t5\t10\t-\t\n7\tA\t6\t12\t-\t\n"
                         "8\tA\t7\t14\t-\t\n9\tB\t9\t\t-\t\n\nPress enter to continue"),
              std::string::npos);
    EXPECT_NE(d.read("output.txt").find("Filtered or empty data points:\t3\nGroups with less than 6 data points "
                                        "(removed):\t\nNo. groups:\t1\nNo. datapoints:\t6\n"),
              std::string::npos);
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensEndings, FilesThatCannotBeOpened)
{
    {
        TempDir d;
        RunResult r = runKorvel(d, "I nosuch.txt\nL\n", 30);
        EXPECT_NE(r.err.find("File nosuch.txt not opened\n"), std::string::npos);
        EXPECT_EQ(r.out.find("DATA INPUT"), std::string::npos);
        EXPECT_FALSE(d.exists("output.txt"));
        EXPECT_EQ(r.status, 1);
    }
    TempDir d;
    withCats(d);
    RunResult r = runKorvel(d, "O missing/out.txt\nR 0\nL\nY 2\nX 1\nL\n", 30);
    EXPECT_NE(r.err.find("File missing/out.txt not opened\n"), std::string::npos);
    EXPECT_EQ(r.out.find("TEST FOR COMMON SLOPE"), std::string::npos);
    EXPECT_FALSE(d.exists("missing"));
    EXPECT_EQ(r.status, 1);
}

TEST(ScreensEndings, ReportNeverReplacesTheDataFile)
{
    const std::string cats = sourceText("examples/input.txt");
    ASSERT_EQ(countOf(cats, "\n"), 145);
    {
        TempDir d;
        withCats(d);
        RunResult r = runKorvel(d, "O input.txt\n./input.txt\nreport.txt\nR 0\nL\nY 2\nX 1\nL\nx\n", 60);
        EXPECT_NE(r.out.find("\nEnter name of output filename-> " + times(kBad, 2) + "\nKORVEL"), std::string::npos);
        EXPECT_NE(r.out.find("O - Output File:      report.txt\n"), std::string::npos);
        EXPECT_EQ(d.read("report.txt").rfind("SMA analysis\nFilename:\tinput.txt\n", 0), 0u);
        EXPECT_EQ(d.read("input.txt"), cats);
        EXPECT_EQ(r.status, 1);
    }
    const std::string paths[] = {"I other.txt\nO input.txt\nI input.txt\nR 0\nL\nY 2\nX 1\nL\n",
                                 "I other.txt\nR 0\nL\nY 2\nX 1\nL\nO input.txt\nI input.txt\nL\nY 2\nX 1\nL\n"};
    for (const std::string& input : paths) {
        TempDir d;
        withCats(d);
        d.copyFromSource("examples/input.txt", "other.txt");
        RunResult r = runKorvel(d, input, 60);
        EXPECT_EQ(r.out.find(kBad), std::string::npos) << input;
        EXPECT_NE(r.err.find("File input.txt not opened\n"), std::string::npos) << input;
        EXPECT_EQ(d.read("input.txt"), cats) << input;
        EXPECT_EQ(r.status, 1) << input;
    }
}

TEST(ScreensEndings, EndOfInputAtEveryKindOfReadSaysGoodBye)
{
    const std::string inputs[] = {
        "", "C", "G 0", "N 99999999999", "L", "L\nY", "L\nY 2\nX 1\nB", "L\nY 2\nX 1\nD\n",
        "I iris.txt\nL\nY 0\nX 1\nF 4\nL", "I iris.txt\nL\nY 0\nX 1\nF 4\nL\nC y",
        "I iris.txt\nL\nY 0\nX 1\nF 0\nL\ns 5", "E 1\nR 0\nL\nY 2\nX 1\nL", "E 1\nR 0\nL\nY 2\nX 1\nL\nabc",
        "R 0\nL\nG 0\nY 2\nX 1\nL"};
    for (const std::string& input : inputs) {
        TempDir d;
        withCats(d);
        d.copyFromSource("tests/data/iris.txt", "iris.txt");
        RunResult r = runKorvel(d, input, 30);
        EXPECT_EQ(r.status, 1) << input;
        ASSERT_GE(r.out.size(), kGoodBye.size()) << input;
        EXPECT_EQ(r.out.substr(r.out.size() - kGoodBye.size()), kGoodBye) << input;
        EXPECT_EQ(countOf(r.out, "\nGoodBye"), 1) << input;
    }
    // At the comparison question the report so far is on disk, without the closing separator.
    TempDir d;
    withCats(d);
    RunResult r = runKorvel(d, "R 0\nL\nG 0\nY 2\nX 1\nL\n", 30);
    const std::string report = d.read("output.txt");
    EXPECT_EQ(report.rfind(kCatsBlock, 0), 0u);
    EXPECT_NE(report.find("TEST FOR COMMON SLOPE ACROSS GROUPS\n"), std::string::npos);
    EXPECT_EQ(report.find(kSep), std::string::npos);
    EXPECT_EQ(r.status, 1);
}
