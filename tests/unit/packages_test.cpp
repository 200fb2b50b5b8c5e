// What the R and Python packages share: the values both read alike and the
// notes a call hands back.
#include <gtest/gtest.h>

#include "korvel/errors.h"
#include "packages/kept_messages.h"
#include "packages/option_values.h"
#include "packages/outcome_notes.h"

using namespace korvel;

TEST(PackageValues, ConfidenceFiltersAndFormats)
{
    // The confidence: whole percents from 1 to 99, as a run from options takes.
    const struct {
        double fraction;
        int percent; // 0: refused
    } confidences[] = {{0.95, 95}, {0.01, 1}, {0.99, 99}, {0.5, 50}, {0.953, 0}, {1.0, 0}, {0.0, 0}, {0.005, 0}, {-0.95, 0}};
    for (const auto& c : confidences) {
        if (c.percent != 0)
            EXPECT_EQ(confidencePercentOf("confidence", c.fraction), c.percent) << c.fraction;
        else
            EXPECT_THROW(confidencePercentOf("confidence", c.fraction), RequestError) << c.fraction;
    }
    try {
        confidencePercentOf("confidence", 0.953);
    } catch (const RequestError& e) {
        EXPECT_STREQ(e.what(), "confidence 0.953: not a fraction in whole percents from 0.01 to 0.99");
    }

    const FilterRequest value = filterOf({"Sex", "F"}, "");
    EXPECT_EQ(value.variable + "|" + value.value, "Sex|F");
    EXPECT_FALSE(value.range);
    const FilterRequest range = filterOf({"Bwt", "2.2", "3.5"}, "");
    EXPECT_EQ(range.variable + "|" + range.min + "|" + range.max, "Bwt|2.2|3.5");
    EXPECT_TRUE(range.range);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"Bwt"}, {"Bwt", "1", "2", "3"},
                                                 {"Bwt", "3", "2"}, {"Bwt", "2", "2"}, {"Bwt", "a", "2"}})
        EXPECT_THROW(filterOf(bad, "[variable, value] or [variable, min, max]"), RequestError) << bad.size();

    EXPECT_EQ(formatOf(""), DataFormat::ByContent);
    EXPECT_EQ(formatOf("csv"), DataFormat::Csv);
    EXPECT_EQ(formatOf("tsv"), DataFormat::Tsv);
    EXPECT_THROW(formatOf("xls"), RequestError);
}

TEST(PackageNotes, NotDoneAsKeywordsAndLinesOfMessages)
{
    const std::vector<std::string> notes =
        notDoneNotes({{"--slope-pairs", "the slopes do not differ"}, {"--elevation-pairs", "no shift"}});
    EXPECT_EQ(notes, (std::vector<std::string>{"slope_pairs: the slopes do not differ", "elevation_pairs: no shift"}));
    EXPECT_EQ(linesOf("one\ntwo\n"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(emptyFitNotes(Fit{}), (std::vector<std::string>{"no group left to analyse"}));
    // The reading's warning, from one short record up.
    Data data;
    data.headerCells = 3;
    EXPECT_TRUE(readingNotes(data, "f.txt").empty());
    data.shortRecords = 1;
    EXPECT_EQ(readingNotes(data, "f.txt"), (std::vector<std::string>{"Warning: 1 line(s) of f.txt do not have 3 cells"}));
}
