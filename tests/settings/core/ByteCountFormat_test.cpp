// SPDX-License-Identifier: MIT
#include "settings/core/ByteCountFormat.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kuvell {
namespace {

struct WorkedExample
{
    double count;
    double value;
    const char* unit;
    const char* line;
};

TEST(FormatByteCount, GivesEveryWorkedExampleExactly)
{
    const WorkedExample examples[] = {
        {0, 0, "Bytes", "0 Bytes"},
        {1023, 1023, "Bytes", "1023 Bytes"},
        {1024, 1, "Kilobytes", "1 Kilobytes"},
        {1500, 1.46, "Kilobytes", "1.46 Kilobytes"},
        {1536, 1.5, "Kilobytes", "1.5 Kilobytes"},
        {1048575, 1023.99, "Kilobytes", "1023.99 Kilobytes"},
        {1048576, 1, "Megabytes", "1 Megabytes"},
        {1049000, 1, "Megabytes", "1 Megabytes"},
        {5000000, 4.76, "Megabytes", "4.76 Megabytes"},
        {123456789, 117.73, "Megabytes", "117.73 Megabytes"},
        {1073741824, 1, "Gigabytes", "1 Gigabytes"},
        {2147483647, 1.99, "Gigabytes", "1.99 Gigabytes"},
    };
    for (const WorkedExample& example : examples) {
        const ByteCount result = formatByteCount(example.count);
        EXPECT_EQ(result.value, example.value) << example.count;
        EXPECT_EQ(result.unitName, example.unit) << example.count;
        EXPECT_EQ(byteCountLine(example.count, "."), example.line) << example.count;
    }
}

TEST(FormatByteCount, CutsTheFifteenDigitTextAndKeepsItsRoundingUp)
{
    // 2^31 - 2^-20 bytes: the quotient is just below 2 and its 15-digit text reads "2".
    const ByteCount nearlyTwo = formatByteCount(2147483648.0 - 1.0 / 1048576);
    EXPECT_EQ(nearlyTwo.value, 2);
    EXPECT_EQ(nearlyTwo.unitName, "Gigabytes");
    // 1023.999 kilobytes is cut to 1023.99, not rounded up to 1024.
    EXPECT_EQ(formatByteCount(1048575.5).value, 1023.99);
    EXPECT_EQ(formatByteCount(1e12).value, 931.32);  // stays in gigabytes
}

TEST(FormatByteCount, ReturnsNegativeAndFractionalCountsBelow1024Unchanged)
{
    const ByteCount negative = formatByteCount(-5000000);
    EXPECT_EQ(negative.value, -5000000);
    EXPECT_EQ(negative.unitName, "Bytes");
    EXPECT_EQ(byteCountLine(-5000000, "."), "-5000000 Bytes");
    EXPECT_EQ(byteCountLine(-2147483648.0, "."), "-2147483648 Bytes");
    EXPECT_EQ(formatByteCount(1023.999).value, 1023.999);
    EXPECT_EQ(byteCountLine(1023.999, "."), "1024 Bytes");  // the line rounds, the value does not
    EXPECT_EQ(byteCountLine(0.125, "."), "0.12 Bytes");     // ties to even
    EXPECT_EQ(byteCountLine(0.375, "."), "0.38 Bytes");
}

TEST(FormatByteCount, KeepsTheUnitOfTheLatestCallAndSurvivesNonNumbers)
{
    EXPECT_EQ(formatByteCount(5000000).unitName, "Megabytes");
    EXPECT_EQ(formatByteCount(10).unitName, "Bytes");
    EXPECT_EQ(formatByteCount(std::numeric_limits<double>::quiet_NaN()).unitName, "");
    const ByteCount infinite = formatByteCount(std::numeric_limits<double>::infinity());
    EXPECT_EQ(infinite.unitName, "Gigabytes");
    EXPECT_EQ(infinite.value, 0);  // the failing read-back is skipped
    // 1e300 bytes are about 9.31e290 gigabytes: whole digits, no exponent.
    const std::string huge = byteCountLine(1e300, ".");
    EXPECT_EQ(huge.substr(0, 15), "931322574615479");
    EXPECT_EQ(huge.substr(15), std::string(276, '0') + " Gigabytes");
}

TEST(ByteCountLine, UsesTheLocaleSeparator)
{
    EXPECT_EQ(byteCountLine(1500, ","), "1,46 Kilobytes");
    EXPECT_EQ(byteCountLine(1048575, ","), "1023,99 Kilobytes");
    EXPECT_EQ(byteCountLine(1024, ","), "1 Kilobytes");
}

TEST(TruncateDecimals, CutsAfterTheFirstPointWithoutRounding)
{
    EXPECT_EQ(truncateDecimals("3.14159", 2), "3.14");
    EXPECT_EQ(truncateDecimals("3.1", 2), "3.1");
    EXPECT_EQ(truncateDecimals("42", 2), "42");
    EXPECT_EQ(truncateDecimals("0.999", 0), "0.");
    EXPECT_EQ(truncateDecimals("-1.999", 2), "-1.99");
    EXPECT_EQ(truncateDecimals("1.2.3", 2), "1.2.");
    EXPECT_EQ(truncateDecimals("", 2), "");
    EXPECT_EQ(truncateDecimals(".", 255), ".");
    const std::string longText = "1." + std::string(600, '7');
    EXPECT_EQ(truncateDecimals(longText, 255), longText.substr(0, 257));
}

}  // namespace
}  // namespace kuvell
