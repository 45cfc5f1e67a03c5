#pragma once
// The loaders read files by path: each input is written to one scratch file per process.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

inline std::string writeScratchFile(const char* stem, const uint8_t* data, size_t size) {
    const std::string path = "/tmp/" + std::string(stem) + "_" + std::to_string(getpid());
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

inline std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }
