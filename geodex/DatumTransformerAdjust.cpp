// DatumTransformer: plane (four-parameter) and elevation adjustments of a local grid.
#include <cmath>
#include <iostream>

#include "geodex/AngleConstants.h"
#include "geodex/DatumTransformer.h"
#include "numera/Matrix.h"
#include "numera/Vector.h"

namespace Orvale::Geodex {

namespace {
using Numera::Matrix;
using Numera::Vector;

struct PlaneTransform {
    Vector<double> translation;
    Vector<double> input;
    Matrix<double> rotation;
    Matrix<double> scaledRotation;
    Vector<double> output;
};

// out = shift + (m·R)·(x, y) with R the rotation by `rotation` seconds of arc about the grid origin.
PlaneTransform fourParameter(const PlaneAdjustParam& p, double x, double y) {
    const double theta = p.rotation * kArcSecond;
    const double shift[] = {p.shiftX, p.shiftY};
    const double point[] = {x, y};
    const double r[] = {std::cos(theta), -std::sin(theta), std::sin(theta), std::cos(theta)};
    PlaneTransform t{Vector<double>(2, shift), Vector<double>(2, point), Matrix<double>(2, 2, r),
                     Matrix<double>(), Vector<double>()};
    t.scaledRotation = p.planeScale * t.rotation;
    t.output = t.translation + t.scaledRotation * t.input;
    return t;
}
}  // namespace

// fourParameter without its matrices (run once per point): the same operations in the same order.
void DatumTransformer::planeAdjustKernel(double x, double y, double& xOut, double& yOut) const {
    const PlaneAdjustParam& p = planeAdjustParams;
    const double theta = p.rotation * kArcSecond;
    const double m = p.planeScale;
    const double m00 = m * std::cos(theta), m01 = m * -std::sin(theta);
    const double m10 = m * std::sin(theta), m11 = m * std::cos(theta);
    double sumX = 0, sumY = 0;
    sumX += m00 * x;
    sumX += m01 * y;
    sumY += m10 * x;
    sumY += m11 * y;
    xOut = p.shiftX + sumX;
    yOut = p.shiftY + sumY;
}

void DatumTransformer::planeAdjustKernelVerbose(double x, double y, double& xOut, double& yOut) const {
    const PlaneTransform t = fourParameter(planeAdjustParams, x, y);
    std::cout << t.translation << std::endl;
    std::cout << t.input << std::endl;
    std::cout << t.rotation << std::endl;
    std::cout << t.scaledRotation << std::endl;
    xOut = t.output[0];
    yOut = t.output[1];
}

void DatumTransformer::PlaneAdjusting(double x, double y, double& xOut, double& yOut) {
    if (planeAdjustMethod == 1) {
        planeAdjustKernelVerbose(x, y, xOut, yOut);
    } else if (planeAdjustMethod == 2) {
        planeAdjustKernel(x, y, xOut, yOut);
    } else {
        xOut = x;
        yOut = y;
    }
}

void DatumTransformer::EleAdjusting(double x, double y, double* h) {
    const EleAdjustParam& c = eleAdjustParams;
    const EleAdjustParamTGO& tgo = eleAdjustTGOParams;
    switch (eleAdjustMethod) {
        case 1:
            *h = *h + c.coef0;
            break;
        case 2:
            *h = c.coef0 * x + c.coef1 * y + c.coef2;
            break;
        case 3:
            *h = c.coef0 * x + c.coef1 * y + c.coef2 * x * x + c.coef3 * y * y + c.coef4 * x * y + c.coef5;
            break;
        case 4:
            *h = tgo.constant + tgo.slopeX * (x - tgo.originX) + tgo.slopeY * (y - tgo.originY);
            break;
        default:
            break;
    }
}

}  // namespace Orvale::Geodex
