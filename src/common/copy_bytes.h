#pragma once
// Copies of short byte runs (cells, numbers, names) without a library call:
// up to 32 bytes are moved by two fixed-size, possibly overlapping copies,
// which the compiler turns into a few register moves. Never reads or writes
// outside [src, src + n) and [dst, dst + n).

#include <cstddef>
#include <cstring>

namespace qarv {

inline void copyBytes(char* dst, const char* src, std::size_t n) {
    if (n >= 16) {
        if (n > 32) {
            std::memcpy(dst, src, n);
            return;
        }
        std::memcpy(dst, src, 16);
        std::memcpy(dst + n - 16, src + n - 16, 16);
    } else if (n >= 8) {
        std::memcpy(dst, src, 8);
        std::memcpy(dst + n - 8, src + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(dst, src, 4);
        std::memcpy(dst + n - 4, src + n - 4, 4);
    } else if (n > 0) {
        dst[0] = src[0];
        dst[n / 2] = src[n / 2];
        dst[n - 1] = src[n - 1];
    }
}

}  // namespace qarv
