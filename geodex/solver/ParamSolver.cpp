#include "geodex/solver/ParamSolver.h"

#include <cstdio>

#include "geodex/AngleConstants.h"
#include "geodex/DatumTransformer.h"
#include "numera/LevmarDif.h"

namespace Orvale::Geodex {

Numera::EquationSolver ParamSolver::solver;

namespace {

// Sets the solver's counts, clears the figures of any earlier solve, minimises and prints the report.
int solve(Numera::LevmarModel model, double* params, double* data, double* target, int m, int n) {
    ParamSolver::solver.paramCount = m;
    ParamSolver::solver.measurementCount = n;
    for (double& v : ParamSolver::solver.info) v = 0;
    int result = -1;
    if (!params || !data || !target)
        std::fprintf(stderr, "ParamSolver: missing parameter, point or measurement array\n");
    else
        result = Numera::dlevmar_dif(model, params, target, m, n, ParamSolver::solver.maxIterations,
                                     ParamSolver::solver.options, ParamSolver::solver.info, nullptr, nullptr,
                                     data);
    ParamSolver::solver.printReport(m, params);
    return result;
}

}  // namespace

ParamSolver::ParamSolver() = default;
ParamSolver::~ParamSolver() = default;
ParamSolver& ParamSolver::operator=(const ParamSolver&) { return *this; }

int ParamSolver::SolveParamSeven(double* params, double* source, double* target, int n) {
    return solve(sevenParamModel, params, source, target, 7, n);
}

int ParamSolver::SolveParamFour(double* params, double* source, double* target, int n) {
    solver.paramCount = 4;
    solver.measurementCount = n;
    return solver.minimize(params, source, target);
}

int ParamSolver::SolveParamElevation(double* params, double* points, double* heights, int m, int n) {
    return solve(elevationModel, params, points, heights, m, n);
}

// The transformer's seven-parameter formula (translation plus (1 + scale)·Rz·Ry·Rx) on each point.
void ParamSolver::sevenParamModel(double* p, double* hx, int /*m*/, int n, void* adata) {
    const double* source = static_cast<const double*>(adata);
    DatumTransformer shift;
    shift.SetTransformMethod(1);
    shift.SetTransformParams(p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
    for (int k = 0; k + 2 < n; k += 3)
        shift.GeocentricShiftFromWGS84(source[k], source[k + 1], source[k + 2], hx[k], hx[k + 1], hx[k + 2]);
}

// The transformer's printing four-parameter plane formula (method 1) on each point.
void ParamSolver::fourParamModel(double* p, double* hx, int /*m*/, int n, void* adata) {
    const double* source = static_cast<const double*>(adata);
    DatumTransformer plane;
    plane.SetPlaneAdjustMethod(1);
    plane.SetPlaneAdjustParams(p[0], p[1], p[2] / kArcSecond, p[3], 0, 0);
    for (int k = 0; k + 1 < n; k += 2) plane.PlaneAdjusting(source[k], source[k + 1], hx[k], hx[k + 1]);
}

// The surfaces of EleAdjusting methods 1 to 3 (evaluated on a height of 0), selected by the number of
// coefficients; any other count gives 0.
void ParamSolver::elevationModel(double* p, double* hx, int m, int n, void* adata) {
    const double* points = static_cast<const double*>(adata);
    double coef[6] = {0, 0, 0, 0, 0, 0};
    for (int k = 0; k < m && k < 6; ++k) coef[k] = p[k];
    DatumTransformer surface;
    surface.SetEleAdjustMethod(m == 1 ? 1 : m == 3 ? 2 : m == 6 ? 3 : 0);
    surface.SetEleAdjustParams(coef[0], coef[1], coef[2], coef[3], coef[4], coef[5]);
    for (int i = 0; i < n; ++i) {
        hx[i] = 0;
        surface.EleAdjusting(points[2 * i], points[2 * i + 1], &hx[i]);
    }
}

}  // namespace Orvale::Geodex
