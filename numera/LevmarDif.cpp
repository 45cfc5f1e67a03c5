#include "numera/LevmarDif.h"

#include <gsl/gsl_blas.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace Orvale::Numera {

namespace {

// levmar's defaults for a NULL opts.
const double kDefaultOptions[5] = {1e-3, 1e-17, 1e-17, 1e-17, 1e-6};

// The problem as GSL sees it, with the counters that fill levmar's info array.
struct Problem {
    LevmarModel func = nullptr;
    const double* x = nullptr;  // measurements, or NULL for zeros
    int m = 0, n = 0;
    void* adata = nullptr;
    double delta = 0;  // finite-difference step (negative: central differences)

    std::vector<double> p, hx, hxStep;  // scratch for func
    std::vector<double> lastP, lastHx;  // the latest evaluation at a point GSL asked for
    bool haveLast = false;
    bool invalid = false;  // func gave NaN or an infinite value
    long evaluations = 0, jacobians = 0, linearSolves = 0;
    double mu = 0;  // the largest diagonal element of the latest damping term μ·D²

    bool evaluate(double* at, double* out) {
        ++evaluations;
        std::fill(out, out + n, 0.0);
        func(at, out, m, n, adata);
        for (int i = 0; i < n; ++i)
            if (!std::isfinite(out[i])) return false;
        return true;
    }
    double measurement(int i) const { return x ? x[i] : 0.0; }
};

// Residual f = hx − x (GSL minimises ½‖f‖², the same as ‖x − hx‖²).
int residual(const gsl_vector* v, void* params, gsl_vector* f) {
    Problem& pr = *static_cast<Problem*>(params);
    for (int j = 0; j < pr.m; ++j) pr.p[j] = gsl_vector_get(v, j);
    if (!pr.evaluate(pr.p.data(), pr.hx.data())) {
        pr.invalid = true;
        return GSL_EBADFUNC;
    }
    for (int i = 0; i < pr.n; ++i) gsl_vector_set(f, i, pr.hx[i] - pr.measurement(i));
    pr.lastP = pr.p;
    pr.lastHx = pr.hx;
    pr.haveLast = true;
    return GSL_SUCCESS;
}

// Finite-difference Jacobian of hx with the step rule documented in the header.
int jacobian(const gsl_vector* v, void* params, gsl_matrix* J) {
    Problem& pr = *static_cast<Problem*>(params);
    ++pr.jacobians;
    for (int j = 0; j < pr.m; ++j) pr.p[j] = gsl_vector_get(v, j);
    const bool central = pr.delta < 0;
    const double delta = std::fabs(pr.delta);
    std::vector<double> base(pr.n);
    if (!central) {
        if (pr.haveLast && pr.lastP == pr.p) {
            base = pr.lastHx;
        } else if (!pr.evaluate(pr.p.data(), base.data())) {
            pr.invalid = true;
            return GSL_EBADFUNC;
        }
    }
    for (int j = 0; j < pr.m; ++j) {
        const double pj = pr.p[j];
        double h = delta * std::fabs(pj);
        if (h == 0) h = delta;
        pr.p[j] = pj + h;
        const double hUp = pr.p[j] - pj;  // the step actually taken in floating point
        bool ok = pr.evaluate(pr.p.data(), pr.hxStep.data());
        if (central) {
            pr.p[j] = pj - h;
            const double hDown = pj - pr.p[j];
            ok = ok && pr.evaluate(pr.p.data(), base.data());
            for (int i = 0; i < pr.n; ++i) gsl_matrix_set(J, i, j, (pr.hxStep[i] - base[i]) / (hUp + hDown));
        } else {
            for (int i = 0; i < pr.n; ++i) gsl_matrix_set(J, i, j, (pr.hxStep[i] - base[i]) / hUp);
        }
        pr.p[j] = pj;
        if (!ok) {
            pr.invalid = true;
            return GSL_EBADFUNC;
        }
    }
    return GSL_SUCCESS;
}

// GSL's QR solver, observed: the damping it is given and the number of systems it solves.
gsl_multifit_nlinear_solver observedSolver;

int observedPresolve(const double mu, const void* vtrust_state, void* vstate) {
    const auto* trust = static_cast<const gsl_multifit_nlinear_trust_state*>(vtrust_state);
    // The damping term is μ·D²; its largest diagonal element is what levmar's μ·I would be.
    double largestScale = 0;
    for (std::size_t j = 0; j < trust->diag->size; ++j)
        largestScale =
            std::max(largestScale, gsl_vector_get(trust->diag, j) * gsl_vector_get(trust->diag, j));
    static_cast<Problem*>(trust->fdf->params)->mu = mu * largestScale;
    return gsl_multifit_nlinear_solver_qr->presolve(mu, vtrust_state, vstate);
}

int observedSolve(const gsl_vector* f, gsl_vector* x, const void* vtrust_state, void* vstate) {
    const auto* trust = static_cast<const gsl_multifit_nlinear_trust_state*>(vtrust_state);
    ++static_cast<Problem*>(trust->fdf->params)->linearSolves;
    return gsl_multifit_nlinear_solver_qr->solve(f, x, vtrust_state, vstate);
}

double squaredNorm(const gsl_vector* v) {
    const double norm = gsl_blas_dnrm2(v);
    return norm * norm;
}

// ‖Jᵀf‖∞ and max (JᵀJ)ᵢᵢ of the current Jacobian and residual.
void gradientFigures(const gsl_matrix* J, const gsl_vector* f, double& gradientMax, double& diagonalMax) {
    gradientMax = 0;
    diagonalMax = 0;
    for (std::size_t j = 0; j < J->size2; ++j) {
        gsl_vector_const_view column = gsl_matrix_const_column(J, j);
        double g = 0;
        gsl_blas_ddot(&column.vector, f, &g);
        gradientMax = std::max(gradientMax, std::fabs(g));
        diagonalMax = std::max(diagonalMax, squaredNorm(&column.vector));
    }
}

class ErrorHandlerOff {
  public:
    ErrorHandlerOff() : previous_(gsl_set_error_handler_off()) {}
    ~ErrorHandlerOff() { gsl_set_error_handler(previous_); }
    ErrorHandlerOff(const ErrorHandlerOff&) = delete;
    ErrorHandlerOff& operator=(const ErrorHandlerOff&) = delete;

