#pragma once
// Reads typed values off the fuzzer's bytes; past the end everything is zero.
#include <cstddef>
#include <cstdint>
#include <cstring>

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // Any double, non-numbers and infinities included.
    double rawDouble() {
        double v = 0;
        uint8_t buf[sizeof v] = {};
        for (size_t i = 0; i < sizeof v; ++i) buf[i] = byte();
        std::memcpy(&v, buf, sizeof v);
        return v;
    }

    // Mostly sensible values so the formulas are reached, sometimes hostile ones.
    double value(double lo, double hi) {
        const uint8_t mode = byte();
        if (mode < 200) {
            uint32_t u = 0;
            for (int i = 0; i < 4; ++i) u = (u << 8) | byte();
            return lo + (hi - lo) * (u / 4294967295.0);
        }
        return rawDouble();
    }

    int integer(int lo, int hi) {
        int32_t v = 0;
        for (int i = 0; i < 4; ++i) v = static_cast<int32_t>((static_cast<uint32_t>(v) << 8) | byte());
        if (byte() < 220) {
            const int64_t span = static_cast<int64_t>(hi) - lo + 1;
            return static_cast<int>(lo + (static_cast<int64_t>(v) % span + span) % span);
        }
        return v;
    }

    const uint8_t* rest() const { return data_ + pos_; }
    size_t restSize() const { return pos_ < size_ ? size_ - pos_ : 0; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};
