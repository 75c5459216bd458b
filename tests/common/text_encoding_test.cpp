// Windows-1252 on disk, UTF-8 in memory: analysis files and diagram data
// files must survive a load and a save byte for byte, and text that the code
// page cannot hold must turn into "?" without disturbing its neighbours.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "common/text_encoding.h"

namespace qarv {
namespace {

std::string byteString(int byte) {
    return std::string(1, static_cast<char>(byte));
}

TEST(Windows1252, EveryByteSurvivesDecodeAndEncode) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string decoded = decodeWindows1252(all);
    EXPECT_EQ(encodeWindows1252(decoded), all);

    // Byte by byte as well, so that one byte that happens to swallow its
    // neighbour in the long string cannot hide behind another.
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(encodeWindows1252(decodeWindows1252(byteString(b))), byteString(b));
    }
}

TEST(Windows1252, AsciiAndLatin1BytesDecodeToTheirOwnCodePoints) {
    // Below 0x80 the bytes are the text itself, control characters included.
    std::string ascii;
    for (int b = 0; b < 0x80; ++b) ascii.push_back(static_cast<char>(b));
    EXPECT_EQ(decodeWindows1252(ascii), ascii);

    // 0xA0 to 0xFF are U+00A0 to U+00FF, two UTF-8 bytes each.
    for (int b = 0xA0; b <= 0xFF; ++b) {
        SCOPED_TRACE(b);
        const std::string want = {static_cast<char>(0xC0 | (b >> 6)),
                                  static_cast<char>(0x80 | (b & 0x3F))};
        EXPECT_EQ(decodeWindows1252(byteString(b)), want);
    }
    EXPECT_EQ(decodeWindows1252("M\xFCller \xE9t\xE9"), "Müller été");
}

// The block 0x80 to 0x9F, where Windows-1252 differs from Latin-1; the five
// undefined bytes keep the C1 control character of the same number.
struct HighByte {
    int byte;
    const char* utf8;
};

class Windows1252HighBlock : public ::testing::TestWithParam<HighByte> {};

TEST_P(Windows1252HighBlock, DecodesToTheCodePageCharacterAndBack) {
    const HighByte& c = GetParam();
    EXPECT_EQ(decodeWindows1252(byteString(c.byte)), c.utf8);
    EXPECT_EQ(encodeWindows1252(c.utf8), byteString(c.byte));
}

INSTANTIATE_TEST_SUITE_P(
    AllThirtyTwo, Windows1252HighBlock,
    ::testing::Values(HighByte{0x80, "€"}, HighByte{0x81, "\xC2\x81"}, HighByte{0x82, "‚"},
                      HighByte{0x83, "ƒ"}, HighByte{0x84, "„"}, HighByte{0x85, "…"},
                      HighByte{0x86, "†"}, HighByte{0x87, "‡"}, HighByte{0x88, "ˆ"},
                      HighByte{0x89, "‰"}, HighByte{0x8A, "Š"}, HighByte{0x8B, "‹"},
                      HighByte{0x8C, "Œ"}, HighByte{0x8D, "\xC2\x8D"}, HighByte{0x8E, "Ž"},
                      HighByte{0x8F, "\xC2\x8F"}, HighByte{0x90, "\xC2\x90"}, HighByte{0x91, "‘"},
                      HighByte{0x92, "’"}, HighByte{0x93, "“"}, HighByte{0x94, "”"},
                      HighByte{0x95, "•"}, HighByte{0x96, "–"}, HighByte{0x97, "—"},
                      HighByte{0x98, "˜"}, HighByte{0x99, "™"}, HighByte{0x9A, "š"},
                      HighByte{0x9B, "›"}, HighByte{0x9C, "œ"}, HighByte{0x9D, "\xC2\x9D"},
                      HighByte{0x9E, "ž"}, HighByte{0x9F, "Ÿ"}));

// Text going to disk: what the code page cannot hold becomes one "?" per
// character, and bytes that are not UTF-8 become one "?" per byte; the
// characters around them are written unchanged.
struct EncodeCase {
    const char* name;
    std::string utf8;
    std::string bytes;
};

void PrintTo(const EncodeCase& c, std::ostream* os) {
    *os << c.name;
}

class Windows1252Encode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Windows1252Encode, WritesTheExpectedBytes) {
    EXPECT_EQ(encodeWindows1252(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Windows1252Encode,
    ::testing::Values(EncodeCase{"Empty", "", ""},
                      EncodeCase{"AsciiWithTabsAndBreaks", "Sample 1\t12,5\r\n",
                                 "Sample 1\t12,5\r\n"},
                      EncodeCase{"NulInsideText", std::string("a\0b", 3), std::string("a\0b", 3)},
                      EncodeCase{"Latin1Letters", "Trüstedtite ß", "Tr\xFCstedtite \xDF"},
                      EncodeCase{"NoBreakSpace", "1\u00A0234",
                                 "1\xA0"
                                 "234"},
                      EncodeCase{"GreekOutsideCodePage", "Ωx", "?x"},
                      EncodeCase{"LatinExtendedOutsideCodePage", "Ā", "?"},
                      EncodeCase{"NarrowNoBreakSpaceOutsideCodePage", "1\u202F234", "1?234"},
                      EncodeCase{"ArrowOutsideCodePage", "Fe→Mg", "Fe?Mg"},
                      EncodeCase{"FourByteCharacterIsOneQuestionMark", "a😀b", "a?b"},
                      EncodeCase{"CjkCharacters", "尖晶石", "???"},
                      EncodeCase{"LoneContinuationByte",
                                 "a\x80"
                                 "b",
                                 "a?b"},
                      EncodeCase{"TruncatedTwoByteSequenceKeepsTheNextCharacter", "\xC3(", "?("},
                      EncodeCase{"TruncatedAtTheEnd", "ab\xE2\x82", "ab??"},
                      EncodeCase{"OverlongSlash", "\xC0\xAF", "??"},
                      EncodeCase{"EncodedSurrogate", "\xED\xA0\x80", "???"},
                      EncodeCase{"BeyondU10FFFF", "\xF4\x90\x80\x80", "????"},
                      EncodeCase{"BytesNeverInUtf8", "\xFE\xFFok", "??ok"}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace qarv
