// Guarded distribution functions: NaN outside the domain, and F quantiles
// that stay finite for very large groups.
#include <cmath>

#include <gtest/gtest.h>

#include "distributions.h"

TEST(Distributions, OutsideTheDomainGivesNaN)
{
    EXPECT_TRUE(std::isnan(fdistQ(2.0, 1, 0)));
    EXPECT_TRUE(std::isnan(fdistQ(-0.5, 1, 10)));
    EXPECT_TRUE(std::isnan(fdistPinv(0.95, 1, -1)));
    EXPECT_TRUE(std::isnan(tdistPinv(0.975, 0)));
    EXPECT_TRUE(std::isnan(tdistP(NAN, 5)));
    EXPECT_TRUE(std::isnan(chisqQ(1.0, -1)));
    EXPECT_TRUE(std::isnan(chisqQinv(1.5, 1)));
}

TEST(Distributions, FQuantilesForVeryLargeGroups)
{
    // scipy.stats.f.ppf(0.95, 1, d) and f.ppf(0.90, 1, d); the library alone
    // gives NaN for these degrees of freedom.
    EXPECT_NEAR(fdistPinv(0.95, 1, 99998), 3.8415518154339106, 1e-9);
    EXPECT_NEAR(fdistPinv(0.90, 1, 999989), 2.7055484665860448, 1e-9);
    EXPECT_NEAR(fdistQinv(0.05, 1, 999989), 3.8414681196369327, 1e-9);
    // Small degrees of freedom keep the library's own value:
    // scipy.stats.f.ppf(0.95, 1, 10) = 4.9646027437307128.
    EXPECT_NEAR(fdistPinv(0.95, 1, 10), 4.9646027437307128, 1e-10);
}
