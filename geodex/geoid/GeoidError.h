#pragma once
#include <stdexcept>
#include <string>

#include "geodex/Export.h"
#include "geodex/projections/CSException.h"

namespace Orvale::Geodex {

// Every failure of GeoidDB: a file that cannot be opened ("fail to open ggf file") or does not hold
// its grid ("fail to init ggf"), a conversion with no grid loaded ("no ggf grid loaded"), and a point
// outside the grid's limits (the projection messages 43 and 44, each ending in a line feed). It is a
// std::runtime_error and a CSException at once, so that a caller catching either the standard
// exception (load failures) or CSException (points out of range) keeps catching what it caught
// before; what() and getMessage() give the same text.
class GEODEX_EXPORT GeoidError : public std::runtime_error, public CSException {
  public:
    explicit GeoidError(const std::string& text);
    GeoidError(const GeoidError& other);
    GeoidError& operator=(const GeoidError& other);
    ~GeoidError() override;
};

}  // namespace Orvale::Geodex
