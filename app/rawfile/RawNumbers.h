#pragma once
// Number conversions of the raw survey file, independent of the process locale (a desktop program runs
// under the user's locale, where the C library would read and print "1,5" instead of "1.5").
//
// Reading is lenient like atof/atoi: leading white space is skipped, conversion stops at the first
// character that does not fit, text without a number gives 0, and nothing is reported.
#include <cstdint>
#include <string>
#include <string_view>

// Like atof in the "C" locale: decimal or hexadecimal reals, "inf", "nan"; out of range gives ±inf or 0.
double lenientReal(std::string_view text);

// Like atoi in glibc: the decimal value saturated to 64 bits, then its low 32 bits.
int lenientInt(std::string_view text);

// The low 8 bits of value as a signed byte (300 gives 44, 200 gives -56).
inline std::int8_t lowByte(int value) {
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFu));
}

// Appends value like printf "%.<decimals>f" in the "C" locale.
void appendFixed(std::string& out, double value, int decimals);

// Appends value like printf "%d".
void appendInt(std::string& out, int value);
