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

// Every operation through what it prints: a size line, then one line per element or row. Copies and
// assignments are deep (the original changes afterwards) and survive self-assignment.
TEST(VectorMatrix, OperationsCopiesAndAssignmentsGiveTheirResultsInPrintedForm) {
    const double a[] = {1, 2, 3, 4, 5, 6}, b[] = {1, 0, 2, 1, 0, 1}, x[] = {1, -1, 2}, tens[] = {10, 20, 30};
    const double fractions[] = {1.5, -2, 0.25, 1e-7};
    const Matrix<double> A(2, 3, a), B(3, 2, b);  // [1 2 3; 4 5 6] and [1 0; 2 1; 0 1]
    Vector<double> v(3, a), copy(v), assigned(5, 1.0);
    assigned = v;
    const Vector<double>& alias = assigned;
    assigned = alias;
    Matrix<double> square(2, 2), other(3, 1), copyA(A);  // keeps its storage, replaces it
    square = Matrix<double>(2, 2, a);
    other = square;
    const Matrix<double>& self = other;
    other = self;
    const Vector<double> w(3, tens), sum = (v += w);
    double row[9], ones[9];
    for (int i = 0; i < 9; ++i) row[i] = i + 1, ones[i] = 1;
    const std::pair<std::string, std::string> cases[] = {
        {printed(Vector<double>(2, a)), "size: 2 by 1\n1 \n2 \n"},
        {printed(Vector<double>(0, 0.0)), "size: 0 by 1\n"},
        {printed(copyA), "size: 2 * 3\n1 2 3 \n4 5 6 \n"},
        {printed(Matrix<double>(2, 2, fractions)), "size: 2 * 2\n1.5 -2 \n0.25 1e-07 \n"},
        {printed(2.0 * A), "size: 2 * 3\n2 4 6 \n8 10 12 \n"},
        {printed(A * Vector<double>(3, x)), "size: 2 by 1\n5 \n11 \n"},
        {printed(A * B), "size: 2 * 2\n5 5 \n14 11 \n"},
        {printed(v), "size: 3 by 1\n11 \n22 \n33 \n"},
        {printed(sum), "size: 3 by 1\n11 \n22 \n33 \n"},
        {printed(copy), "size: 3 by 1\n1 \n2 \n3 \n"},
        {printed(assigned), "size: 3 by 1\n1 \n2 \n3 \n"},
        {printed(square), "size: 2 * 2\n1 2 \n3 4 \n"},
        {printed(other), "size: 2 * 2\n1 2 \n3 4 \n"},
        {printed(Matrix<double>(1, 9, row) * Vector<double>(9, ones)), "size: 1 by 1\n45 \n"},
    };
    for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
    EXPECT_EQ(A(2, 3), 6);
    EXPECT_EQ(A[1][0], 4);
    EXPECT_EQ(v(1) + v[2], 44);
}

using VectorMatrixDeathTest = ::testing::Test;

TEST_F(VectorMatrixDeathTest, DimensionMismatchStopsNamingExpressionAndFile) {
    const Matrix<double> A(2, 3), B(2, 2);
    const Vector<double> b(2);
    Vector<double> c, three(3);
    Matrix<double> C;
    EXPECT_DEATH(A * b, "A\\.cols\\(\\) == b\\.dim\\(\\), file numera/matrix-impl");
    EXPECT_DEATH(A * B, "A1\\.cols\\(\\) == A2\\.rows\\(\\), file numera/matrix-impl");
    EXPECT_DEATH(prod(A, b, c), "b\\.size\\(\\) == N, file numera/matrix-impl");
    EXPECT_DEATH(prod(A, B, C), "B\\.rows\\(\\) == K, file numera/matrix-impl");
    EXPECT_DEATH(three + b, "N == v2\\.dim\\(\\), file numera/vector-impl");
    EXPECT_DEATH(three += b, "N == v2\\.dim\\(\\), file numera/vector-impl");
}
