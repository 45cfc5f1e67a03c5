#include "numera/EquationSolver.h"

#include <cstdio>

#include "geodex/solver/ParamSolver.h"
#include "numera/LevmarDif.h"

namespace Orvale::Numera {

EquationSolver::EquationSolver()
    : paramCount(0),
      measurementCount(0),
      options{1e-17, 1e-17, 1e-17, 1e-17, 1e-8},
      info{0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      maxIterations(1000) {}

int EquationSolver::minimize(double* p, double* adata, double* x) {
    if (!p || !adata || !x) return 0;
    // A solve that fails before starting must not report the figures of an earlier one.
    for (double& v : info) v = 0;
    const int result = dlevmar_dif(Geodex::ParamSolver::fourParamModel, p, x, paramCount, measurementCount,
                                   maxIterations, options, info, nullptr, nullptr, adata);
    printReport(paramCount, p);
    return result;
}

void EquationSolver::printReport(int count, const double* p) {
    std::printf("iteration %g \n", info[5]);
    std::printf("reason %g \n", info[6]);
    std::printf("solution: ");
    for (int i = 0; p && i < count; ++i) std::printf("%.16g,", p[i]);
    std::printf("\n\nMinimization info:\n");
    std::printf("initial error %g \n", info[0]);
    std::printf("terminal error %g \n", info[1]);
}

}  // namespace Orvale::Numera
