// Writes the benchmark data file: a header line of variable names, then one
// tab-separated record per line. Column 0 is a group label (10 values),
// column 1 is Y, column 2 is X (two decimals), columns 3..9 are further
// numbers (one decimal): about 62 bytes a record. Each group
// has its own slope, so the test for a common slope rejects and the program
// goes on to ask about post-hoc comparisons.
//
// Usage: korvel_gen RECORDS OUTFILE
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s RECORDS OUTFILE\n", argv[0]);
        return 2;
    }
    const long long records = std::atoll(argv[1]);
    std::FILE* f = std::fopen(argv[2], "wb");
    if (f == nullptr) {
        std::perror(argv[2]);
        return 1;
    }
    static char buffer[1 << 20];
    std::setvbuf(f, buffer, _IOFBF, sizeof buffer);

    static const char* const labels[10] = {"alpha", "beta",  "gamma", "delta", "epsil",
                                           "zeta",  "eta",   "theta", "iota",  "kappa"};
    std::fprintf(f, "Site\tHwt\tBwt\tLen\tWid\tDep\tAge\tTemp\tMass2\tScore\n");
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 25.0);
    for (long long r = 0; r < records; ++r) {
        const int g = static_cast<int>(r % 10);
        const double x = 100.0 + 800.0 * unit(rng);
        const double slope = 0.8 + 0.05 * g;
        const double y = 50.0 + 10.0 * g + slope * x + noise(rng);
        std::fprintf(f, "%s\t%.2f\t%.2f", labels[g], y, x);
        for (int c = 3; c < 10; ++c)
            std::fprintf(f, "\t%.1f", 100.0 + 899.0 * unit(rng));
        std::fputc('\n', f);
    }
    if (std::fclose(f) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
