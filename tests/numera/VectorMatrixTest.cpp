#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "numera/Matrix.h"
#include "numera/Vector.h"

using Orvale::Numera::Matrix;
using Orvale::Numera::Vector;

namespace {
template <typename T>
std::string printed(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}
}  // namespace

TEST(Vector, PrintsSizeLineThenOneElementPerLine) {
    const double values[] = {1, 2};
    EXPECT_EQ(printed(Vector<double>(2, values)), "size: 2 by 1\n1 \n2 \n");
    EXPECT_EQ(printed(Vector<double>(0, 0.0)), "size: 0 by 1\n");
}

TEST(Matrix, PrintsSizeLineThenOneLinePerRow) {
    const double identity[] = {1, 0, 0, 1};
    EXPECT_EQ(printed(Matrix<double>(2, 2, identity)), "size: 2 * 2\n1 0 \n0 1 \n");
    const double wide[] = {1.5, -2, 3, 4, 5, 6};
    EXPECT_EQ(printed(Matrix<double>(2, 3, wide)), "size: 2 * 3\n1.5 -2 3 \n4 5 6 \n");
}

TEST(Vector, AddsAndAddsInPlace) {
    const double a[] = {1, 2, 3};
    const double b[] = {10, 20, 30};
    Vector<double> v(3, a);
    const Vector<double> w(3, b);
    EXPECT_EQ(printed(v + w), "size: 3 by 1\n11 \n22 \n33 \n");
    const Vector<double> result = (v += w);
    EXPECT_EQ(v(1), 11);
    EXPECT_EQ(v[2], 33);
    EXPECT_EQ(result[1], 22);
}

TEST(Vector, CopiesAndAssignsDeeply) {
    Vector<double> v(2, 7.0);
    Vector<double> copy(v);
    Vector<double> assigned(5, 1.0);
    assigned = v;
    v[0] = -1;
    EXPECT_EQ(copy[0], 7);
    EXPECT_EQ(assigned.dim(), 2);
    EXPECT_EQ(assigned[0], 7);
    const Vector<double>& alias = assigned;
    assigned = alias;
    EXPECT_EQ(assigned[1], 7);
}

TEST(Matrix, MultipliesByScalarVectorAndMatrix) {
    const double a[] = {1, 2, 3, 4, 5, 6};        // 2 × 3
    const double b[] = {1, 0, 2, 1, 0, 1, 3, 0};  // 3 × ... (first 6 used as 3 × 2)
    const double x[] = {1, -1, 2};
    const Matrix<double> A(2, 3, a);
    const Matrix<double> B(3, 2, b);
    EXPECT_EQ(printed(2.0 * A), "size: 2 * 3\n2 4 6 \n8 10 12 \n");
    EXPECT_EQ(printed(A * Vector<double>(3, x)), "size: 2 by 1\n5 \n11 \n");
    // [1 2 3; 4 5 6] · [1 0; 2 1; 0 1] = [5 5; 14 11]
    EXPECT_EQ(printed(A * B), "size: 2 * 2\n5 5 \n14 11 \n");
    EXPECT_EQ(A(2, 3), 6);
    EXPECT_EQ(A[1][0], 4);
}

TEST(Matrix, LongDotProductsUseEveryElement) {
    double row[9];
    double ones[9];
    for (int i = 0; i < 9; ++i) {
        row[i] = i + 1;
        ones[i] = 1;
    }
    EXPECT_EQ((Matrix<double>(1, 9, row) * Vector<double>(9, ones))[0], 45);
}

TEST(Matrix, AssignmentKeepsOrReplacesStorage) {
    const double a[] = {1, 2, 3, 4};
    const Matrix<double> A(2, 2, a);
    Matrix<double> same(2, 2);
    Matrix<double> other(3, 1);
    same = A;
    other = A;
    EXPECT_EQ(printed(same), printed(A));
    EXPECT_EQ(printed(other), printed(A));
    const Matrix<double>& alias = other;
    other = alias;
    EXPECT_EQ(printed(other), printed(A));
}

using VectorMatrixDeathTest = ::testing::Test;

TEST_F(VectorMatrixDeathTest, DimensionMismatchStopsNamingExpressionAndFile) {
    const Matrix<double> A(2, 3);
    const Vector<double> b(2);
    const Matrix<double> B(2, 2);
    EXPECT_DEATH(A * b, "A\\.cols\\(\\) == b\\.dim\\(\\), file numera/matrix-impl");
    EXPECT_DEATH(A * B, "A1\\.cols\\(\\) == A2\\.rows\\(\\), file numera/matrix-impl");
    Vector<double> c;
    EXPECT_DEATH(prod(A, b, c), "b\\.size\\(\\) == N, file numera/matrix-impl");
    Matrix<double> C;
    EXPECT_DEATH(prod(A, B, C), "B\\.rows\\(\\) == K, file numera/matrix-impl");
    Vector<double> three(3);
    EXPECT_DEATH(three + b, "N == v2\\.dim\\(\\), file numera/vector-impl");
    EXPECT_DEATH(three += b, "N == v2\\.dim\\(\\), file numera/vector-impl");
}