  private:
    gsl_error_handler_t* previous_;
};

}  // namespace

int dlevmar_dif(LevmarModel func, double* p, double* x, int m, int n, int itmax, double* opts, double* info,
                double* /*work*/, double* /*covar*/, void* adata) {
    if (!func || !p || m < 1) {
        std::fprintf(stderr, "dlevmar_dif(): missing model function or parameters, or no unknowns [%d]\n", m);
        return -1;
    }
    if (n < m) {
        std::fprintf(
            stderr, "dlevmar_dif(): cannot solve a problem with fewer measurements [%d] than unknowns [%d]\n",
            n, m);
        return -1;
    }
    const double* o = opts ? opts : kDefaultOptions;
    const double eps1 = o[1], eps2 = o[2], eps3 = o[3];

    ErrorHandlerOff handlerOff;
    Problem pr;
    pr.func = func;
    pr.x = x;
    pr.m = m;
    pr.n = n;
    pr.adata = adata;
    pr.delta = o[4] == 0 ? kDefaultOptions[4] : o[4];
    pr.p.assign(p, p + m);
    pr.hx.resize(n);
    pr.hxStep.resize(n);

    observedSolver = *gsl_multifit_nlinear_solver_qr;
    observedSolver.presolve = observedPresolve;
    observedSolver.solve = observedSolve;
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    params.trs = gsl_multifit_nlinear_trs_lm;
    params.scale = gsl_multifit_nlinear_scale_more;
    params.solver = &observedSolver;
    params.h_df = std::fabs(pr.delta);

    gsl_multifit_nlinear_workspace* w =
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, std::size_t(n), std::size_t(m));
    gsl_vector* start = gsl_vector_alloc(m);
    if (!w || !start) {
        if (w) gsl_multifit_nlinear_free(w);
        if (start) gsl_vector_free(start);
        std::fprintf(stderr,
                     "dlevmar_dif(): cannot allocate the workspace for %d measurements and %d unknowns\n", n,
                     m);
        return -1;
    }
    for (int j = 0; j < m; ++j) gsl_vector_set(start, j, p[j]);

    gsl_multifit_nlinear_fdf fdf;
    std::memset(&fdf, 0, sizeof fdf);
    fdf.f = residual;
    fdf.df = jacobian;
    fdf.fvv = nullptr;
    fdf.n = std::size_t(n);
    fdf.p = std::size_t(m);
    fdf.params = &pr;

    int iterations = 0;
    int reason = 0;
    double initialError = 0, stepSquared = 0;
    const int initStatus = gsl_multifit_nlinear_init(start, &fdf, w);
    if (initStatus != GSL_SUCCESS) {
        // Only func can make the start fail once the workspace exists.
        reason = pr.invalid ? 7 : 4;
        initialError = pr.invalid ? NAN : 0;
    } else {
        initialError = squaredNorm(w->f);
        for (;;) {
            double gradientMax = 0, diagonalMax = 0;
            gradientFigures(w->J, w->f, gradientMax, diagonalMax);
            if (gradientMax <= eps1) {
                reason = 1;
                break;
            }
            if (std::sqrt(squaredNorm(w->f)) <= eps3) {
                reason = 6;
                break;
            }
            if (iterations >= itmax) {
                reason = 3;
                break;
            }
            const int status = gsl_multifit_nlinear_iterate(w);
            if (pr.invalid) {
                reason = 7;
                break;
            }
            if (status == GSL_ENOPROG) {
                reason = 5;
                break;
            }
            if (status != GSL_SUCCESS) {
                reason = 4;
                break;
            }
            ++iterations;
            stepSquared = squaredNorm(w->dx);
            if (stepSquared <= eps2 * eps2 * squaredNorm(w->x)) {
                reason = 2;
                break;
            }
        }
    }

    // The iterate kept by GSL is always the best point found; a failed start keeps p as given.
    if (initStatus == GSL_SUCCESS)
        for (int j = 0; j < m; ++j) p[j] = gsl_vector_get(w->x, j);
    if (info) {
        double gradientMax = 0, diagonalMax = 0;
        if (initStatus == GSL_SUCCESS) gradientFigures(w->J, w->f, gradientMax, diagonalMax);
        info[0] = initialError;
        info[1] = initStatus == GSL_SUCCESS ? squaredNorm(w->f) : initialError;
        info[2] = gradientMax;
        info[3] = stepSquared;
        info[4] = diagonalMax > 0 ? pr.mu / diagonalMax : 0.0;
        info[5] = iterations;
        info[6] = reason;
        info[7] = double(pr.evaluations);
        info[8] = double(pr.jacobians);
        info[9] = double(pr.linearSolves);
    }

    gsl_vector_free(start);
    gsl_multifit_nlinear_free(w);
    return iterations;
}

}  // namespace Orvale::Numera
