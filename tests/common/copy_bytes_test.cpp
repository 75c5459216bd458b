// The short-run copy moves exactly n bytes: every length around the edges of
// its fixed-size pieces copies the source whole and leaves the bytes just
// before and after the destination as they were.

#include <gtest/gtest.h>

#include <string>

#include "common/copy_bytes.h"

namespace qarv {
namespace {

TEST(CopyBytes, CopiesExactlyTheRunAtEveryPieceBoundary) {
    std::string source;
    for (int i = 0; i < 80; ++i) source.push_back(static_cast<char>('A' + i % 58));
    for (std::size_t n : {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, 64}) {
        SCOPED_TRACE(n);
        // A guard byte on each side of the destination run.
        std::string buffer(n + 2, '#');
        copyBytes(buffer.data() + 1, source.data(), n);
        EXPECT_EQ(buffer.front(), '#');
        EXPECT_EQ(buffer.back(), '#');
        EXPECT_EQ(buffer.substr(1, n), source.substr(0, n));
    }
}

}  // namespace
}  // namespace qarv
