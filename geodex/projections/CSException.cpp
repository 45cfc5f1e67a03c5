#include "geodex/projections/CSException.h"

#include <cstring>

namespace Orvale::Geodex {

CSException::CSException(const char* message) {
    std::size_t length = 0;
    if (message)
        while (length < kMaxLength - 1 && message[length] != '\0') ++length;
    if (length > 0) std::memcpy(message_, message, length);
    message_[length] = '\0';
}

CSException::CSException(const CSException& other) : CSException(other.message_) {}

CSException& CSException::operator=(const CSException& other) {
    if (this != &other) std::memcpy(message_, other.message_, std::strlen(other.message_) + 1);
    return *this;
}

CSException::~CSException() = default;

const char* CSException::getMessage() const { return message_; }

}  // namespace Orvale::Geodex
