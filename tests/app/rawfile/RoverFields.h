#pragma once
// Every field of a rover point, for comparing a job read back with the job that was written.
#include <cmath>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>

#include "rawfile/JobModel.h"

inline auto roverFields(const RoverPoint& r) {
    return std::tie(r.name, r.antennaHeight, r.antennaMethod, r.antennaType, r.hrms, r.vrms, r.pdop,
                    r.solutionType, r.time, r.wgsLatitude, r.wgsLongitude, r.wgsHeight, r.duration, r.epochs,
                    r.gpsSatellites, r.glonassSatellites, r.gnssSatellites, r.baseName, r.baseWgsLatitude,
                    r.baseWgsLongitude, r.baseWgsHeight, r.baseAntennaType, r.baseAntennaHeight,
                    r.baseAntennaMethod, r.code, r.echoHeight, r.precisionX, r.precisionY, r.precisionH,
                    r.method, r.north, r.east, r.height, r.baseNorth, r.baseEast, r.baseHeight);
}

// Texts and integers equal, reals equal to the last bit (a NaN equals a NaN).
inline bool sameRoverFields(const RoverPoint& a, const RoverPoint& b) {
    auto same = [](const auto& x, const auto& y) {
        if constexpr (std::is_same_v<std::decay_t<decltype(x)>, double>)
            return std::memcmp(&x, &y, sizeof x) == 0 || (std::isnan(x) && std::isnan(y));
        else
            return x == y;
    };
    return std::apply(
        [&](const auto&... x) {
            return std::apply([&](const auto&... y) { return (same(x, y) && ...); }, roverFields(b));
        },
        roverFields(a));
}
