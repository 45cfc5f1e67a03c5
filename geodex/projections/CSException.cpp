#include "geodex/projections/CSException.h"

#include <cstring>

namespace Orvale::Geodex {

CSException::CSException(const char* message) {
    message_[0] = '\0';
    if (message) {
        std::strncpy(message_, message, kMaxLength - 1);
        message_[kMaxLength - 1] = '\0';
    }
}

CSException::CSException(const CSException& other) { std::memcpy(message_, other.message_, kMaxLength); }

CSException& CSException::operator=(const CSException& other) {
    if (this != &other) std::memcpy(message_, other.message_, kMaxLength);
    return *this;
}

CSException::~CSException() = default;

const char* CSException::getMessage() const { return message_; }

}  // namespace Orvale::Geodex
