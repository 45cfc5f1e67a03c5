#include "geodex/projections/CoordinateTuple.h"

#include <cstring>

namespace Orvale::Geodex {

CoordinateTuple::CoordinateTuple(int type) : coordinateType_(type) {
    errorMessage_[0] = '\0';
    warningMessage_[0] = '\0';
}

CoordinateTuple::CoordinateTuple(int type, const char* warning) : CoordinateTuple(type) { setWarning(warning); }

CoordinateTuple::~CoordinateTuple() = default;

int CoordinateTuple::coordinateType() const { return coordinateType_; }
const char* CoordinateTuple::errorMessage() const { return errorMessage_; }
const char* CoordinateTuple::warningMessage() const { return warningMessage_; }

void CoordinateTuple::setWarning(const char* text) {
    warningMessage_[0] = '\0';
    if (text) {
        std::strncpy(warningMessage_, text, kMessageSize - 1);
        warningMessage_[kMessageSize - 1] = '\0';
    }
}

}  // namespace Orvale::Geodex
