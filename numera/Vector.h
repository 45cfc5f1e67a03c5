#pragma once
// Dense vector of numbers (used with double) for the small products of the datum-shift and
// plane-adjustment formulas. Elements are addressed 0-based with [] and 1-based with ().
#include <cstddef>
#include <ostream>

#include "numera/Assert.h"

namespace Orvale::Numera {

template <typename Type>
class Vector {
  public:
    Vector();
    explicit Vector(int n);
    Vector(int n, const Type* values);  // copies n values
    Vector(int n, const Type& value);   // n copies of value
    Vector(const Vector<Type>& v);
    ~Vector();

    Vector<Type>& operator=(const Vector<Type>& v);
    // Adds v2 element by element (dimensions must agree) and returns a copy of the result.
    Vector<Type> operator+=(const Vector<Type>& v2);

    int size() const { return nRow; }
    int dim() const { return nRow; }
    // Changes the number of elements; the contents are undefined afterwards unless n is unchanged.
    Vector<Type>& resize(int n);

    Type& operator[](int i) { return pv0[i]; }  // 0-based
    const Type& operator[](int i) const { return pv0[i]; }
    Type& operator()(int i) { return pv0[i - 1]; }  // 1-based
    const Type& operator()(int i) const { return pv0[i - 1]; }

  private:
    void allocate(int n);
    void release();

    Type* pv0 = NULL;  // the n elements
    int nRow = 0;
};

// Element-wise sum into a new vector; the dimensions must agree.
template <typename Type>
Vector<Type> operator+(const Vector<Type>& v1, const Vector<Type>& v2);

// "size: n by 1", then one element per line, each followed by a blank.
template <typename Type>
std::ostream& operator<<(std::ostream& out, const Vector<Type>& v);

}  // namespace Orvale::Numera

#include "numera/vector-impl"
