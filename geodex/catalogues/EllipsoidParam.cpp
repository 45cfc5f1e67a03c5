#include "geodex/catalogues/EllipsoidParam.h"

namespace Orvale::Geodex {

EllipsoidParam::EllipsoidParam() : semiMajorAxis_(0), flattening_(0) { copyCode("   "); }

EllipsoidParam::EllipsoidParam(double a, double f, char* code) : semiMajorAxis_(a), flattening_(f) {
    copyCode(code);
}

EllipsoidParam::EllipsoidParam(const EllipsoidParam& other)
    : semiMajorAxis_(other.semiMajorAxis_), flattening_(other.flattening_) {
    copyCode(other.ellipsoidCode_);
}

EllipsoidParam& EllipsoidParam::operator=(const EllipsoidParam& other) {
    if (this != &other) {
        semiMajorAxis_ = other.semiMajorAxis_;
        flattening_ = other.flattening_;
        copyCode(other.ellipsoidCode_);
    }
    return *this;
}

EllipsoidParam::~EllipsoidParam() {
    semiMajorAxis_ = 0;
    flattening_ = 0;
    copyCode("   ");
}

double EllipsoidParam::semiMajorAxis() const { return semiMajorAxis_; }
double EllipsoidParam::flattening() const { return flattening_; }
const char* EllipsoidParam::ellipsoidCode() const { return ellipsoidCode_; }

void EllipsoidParam::setSemiMajorAxis(double a) { semiMajorAxis_ = a; }
void EllipsoidParam::setFlattening(double f) { flattening_ = f; }
void EllipsoidParam::setEllipsoidCode(char* const code) { copyCode(code); }

// Copies at most three characters (stopping at a terminator) and terminates; a null code is empty.
void EllipsoidParam::copyCode(const char* code) {
    int i = 0;
    for (; code && i < 3 && code[i] != '\0'; ++i) ellipsoidCode_[i] = code[i];
    ellipsoidCode_[i] = '\0';
}

}  // namespace Orvale::Geodex
