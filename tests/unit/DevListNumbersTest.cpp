#include <gtest/gtest.h>

#include "xml/DevListNumbers.h"

using namespace quorveltwain;

namespace {

TEST(DevListNumbers, MemorySizeIsASigned32BitDecimal) {
    EXPECT_EQ(ParseMemorySize(L"512"), 512);
    EXPECT_EQ(ParseMemorySize(L"  +64"), 64);
    EXPECT_EQ(ParseMemorySize(L"-1"), -1);
    EXPECT_EQ(ParseMemorySize(L"256MB"), 256);  // what follows the digits is ignored
    EXPECT_EQ(ParseMemorySize(L"2147483647"), INT32_MAX);
    EXPECT_EQ(ParseMemorySize(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseMemorySize(L"2147483648"), std::nullopt);
    EXPECT_EQ(ParseMemorySize(L"-2147483649"), std::nullopt);
    EXPECT_EQ(ParseMemorySize(L"99999999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseMemorySize(L""), std::nullopt);
    EXPECT_EQ(ParseMemorySize(L"abc"), std::nullopt);
    EXPECT_EQ(ParseMemorySize(L"-"), std::nullopt);
    EXPECT_EQ(ParseMemorySize(L"0x10"), 0);
}

TEST(DevListNumbers, FrameSizesReadLikeTheRuntimeInTheClassicLocale) {
    EXPECT_DOUBLE_EQ(ParseFrameSize(L"297"), 297.0);
    EXPECT_DOUBLE_EQ(ParseFrameSize(L" 215.9mm"), 215.9);
    EXPECT_DOUBLE_EQ(ParseFrameSize(L"1,5"), 1.0);  // a comma ends the number
    EXPECT_DOUBLE_EQ(ParseFrameSize(L"wide"), 0.0);
    EXPECT_DOUBLE_EQ(ParseFrameSize(std::wstring_view(L"12345", 2)), 12.0);
    EXPECT_DOUBLE_EQ(ParseFrameSize(L"-.5"), -0.5);
    EXPECT_DOUBLE_EQ(ParseFrameSize(L"+2.5e2x"), 250.0);
    EXPECT_DOUBLE_EQ(ParseFrameSize(L"3e"), 3.0);  // no exponent digits: the number ends
    EXPECT_DOUBLE_EQ(ParseFrameSize(L"."), 0.0);
    EXPECT_DOUBLE_EQ(ParseFrameSize(L""), 0.0);
}

}  // namespace
