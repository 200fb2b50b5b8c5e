#include "cli/command_line.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <sstream>

#include <CLI/CLI.hpp>

#include "plot/plot_file.h"
#include "data/entry_checks.h"
#include "data/number_text.h"

namespace korvel {

namespace {
// The options as typed; each is checked and converted after parsing, so
// that every bad value gets one message naming its option.
struct TypedOptions {
    std::string y, x, method, transform, confidence, minGroupSize, iterations, criticalP;
    std::string slopeH0, interceptH0, errorX, errorY, seed, adjust, format;
    std::vector<std::string> groups, removals, ranges;
    bool throughOrigin = false, chiSquared = false, help = false, version = false;
};

[[noreturn]] void bad(const std::string& option, const std::string& value, const std::string& why)
{
    throw UsageError(option + " " + value + ": " + why);
}

// A whole number as the options take it: digits only, from lo to hi.
unsigned long long wholeNumber(const std::string& option, const std::string& value, unsigned long long lo,
                               unsigned long long hi)
{
    unsigned long long number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || !isDigits(value) || ec != std::errc() || end != value.data() + value.size() || number < lo ||
        number > hi)
        bad(option, value, "not a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
    return number;
}

// A real number as the options take it: decimal, with an optional sign,
// fraction and exponent (number_text.h), from lo (and up to hi when finite).
double realNumber(const std::string& option, const std::string& value, double lo, double hi = INFINITY)
{
    const auto number = decimalValue(value);
    if (!number || *number < lo || *number > hi) {
        std::ostringstream range;
        range << "not a number";
        if (std::isfinite(lo))
            range << " from " << lo << (std::isfinite(hi) ? " to " : " up");
        if (std::isfinite(hi))
            range << hi;
        bad(option, value, range.str());
    }
    return *number;
}

// "VAR=VALUE": the variable and the value.
std::pair<std::string, std::string> assignment(const std::string& option, const std::string& text)
{
    const auto at = text.find('=');
    if (at == std::string::npos || at == 0)
        bad(option, text, "not VARIABLE=VALUE");
    return {text.substr(0, at), text.substr(at + 1)};
}

// The value whose option word is value, in the setting's table of names.
template <typename T, std::size_t N>
T oneOf(const std::string& option, const std::string& value, const SettingNames<T> (&names)[N])
{
    const std::optional<T> found = valueOfOption(names, value);
    if (!found)
        bad(option, value, "not one of " + optionWords(names));
    return *found;
}

// "--name=" with nothing after the equals sign would take the next word as its
// value; it is refused first.
void refuseEmptyValues(int argc, const char* const* argv)
{
    for (int i = 1; i < argc && std::string(argv[i]) != "--"; ++i) {
        const std::string word = argv[i];
        if (word.size() > 3 && word.compare(0, 2, "--") == 0 && word.back() == '=')
            throw UsageError("option " + word.substr(0, word.size() - 1) + " needs a value");
    }
}

// The filters in the order their options were given.
std::vector<FilterRequest> filtersInOrder(const CLI::App& app, const TypedOptions& typed)
{
    std::vector<FilterRequest> filters;
    std::size_t nextRemoval = 0, nextRange = 0;
    for (const CLI::Option* option : app.parse_order()) {
        if (option->get_name() == "--remove") {
            const auto [variable, value] = assignment("--remove", typed.removals[nextRemoval++]);
            filters.push_back({variable, value, "", "", false});
        } else if (option->get_name() == "--range") {
            const std::string text = typed.ranges[nextRange++];
            const auto [variable, limits] = assignment("--range", text);
            const auto colon = limits.find(':');
            const std::string min = limits.substr(0, colon), max = colon == std::string::npos ? "" : limits.substr(colon + 1);
            if (colon == std::string::npos || !decimalValue(min) || !decimalValue(max))
                bad("--range", text, "not VARIABLE=MIN:MAX");
            if (!(*decimalValue(min) < *decimalValue(max)))
                bad("--range", text, "the minimum " + min + " not below the maximum " + max);
            filters.push_back({variable, "", min, max, true});
        }
    }
    return filters;
}

void addOptions(CLI::App& app, TypedOptions& t, Invocation& inv)
{
    AnalysisRequest& a = inv.analysis;
    app.set_help_flag();
    app.allow_extras();
    app.add_flag("-h,--help", t.help);
    app.add_flag("--version", t.version);
    app.add_option("DATAFILE", inv.dataFile);
    app.add_option("-y,--y", t.y)->take_last();
    app.add_option("-x,--x", t.x)->take_last();
    app.add_option("-g,--group", t.groups)->allow_extra_args(false);
    app.add_option("-m,--method", t.method)->take_last();
    app.add_option("-t,--transform", t.transform)->take_last();
    app.add_option("--format", t.format)->take_last();
    app.add_flag("--through-origin", t.throughOrigin);
    app.add_flag("--robust", a.settings.robust);
    app.add_option("--error-x", t.errorX)->take_last();
    app.add_option("--error-y", t.errorY)->take_last();
    app.add_option("-c,--confidence", t.confidence)->take_last();
    app.add_option("--min-group-size", t.minGroupSize)->take_last();
    app.add_flag("--chi-squared", t.chiSquared);
    app.add_option("-n,--iterations", t.iterations)->take_last();
    app.add_option("-p,--critical-p", t.criticalP)->take_last();
    app.add_option("--adjust", t.adjust)->take_last();
    app.add_option("--slope-h0", t.slopeH0)->take_last();
    app.add_option("--intercept-h0", t.interceptH0)->take_last();
    app.add_option("--remove", t.removals)->allow_extra_args(false);
    app.add_option("--range", t.ranges)->allow_extra_args(false);
    app.add_flag("--slope-pairs", a.slopePairs);
    app.add_flag("--elevation", a.elevation);
    app.add_flag("--elevation-pairs", a.elevationPairs);
    app.add_flag("--shift", a.shift);
    app.add_flag("--shift-pairs", a.shiftPairs);
    app.add_option("--save", a.saveFile)->take_last();
    app.add_option("-o,--output", a.outputFile)->take_last();
    app.add_flag("--plot", inv.plot);
    app.add_flag("--vector", inv.vector);
    app.add_option("--plot-file", a.plotFile)->take_last();
    app.add_option("--json", a.jsonFile)->take_last();
    app.add_option("--residual-plot", a.residualPlotFile)->take_last();
    app.add_option("--seed", t.seed)->take_last();
    app.add_flag("-q,--quiet", a.quiet);
}

// The analysis settings from the typed options; defaults are the dialogue's.
void convertSettings(const CLI::App& app, const TypedOptions& t, AnalysisRequest& a)
{
    AnalysisSettings& s = a.settings;
    if (!t.method.empty())
        s.method = oneOf("--method", t.method, methodNames);
    if (!t.transform.empty())
        s.transform = oneOf("--transform", t.transform, transformNames);
    if (!t.format.empty())
        a.data.format = oneOf("--format", t.format, dataFormatNames);
    s.intercept = !t.throughOrigin;
    const SettingLimits& l = settingLimits;
    // From options the confidence lies strictly between 0 and 100: at 100 the limits are infinite.
    if (!t.confidence.empty())
        s.confidence =
            static_cast<int>(wholeNumber("--confidence", t.confidence, l.confidenceLow, l.confidenceHighFromOptions));
    if (!t.minGroupSize.empty())
        s.minGroupSize =
            static_cast<int>(wholeNumber("--min-group-size", t.minGroupSize, l.minGroupSizeLow, l.minGroupSizeHigh));
    if (!t.iterations.empty())
        s.iterations = static_cast<int>(wholeNumber("--iterations", t.iterations, l.iterationsLow, INT_MAX));
    s.pvalueFrom = t.chiSquared ? PValueFrom::ChiSquared : PValueFrom::Resampling;
    if (!t.adjust.empty())
        s.adjustment = oneOf("--adjust", t.adjust, adjustmentNames);
    if (!t.criticalP.empty())
        s.criticalP = realNumber("--critical-p", t.criticalP, l.criticalPLow, l.criticalPHigh);
    // Any finite number is a hypothesis, 0 and negative numbers included.
    const auto hypothesis = [](const std::string& option, const std::string& value) -> std::optional<double> {
        if (value.empty())
            return std::nullopt;
        return realNumber(option, value, -INFINITY);
    };
    s.slopeH0 = hypothesis("--slope-h0", t.slopeH0);
    s.interceptH0 = hypothesis("--intercept-h0", t.interceptH0);
    if (t.errorX.empty() != t.errorY.empty())
        throw UsageError("options --error-x and --error-y go together");
    s.measurementError = !t.errorX.empty();
    if (s.measurementError) {
        a.errors.x = realNumber("--error-x", t.errorX, 0);
        a.errors.y = realNumber("--error-y", t.errorY, 0);
    }
    a.data.filters = filtersInOrder(app, t);
    a.elevation = a.elevation || a.elevationPairs;
    a.shift = a.shift || a.shiftPairs;
    checkRequest(a);
    if (a.outputFile == "-")
        a.outputFile.clear(); // standard output
    // Standard output holds one of the report, the results file and the saved scores.
    for (const auto& [option, name] : {std::pair{"--json", a.jsonFile}, {"--save", a.saveFile}})
        if (name == "-" && a.outputFile.empty())
            throw UsageError(std::string("option ") + option +
                             " -: standard output holds the report; name a report file with -o");
    if (a.jsonFile == "-" && a.saveFile == "-")
        throw UsageError("option --save -: standard output holds the results file (--json -)");
    for (const auto& [option, name] : {std::pair{"--plot-file", a.plotFile}, {"--residual-plot", a.residualPlotFile}})
        if (!name.empty() && !plotFormatOf(name))
            bad(option, name, "not a .svg, .pdf or .png file");
}

// The first word left over names the unknown option (or the argument too many).
void refuseLeftovers(const CLI::App& app)
{
    bool afterDashes = false;
    for (const std::string& word : app.remaining()) {
        if (word == "--" && !afterDashes) {
            afterDashes = true;
            continue;
        }
        const bool option = !afterDashes && word.size() > 1 && word[0] == '-';
        throw UsageError((option ? "unrecognized option " : "unexpected argument ") + word);
    }
}

// Options that only a run from options takes.
void refuseInDialogue(const CLI::App& app)
{
    for (const char* name : {"-x", "-y", "--format", "--group", "--method", "--transform", "--through-origin",
                             "--robust", "--error-x", "--error-y", "--confidence", "--min-group-size", "--chi-squared", "--iterations",
                             "--critical-p", "--adjust", "--slope-h0", "--intercept-h0", "--remove", "--range",
                             "--slope-pairs", "--elevation", "--elevation-pairs", "--shift", "--shift-pairs", "--save",
                             "--output", "--json", "--plot-file", "--residual-plot", "--quiet"})
        if (app.count(name) > 0)
            throw UsageError(std::string("option ") + (app.get_option(name)->get_name()) +
                             " needs both -y and -x (a run without questions)");
}
} // namespace

Invocation parseCommandLine(int argc, const char* const* argv)
{
    refuseEmptyValues(argc, argv);
    CLI::App app{"korvel"};
    TypedOptions typed;
    Invocation inv;
    addOptions(app, typed, inv);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        throw UsageError(e.what());
    }
    refuseLeftovers(app);
    if (typed.help) {
        inv.mode = Invocation::Help;
        return inv;
    }
    if (typed.version) {
        inv.mode = Invocation::Version;
        return inv;
    }
    // The generator's seed is an unsigned 32-bit number; 0 is refused, as the C library would read it as 1.
    if (!typed.seed.empty())
        inv.seed = static_cast<std::uint32_t>(wholeNumber("--seed", typed.seed, 1, UINT32_MAX));
    if (typed.y.empty() != typed.x.empty())
        throw UsageError(typed.y.empty() ? "option -x needs -y too" : "option -y needs -x too");
    if (typed.y.empty()) {
        refuseInDialogue(app);
        return inv;
    }
    inv.mode = Invocation::Analysis;
    if (inv.dataFile.empty())
        throw UsageError("a run with -y and -x needs a DATAFILE");
    inv.analysis.data.y = typed.y;
    inv.analysis.data.x = typed.x;
    inv.analysis.data.groups = typed.groups;
    convertSettings(app, typed, inv.analysis);
    return inv;
}

