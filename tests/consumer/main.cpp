// A program outside the source tree that uses the installed library through its umbrella header.
#include <geodex/geodex.h>

#include <cmath>
#include <cstdio>

int main() {
    using namespace Orvale::Geodex;
    Geocentric g(6378137.0, 1 / 298.257223563);
    GeodeticCoordinates p(10, 0.0, 0.0, 0.0);
    CartesianCoordinates* c = g.toGeocentric(p);
    bool ok = std::fabs(c->x() - 6378137.0) < 1e-6;
    delete c;
    std::printf("consumer %s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
