#pragma once
// Fatal dimension checks of the vector and matrix templates. They stay active in release builds:
// a dimension mismatch is a programming error, reported with the violated expression, the source
// file (from the "numera/" folder on) and the line, after which the program stops.
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Orvale::Numera {

[[noreturn]] inline void assertionFailed(const char* expression, const char* file, int line) {
    const char* shown = file;
    for (const char* p = std::strstr(file, "numera/"); p != nullptr; p = std::strstr(p + 1, "numera/"))
        shown = p;
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, shown, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace Orvale::Numera

#define NUMERA_ASSERT(expression) \
    ((expression) ? static_cast<void>(0) : ::Orvale::Numera::assertionFailed(#expression, __FILE__, __LINE__))
