#pragma once
#include "geodex/Export.h"

namespace Orvale::Geodex {

// Raised for invalid projection or ellipsoid parameters and out-of-range points. The text holds every
// failed check's message, each ending in a line feed (at most 1999 characters are kept).
// It deliberately has no base class: callers catch it by its own type.
class GEODEX_EXPORT CSException {
  public:
    explicit CSException(const char* message);
    CSException(const CSException& other);
    CSException& operator=(const CSException& other);
    virtual ~CSException();

    const char* getMessage() const;

    static const int kMaxLength = 2000;  // including the terminator

  private:
    char message_[kMaxLength];
};

}  // namespace Orvale::Geodex
