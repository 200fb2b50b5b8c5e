// Everything one analysis needs: the chosen data columns (as text), the
// line-fitting settings, the filter decisions and the hypothesised values.
// It lives for one run of the program and is never saved.
#pragma once

#include <map>
#include <string>
#include <vector>

struct profile {
    // Data columns by role: 0 grouping, 1 Y, 2 X, 3.. one per filter. A list is
    // either the single text "none" (role not chosen) or a whole column: its
    // element 0 is the variable name, element i the cell of data line i.
    std::vector<std::vector<std::string>> columns;
    std::string filename; // data file the columns were read from
    int n_lines = 0;      // lines of the data file, header included; 0 = not counted
    int transform = 2;    // 0 log10, 1 ln, otherwise none
    int method = 1;       // 0 OLS, 1 SMA, 2 MA
    int intercept = 1;    // 1 with intercept, 0 through the origin
    int meas_error = 0;   // 1 = correct for measurement error
    int n_iterations = 1000;
    int conf_level = 95;  // percent
    double crit_p = 0.05;
    int resample = 1;     // 1 resampling p-value, 0 chi-squared
    int min_group_size = 6;
    // One map per filter column (same order as columns from 3): cell text to
    // keep flag (1 keep the line, 0 remove it).
    std::vector<std::map<std::string, int>> filter_maps;
    double H0_b = 0.0; // hypothesised slope, 0 = none
    double H0_a = 0.0; // hypothesised intercept, 0 = none
};
