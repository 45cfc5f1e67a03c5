#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateType.h"

namespace Orvale::Geodex {

// Base of the coordinate values every conversion takes and returns (heap results owned by the caller).
class GEODEX_EXPORT CoordinateTuple {
  public:
    static const int kMessageSize = 500;  // including the terminator

    explicit CoordinateTuple(int coordinateType);
    CoordinateTuple(int coordinateType, const char* warningMessage);
    virtual ~CoordinateTuple();

    int coordinateType() const;
    const char* errorMessage() const;    // never filled by the library
    const char* warningMessage() const;  // empty unless a conversion attached a warning

  protected:
    void setWarning(const char* text);

  private:
    int coordinateType_;
    char errorMessage_[kMessageSize];
    char warningMessage_[kMessageSize];
};

}  // namespace Orvale::Geodex
