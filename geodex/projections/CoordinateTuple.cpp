#include "geodex/projections/CoordinateTuple.h"

#include <cstring>

namespace Orvale::Geodex {

CoordinateTuple::CoordinateTuple(int type) : coordinateType_(type) {
    errorMessage_[0] = '\0';
    warningMessage_[0] = '\0';
}

CoordinateTuple::CoordinateTuple(int type, const char* warning) : CoordinateTuple(type) {
    setWarning(warning);
}

CoordinateTuple::~CoordinateTuple() = default;

int CoordinateTuple::coordinateType() const { return coordinateType_; }
const char* CoordinateTuple::errorMessage() const { return errorMessage_; }
const char* CoordinateTuple::warningMessage() const { return warningMessage_; }

void CoordinateTuple::setWarning(const char* text) {
    // Copies at most kMessageSize − 1 characters and terminates (no padding of the unused rest).
    std::size_t length = 0;
    if (text)
        while (length < kMessageSize - 1 && text[length] != '\0') ++length;
    if (length > 0) std::memcpy(warningMessage_, text, length);
    warningMessage_[length] = '\0';
}

}  // namespace Orvale::Geodex
