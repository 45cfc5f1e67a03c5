#pragma once
// Settings and results of one least-squares solve, laid out as levmar's opts and info arrays
// (see numera/LevmarDif.h for their meaning).
#include "geodex/Export.h"

namespace Orvale::Numera {

class GEODEX_EXPORT EquationSolver {
  public:
    EquationSolver();

    // Fits the four-parameter plane model (shiftX, shiftY in metres, rotation in radians, scale
    // multiplier) of the paramCount values p to the measurementCount values x, with adata the source
    // coordinate pairs; then prints the report. Returns the iterations, −1 on failure, and 0 at once
    // (nothing solved or printed) when a pointer is null.
    int minimize(double* p, double* adata, double* x);

    // Writes the iterations, the stop reason, the count values of p and the initial and final squared
    // errors to standard output.
    void printReport(int count, const double* p);

    int paramCount;
    int measurementCount;
    double options[5];  // initial damping scale, stop thresholds on ‖Jᵀe‖∞, ‖Δp‖₂, ‖e‖₂, difference step
    double info[10];
    int maxIterations;
};

}  // namespace Orvale::Numera
