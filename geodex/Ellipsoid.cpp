#include "geodex/Ellipsoid.h"

namespace Orvale::Geodex {

Ellipsoid::Ellipsoid() : a(6378137.0), f(1.0 / 298.257223563) {}
Ellipsoid::Ellipsoid(double a_, double f_) : a(a_), f(f_) {}

double Ellipsoid::GetSemiMajorAxis() const { return a; }
double Ellipsoid::GetFlattening() const { return f; }
std::string Ellipsoid::GetName() const { return name; }

void Ellipsoid::SetSemiMajorAxis(double a_) { a = a_; }
void Ellipsoid::SetFlantening(double f_) { f = f_; }
void Ellipsoid::SetName(const std::string& n) { name = n; }

}  // namespace Orvale::Geodex
