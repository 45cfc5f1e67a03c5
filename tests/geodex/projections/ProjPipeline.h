#pragma once
// A PROJ projection used as an independent oracle by the projection tests: angles in radians,
// lengths in metres, one point per call.
#include <proj.h>

#include <cmath>
#include <string>

class ProjPipeline {
  public:
    explicit ProjPipeline(const std::string& definition)
        : ctx_(proj_context_create()), pj_(proj_create(ctx_, definition.c_str())) {}
    ~ProjPipeline() {
        if (pj_) proj_destroy(pj_);
        proj_context_destroy(ctx_);
    }
    ProjPipeline(const ProjPipeline&) = delete;
    ProjPipeline& operator=(const ProjPipeline&) = delete;

    bool valid() const { return pj_ != nullptr; }
    PJ* get() const { return pj_; }

    // Longitude, latitude (radians) → x, y (metres); false when PROJ refuses the point.
    bool forward(double lambda, double phi, double& x, double& y) const {
        return run(PJ_FWD, lambda, phi, x, y);
    }
    // x, y (metres) → longitude, latitude (radians); false when PROJ refuses the point.
    bool inverse(double x, double y, double& lambda, double& phi) const {
        return run(PJ_INV, x, y, lambda, phi);
    }

  private:
    bool run(PJ_DIRECTION direction, double u, double v, double& outU, double& outV) const {
        proj_errno_reset(pj_);
        const PJ_COORD c = proj_trans(pj_, direction, proj_coord(u, v, 0, 0));
        outU = c.xy.x;
        outV = c.xy.y;
        return proj_errno(pj_) == 0 && std::isfinite(outU) && std::isfinite(outV) && outU != HUGE_VAL;
    }

    PJ_CONTEXT* ctx_;
    PJ* pj_;
};
