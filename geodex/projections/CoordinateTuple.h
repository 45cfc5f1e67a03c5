#pragma once
#include <cstddef>

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

    // Every conversion returns a new tuple, and a tuple (two 500-character message buffers) is just too
    // large for the allocator's per-thread cache, so each one would cost a trip to the shared heap. The
    // tuple classes therefore take their memory from a small per-thread list of recycled blocks. A tuple
    // may be deleted on any thread (its block then joins that thread's list); each thread frees its list
    // when it ends. Under AddressSanitizer blocks are not recycled, so use after delete is still caught.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

  protected:
    void setWarning(const char* text);

  private:
    int coordinateType_;
    char errorMessage_[kMessageSize];
    char warningMessage_[kMessageSize];
};

}  // namespace Orvale::Geodex
