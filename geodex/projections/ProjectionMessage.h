#pragma once

namespace Orvale::Geodex {

// Numbers of the projection messages; every text ends in a line feed.
enum MessageNumber : int {
    kMsgSemiMajorAxis = 19,
    kMsgInverseFlattening = 20,
    kMsgOriginLatitude = 22,
    kMsgCentralMeridian = 24,
    kMsgScaleFactor = 25,
    kMsgZone = 26,
    kMsgZoneOverride = 27,
    kMsgFirstStandardParallel = 28,
    kMsgSecondStandardParallel = 29,
    kMsgParallelsBothZero = 30,
    kMsgParallelsOpposite = 31,
    kMsgHemisphere = 41,
    kMsgTooFarFromCenter = 42,
    kMsgLatitude = 43,
    kMsgLongitude = 44,
    kMsgEasting = 45,
    kMsgNorthing = 46,
    kMsgProjectsIntoCircle = 47,
    kMsgDistortionWarning = 60,
};

// The text of message n, or an empty text for a number without one.
const char* ProjectionMessage(int n);

}  // namespace Orvale::Geodex
