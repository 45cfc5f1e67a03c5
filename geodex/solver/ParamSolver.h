#pragma once
#include "geodex/Export.h"
#include "numera/EquationSolver.h"

namespace Orvale::Geodex {

// Least-squares estimation of the library's transformation parameters from control points known in
// two systems, by Levenberg–Marquardt with a finite-difference Jacobian (numera/LevmarDif.h), with the
// settings of the shared `solver`. Every solve prints a report to standard output. Not reentrant: one
// solve at a time in the process.
//
// Return value of the solves: the number of iterations, or −1 when the problem cannot be solved
// (fewer measurements than unknowns, a missing array), with a message on standard error.
class GEODEX_EXPORT ParamSolver {
  public:
    ParamSolver();
    ~ParamSolver();
    ParamSolver& operator=(const ParamSolver& other);

    // Seven parameters in the order of ParamSeven: dx, dy, dz (metres), rx, ry, rz (radians), scale
    // difference. source and target hold n/3 points as X, Y, Z triples (metres); n = 3 per point.
    static int SolveParamSeven(double* params, double* source, double* target, int n);
    // Four parameters: shiftX, shiftY (metres), rotation (radians; PlaneAdjusting expects seconds of
    // arc), scale multiplier. source and target hold n/2 coordinate pairs; n = 2 per point. Returns 0
    // without solving or printing when a pointer is null. Prints the plane-adjustment blocks at every
    // model evaluation.
    static int SolveParamFour(double* params, double* source, double* target, int n);
    // m coefficients (1, 3 or 6; the count selects the surface of EleAdjusting methods 1 to 3) fitted to
    // the n heights at the n coordinate pairs of points.
    static int SolveParamElevation(double* params, double* points, double* heights, int m, int n);

    // Model routines in the form the minimiser calls them: hx = model(p) for the source data in adata.
    static void sevenParamModel(double* p, double* hx, int m, int n, void* adata);
    static void fourParamModel(double* p, double* hx, int m, int n, void* adata);
    static void elevationModel(double* p, double* hx, int m, int n, void* adata);

    static Numera::EquationSolver solver;
};

}  // namespace Orvale::Geodex
