#pragma once
// Levenberg–Marquardt least squares with a finite-difference Jacobian, called as levmar's
// dlevmar_dif. The minimisation runs on GSL's gsl_multifit_nlinear (trust-region LM, QR solver,
// Moré scaling: D is diagonal with the largest norm each Jacobian column has had so far, so the
// damping is μ·DᵀD, not levmar's μ·I); this adapter keeps levmar's arguments, its information array
// and its return value.
//
// Arguments (as levmar):
//   func(p, hx, m, n, adata)  writes the n model values hx for the m parameters p;
//   p                         initial estimate on entry, solution on return (m values);
//   x                         the n measurements (NULL: all zero); minimised is ‖x − hx‖²;
//   itmax                     iteration limit;
//   opts                      5 values or NULL for levmar's defaults {1e-3, 1e-17, 1e-17, 1e-17, 1e-6};
//   info                      10 values or NULL;
//   work                      ignored (GSL allocates its own workspace);
//   covar                     ignored: no covariance is computed (the library passes NULL);
//   adata                     passed to func unchanged.
//
// How opts maps onto GSL:
//   opts[0]  τ, initial damping scale. Not passed on: GSL starts its damping at
//            μ₀ = 10⁻³·max(JᵀJ)ᵢᵢ, levmar's default τ, and updates it by Nielsen's rule like levmar.
//   opts[1]  ε₁: stop when ‖Jᵀe‖∞ ≤ ε₁ (tested by the adapter before every iteration).
//   opts[2]  ε₂: stop when ‖Δp‖₂ ≤ ε₂·‖p‖₂ (tested by the adapter after every accepted step).
//   opts[3]  ε₃: stop when ‖e‖₂ ≤ ε₃ (tested by the adapter before every iteration).
//   opts[4]  δ, finite-difference step, computed by the adapter as GSL does: the step for p_j is
//            δ·|p_j| (δ when p_j = 0); δ > 0 forward differences, δ < 0 central differences with |δ|.
//            δ = 0 takes levmar's default 1e-6. Each Jacobian costs m (central: 2m) evaluations of func;
//            forward differences reuse the model values at p.
//
// info (levmar's layout):
//   [0] ‖e‖₂² at the initial p        [1] ‖e‖₂² at the returned p      [2] ‖Jᵀe‖∞ at the returned p
//   [3] ‖Δp‖₂² of the last step       [4] μ / max(JᵀJ)ᵢᵢ, μ the last damping GSL used
//   [5] iterations (accepted steps)   [6] reason for stopping:
//        1 small gradient ‖Jᵀe‖∞ (ε₁)   2 small step ‖Δp‖₂ (ε₂)   3 itmax reached
//        4 GSL reported a singular system or another failure of the step
//        5 no further error reduction possible (GSL_ENOPROG: no acceptable step found)
//        6 small error ‖e‖₂ (ε₃)        7 func returned NaN or an infinite value
//   [7] evaluations of func (Jacobians included)   [8] Jacobian evaluations
//   [9] linear systems solved (one per trial step, accepted or not)
//
// Returns the number of iterations, or −1 (a message on standard error, p untouched) when the
// problem cannot be set up: func or p missing, m < 1, fewer measurements than unknowns (n < m), or
// GSL cannot allocate its workspace. Not reentrant with respect to GSL's error handler, which is
// switched off for the duration of the call and then restored.

#include "geodex/Export.h"

namespace Orvale::Numera {

using LevmarModel = void (*)(double* p, double* hx, int m, int n, void* adata);

GEODEX_EXPORT int dlevmar_dif(LevmarModel func, double* p, double* x, int m, int n, int itmax, double* opts,
                              double* info, double* work, double* covar, void* adata);

}  // namespace Orvale::Numera
