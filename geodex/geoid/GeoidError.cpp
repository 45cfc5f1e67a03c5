#include "geodex/geoid/GeoidError.h"

namespace Orvale::Geodex {

GeoidError::GeoidError(const std::string& text) : std::runtime_error(text), CSException(text.c_str()) {}

GeoidError::GeoidError(const GeoidError& other) = default;

GeoidError& GeoidError::operator=(const GeoidError& other) = default;

GeoidError::~GeoidError() = default;

}  // namespace Orvale::Geodex
