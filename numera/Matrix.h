#pragma once
// Dense row-major matrix of numbers (used with double) for the small products of the datum-shift and
// plane-adjustment formulas. A[i][j] addresses 0-based, A(i, j) 1-based.
#include <cstddef>
#include <ostream>

#include "numera/Assert.h"
#include "numera/Vector.h"

namespace Orvale::Numera {

template <typename Type>
class Matrix {
  public:
    Matrix();
    Matrix(int rows, int cols);                      // zero-filled
    Matrix(int rows, int cols, const Type& value);   // every element = value
    Matrix(int rows, int cols, const Type* values);  // rows × cols values, row by row
    Matrix(const Matrix<Type>& A);
    ~Matrix();

    // Copies in place when the dimensions agree, otherwise reallocates; self-assignment does nothing.
    Matrix<Type>& operator=(const Matrix<Type>& A);

    int rows() const { return nRow; }
    int cols() const { return nColumn; }
    int size() const { return nTotal; }
    // Changes the dimensions; the contents are undefined afterwards unless they are unchanged.
    Matrix<Type>& resize(int rows, int cols);

    Type* operator[](int i) { return prow0[i]; }  // row i, 0-based
    const Type* operator[](int i) const { return prow0[i]; }
    Type& operator()(int i, int j) { return prow1[i][j - 1]; }  // 1-based
    const Type& operator()(int i, int j) const { return prow1[i][j - 1]; }

  private:
    void allocate(int rows, int cols);
    void release();

    Type* pv0 = NULL;     // rows × cols elements, row-major
    Type** prow0 = NULL;  // start of each row, addressed 0-based
    Type** prow1 = NULL;  // start of each row, addressed 1-based (entry 0 unused)
    int nRow = 0;
    int nTotal = 0;
    int nColumn = 0;
};

// Scalar times matrix, into a new matrix of the same dimensions.
template <typename Type>
Matrix<Type> operator*(const Type& x, const Matrix<Type>& A);

// Matrix times vector, into a new vector of A.rows() elements; A.cols() must equal b.dim().
template <typename Type>
Vector<Type> operator*(const Matrix<Type>& A, const Vector<Type>& b);

// Matrix times matrix, into a new A1.rows() × A2.cols() matrix; A1.cols() must equal A2.rows().
template <typename Type>
Matrix<Type> operator*(const Matrix<Type>& A1, const Matrix<Type>& A2);

// The products into an existing output, which is resized when needed.
template <typename Type>
Vector<Type>& prod(const Matrix<Type>& A, const Vector<Type>& b, Vector<Type>& c);
template <typename Type>
Matrix<Type>& prod(const Matrix<Type>& A, const Matrix<Type>& B, Matrix<Type>& C);

// "size: rows * cols", then one line per row, each element followed by a blank.
template <typename Type>
std::ostream& operator<<(std::ostream& out, const Matrix<Type>& A);

}  // namespace Orvale::Numera

#include "numera/matrix-impl"
