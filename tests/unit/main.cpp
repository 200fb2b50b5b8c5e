// Test runner: the numerical library's error handler is off, as the engine's
// calls leave it, for the tests that call the statistics directly.
#include <gtest/gtest.h>

#include "engine/numerical_errors.h"

int main(int argc, char** argv)
{
    korvel::quietNumericalErrors();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
