#include "stats/wald.h"

#include <cmath>
#include <limits>

#include <gsl/gsl_blas.h>
#include <gsl/gsl_linalg.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_permutation.h>
#include <gsl/gsl_vector.h>

#include "stats/distributions.h"

namespace korvel {

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// Owners of the numerical library's objects, released on every return.
struct Vector {
    gsl_vector* v;
    explicit Vector(std::size_t n, bool zero = true) : v(zero ? gsl_vector_calloc(n) : gsl_vector_alloc(n)) {}
    ~Vector() { gsl_vector_free(v); }
    Vector(const Vector&) = delete;
    Vector& operator=(const Vector&) = delete;
};
struct Matrix {
    gsl_matrix* m;
    Matrix(std::size_t r, std::size_t c, bool zero = true) : m(zero ? gsl_matrix_calloc(r, c) : gsl_matrix_alloc(r, c)) {}
    ~Matrix() { gsl_matrix_free(m); }
    Matrix(const Matrix&) = delete;
    Matrix& operator=(const Matrix&) = delete;
};
struct Permutation {
    gsl_permutation* p;
    explicit Permutation(std::size_t n) : p(gsl_permutation_alloc(n)) {}
    ~Permutation() { gsl_permutation_free(p); }
    Permutation(const Permutation&) = delete;
    Permutation& operator=(const Permutation&) = delete;
};

// Inverts a square matrix by LU decomposition; false when it is singular or
// not finite.
bool invert(const gsl_matrix* a, gsl_matrix* inverse)
{
    const std::size_t n = a->size1;
    Matrix lu(n, n, false);
    gsl_matrix_memcpy(lu.m, a);
    Permutation perm(n);
    int signum = 0;
    if (gsl_linalg_LU_decomp(lu.m, perm.p, &signum) != GSL_SUCCESS)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        const double pivot = gsl_matrix_get(lu.m, i, i);
        if (pivot == 0 || !std::isfinite(pivot))
            return false;
    }
    return gsl_linalg_LU_invert(lu.m, perm.p, inverse) == GSL_SUCCESS;
}

double elementSum(const gsl_vector* v)
{
    double total = 0;
    for (std::size_t i = 0; i < v->size; ++i)
        total += gsl_vector_get(v, i);
    return total;
}

// The group's score at B: of its means, the variance of its points' scores less
// the errors, and the derivative with respect to the slope.
AxisScore axisScore(const Estimator& estimator, const LineWithCommonSlope& line, ScoreAxis axis, double B)
{
    return {estimator.score(axis, line.yMean, line.xMean, B),
            axis == ScoreAxis::Residual ? line.residualVariance : line.fittedVariance,
            estimator.scoreSlopeDerivative(axis, line.yMean, line.xMean)};
}
} // namespace

std::vector<WaldGroup> waldGroups(const Estimator& estimator, const LinesWithCommonSlope& lines, ScoreAxis axis)
{
    std::vector<WaldGroup> terms;
    for (const LineWithCommonSlope& line : lines.groups)
        terms.push_back({axisScore(estimator, line, axis, lines.slope), line.varSlope, line.locationSize});
    return terms;
}

WaldTest waldTest(const Estimator& estimator, const LinesWithCommonSlope& lines, ScoreAxis axis, double criticalP)
{
    WaldTest test = waldTest(waldGroups(estimator, lines, axis), criticalP);
    test.axis = axis;
    return test;
}

WaldTest waldTest(const std::vector<WaldGroup>& groups, double criticalP)
{
    WaldTest result;
    const std::size_t g = groups.size();
    result.df = static_cast<int>(g) - 1;
    result.statistic = result.p = notANumber;
    if (g < 2)
        return result;
    const std::size_t k = g - 1;

    Vector m(g), v(g), h(g);
    double w = 0;
    bool tooSmall = false;
    std::size_t i = 0;
    for (const WaldGroup& gr : groups) {
        w += 1 / gr.varSlope;
        const double n = gr.n;
        tooSmall = tooSmall || !(gr.n > 2);
        gsl_vector_set(m.v, i, gr.score.mean);
        gsl_vector_set(v.v, i, gr.score.variance * (n - 1) / (n - 2) / n);
        gsl_vector_set(h.v, i, gr.score.slopeDerivative);
        ++i;
    }
    if (tooSmall)
        return result;
    const double varB = 1 / w;

    Matrix V(g, g, false);
    gsl_matrix_set_identity(V.m);
    for (std::size_t r = 0; r < g; ++r)
        for (std::size_t c = 0; c < g; ++c)
            gsl_matrix_set(V.m, r, c,
                           gsl_matrix_get(V.m, r, c) * gsl_vector_get(v.v, r) +
                               varB * gsl_vector_get(h.v, r) * gsl_vector_get(h.v, c));

    Matrix L(k, g);
    for (std::size_t r = 0; r < k; ++r) {
        gsl_matrix_set(L.m, r, 0, 1);
        gsl_matrix_set(L.m, r, r + 1, -1);
    }
    Vector d(k);
    gsl_blas_dgemv(CblasNoTrans, 1.0, L.m, m.v, 0.0, d.v);
    Matrix VLt(g, k);
    gsl_blas_dgemm(CblasNoTrans, CblasTrans, 1.0, V.m, L.m, 0.0, VLt.m);
    Matrix K(k, k);
    gsl_blas_dgemm(CblasNoTrans, CblasNoTrans, 1.0, L.m, VLt.m, 0.0, K.m);
    Matrix Kinv(k, k);
    if (!invert(K.m, Kinv.m))
        return result;
    Vector Kd(k);
    gsl_blas_dgemv(CblasNoTrans, 1.0, Kinv.m, d.v, 0.0, Kd.v);
    double W = 0;
    gsl_blas_ddot(d.v, Kd.v, &W);
    const double p = chisqQ(W, static_cast<double>(k));
    if (!(p > criticalP)) {
        result.statistic = W;
        result.p = p;
        return result;
    }
    // The means do not differ: their generalised-least-squares common value
    // (the whole result stays undefined when V cannot be inverted).
    Matrix Vinv(g, g);
    if (!invert(V.m, Vinv.m))
        return result;
    Vector ones(g, false);
    gsl_vector_set_all(ones.v, 1.0);
    Vector Vm(g), V1(g);
    gsl_blas_dgemv(CblasNoTrans, 1.0, Vinv.m, m.v, 0.0, Vm.v);
    gsl_blas_dgemv(CblasNoTrans, 1.0, Vinv.m, ones.v, 0.0, V1.v);
    result.statistic = W;
    result.p = p;
    result.commonValue = elementSum(Vm.v) / elementSum(V1.v);
    return result;
}

} // namespace korvel
