// Pieces of the common-slope test that are useful on their own.
#pragma once

#include <vector>

// Resamples asked for: N, with N below 1 taken as 1.
int resampleCount(int n_iterations);

// Decimals of the common-slope p-values: ceil(log10(N)), N below 1 taken as 1.
int pvalueDigits(int n_iterations);

// Shuffles the pool in place: for i = 1 .. size - 1, j = rand() % (i + 1),
// swap R[i] and R[j]. The C library generator is never seeded.
void shufflePool(std::vector<double>& R);
