#pragma once
// Symbols of the library are hidden by default; the exported interface is marked with GEODEX_EXPORT.
#if defined(GEODEX_BUILDING_LIBRARY)
#define GEODEX_EXPORT __attribute__((visibility("default")))
#else
#define GEODEX_EXPORT __attribute__((visibility("default")))
#endif
