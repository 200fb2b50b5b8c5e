// Test runner: the numerical library's error handler is off, as in the program.
#include <gsl/gsl_errno.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    gsl_set_error_handler_off();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
