#pragma once

namespace Orvale::Geodex {

// Four-parameter plane adjustment of a local grid. extraParam1/2 are carried and copied only.
// A value-initialised object ({}) has every field 0; "no change" is planeScale = 1.0.
struct PlaneAdjustParam {
    double extraParam1;
    double extraParam2;
    double shiftX;      // metres, first plane coordinate
    double shiftY;      // metres, second plane coordinate
    double rotation;    // seconds of arc
    double planeScale;  // multiplier
};

// Coefficients of the height-correction surface (which ones a method uses: see EleAdjusting).
struct EleAdjustParam {
    double coef0;
    double coef1;
    double coef2;
    double coef3;
    double coef4;
    double coef5;
};

// Inclined-plane height correction: reference point (metres), constant offset (metres), slopes.
struct EleAdjustParamTGO {
    double originX;
    double originY;
    double constant;
    double slopeX;
    double slopeY;
};

// Stored, copied and returned as 32-bit integers; the library gives no enumerator a meaning.
enum CRS_Type : int {};
enum DIRECTION : int {};

}  // namespace Orvale::Geodex