const char* helpText()
{
    return R"(Usage: korvel [OPTION]... [DATAFILE]
Fits OLS, SMA or MA lines to the groups of a data file (tab-separated, or
comma-separated when its name ends in .csv), tests them for a common slope and
compares the lines. With -y and -x, data that can be read only once (standard
input, a pipe) are comma-separated when their first line holds a comma and no
tab.

Without -y and -x: the interactive dialogue, with DATAFILE as its input file.
With -y and -x: one analysis of DATAFILE (- for standard input) with no
question asked; the report goes to standard output (or -o FILE), messages to
standard error.

  -h, --help               this text
      --version            the version
      --seed N             seed the resampling once at start, 1 to 4294967295
                           (default: the same resampling on every run)
      --plot               also write a plot of each analysis, STEM-K.svg beside
                           the report (korvel-K.svg when it goes to standard output)
      --vector             keep every marker of a figure a vector shape: past
                           20,000 points in a box, an SVG or PDF holds them as
                           one image otherwise

Options of a run without questions (defaults are the dialogue's). A whole
number N is digits only; any other number is decimal, with an optional sign,
fraction and exponent (-0.5, 1e-3):
  -y, --y VAR              Y variable: a header name, or a column number from 0
  -x, --x VAR              X variable
      --format F           tsv or csv: the data file's cells are separated by
                           tabs or commas, whatever its name or content
  -g, --group VAR          a grouping variable; repeat for several
  -m, --method M           ols, sma (default) or ma
  -t, --transform T        none (default), log10 or ln, of Y and X
      --through-origin     lines through the origin
      --robust             each group's location and scatter by Huber
                           M-estimation: a few wild points move no line
      --error-x V          measurement-error variance of X (with --error-y)
      --error-y V          measurement-error variance of Y
  -c, --confidence PCT     confidence level in percent, 1 to 99 (default 95)
      --min-group-size N   smaller groups are removed, 1 to 50 (default 6)
      --chi-squared        chi-squared p-value for the common slope (default:
                           resampling)
  -n, --iterations N       resampling iterations, from 1 (default 1000)
  -p, --critical-p P       critical p-value, 0 to 1 (default 0.05)
      --adjust METHOD      adjust the p-values of each table of pairs for their
                           number: none (default), holm, bonferroni or sidak
      --slope-h0 B         hypothesised slope: any number, 0 and negative ones
                           included (default: none)
      --intercept-h0 A     hypothesised intercept, likewise (not through the
                           origin)
      --remove VAR=VALUE   leave out the lines whose VAR is VALUE; repeat
      --range VAR=MIN:MAX  VAR is a scalar filter (MIN below MAX): its classes
                           below, between and above can be left out with
                           --remove VAR=CLASS
      --slope-pairs        compare every pair of slopes when the slopes differ
      --elevation          test the lines with a common slope for a shift in
                           elevation; --elevation-pairs with its pairs
      --shift              test them for a shift along the common slope;
                           --shift-pairs with its pairs
      --save FILE          save the transformed data (scores) to FILE (- :
                           standard output, with -o FILE); said on standard
                           error, with why, when the lines were not compared
  -o, --output FILE        write the report to FILE (- : standard output)
  -q, --quiet              show no progress: without it, long work (reading
                           some 10^6 lines, or resampling 10^8 points in all)
                           shows how far it is on standard error when that is
                           a terminal
      --json FILE          also write every number of the analysis as JSON to
                           FILE (- : standard output, with -o FILE)
      --plot-file FILE     write the plot to FILE: SVG, PDF or PNG by its
                           extension (.svg, .pdf, .png)
      --residual-plot FILE write the residual plot to FILE (the same formats):
                           residual-axis against fitted-axis scores, and a
                           normal quantile-quantile plot of the residuals

The files a run reads and writes must all be different files, links followed
(to files not written yet too) and hard links to one file counted as one. A
comparison asked for that does not apply (pairs of slopes that do not differ,
tests of lines whose slopes differ and their saved scores, pairs of a test that
found no shift) is named on standard error with the reason.

Exit status: 0 when the analysis ran; 1 when a file cannot be read or written
("korvel: FILE: REASON") or no group is left to analyse; 2 for a bad option
or value, or two of the files the same (the dialogue always ends with 1).

Example, on the cats shipped with the program (in share/korvel/examples under
its installation prefix: /usr for the Debian package):
  korvel -y Hwt -x Bwt -g Sex --transform log10 --elevation-pairs --plot \
         /usr/share/korvel/examples/input.txt
)";
}

} // namespace korvel
