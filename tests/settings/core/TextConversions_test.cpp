// SPDX-License-Identifier: MIT
#include "settings/core/TextConversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kuvell {
namespace {

TEST(TextToInt32, ReadsDecimalTextWithBlanksSignsAndLeadingZeros)
{
    EXPECT_EQ(textToInt32("12495433"), 12495433);
    EXPECT_EQ(textToInt32("0056000"), 56000);
    EXPECT_EQ(textToInt32("  -4650 "), -4650);
    EXPECT_EQ(textToInt32("\t+7"), 7);
    EXPECT_EQ(textToInt32("-0"), 0);
    EXPECT_EQ(textToInt32("2147483647"), 2147483647);
    EXPECT_EQ(textToInt32("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(textToInt32(std::string(300, '0') + "42"), 42);
}

TEST(TextToInt32, RoundsFractionsTiesToEvenOnTheExactDigits)
{
    EXPECT_EQ(textToInt32("2.5"), 2);
    EXPECT_EQ(textToInt32("3.5"), 4);
    EXPECT_EQ(textToInt32("-2.5"), -2);
    EXPECT_EQ(textToInt32("-3.5"), -4);
    EXPECT_EQ(textToInt32("2.49999"), 2);
    EXPECT_EQ(textToInt32("2.6"), 3);
    EXPECT_EQ(textToInt32(".5"), 0);
    EXPECT_EQ(textToInt32("1.5"), 2);
    EXPECT_EQ(textToInt32("7."), 7);
    // A double would make this exactly 0.5 and round it down.
    EXPECT_EQ(textToInt32("0.50000000000000000001"), 1);
    EXPECT_EQ(textToInt32("4650.0"), 4650);
}

TEST(TextToInt32, FailsOutsideTheRangeAlsoAfterRounding)
{
    EXPECT_EQ(textToInt32("2147483648"), std::nullopt);
    EXPECT_EQ(textToInt32("-2147483649"), std::nullopt);
    EXPECT_EQ(textToInt32("2147483647.5"), std::nullopt);
    EXPECT_EQ(textToInt32("2147483647.4"), 2147483647);
    EXPECT_EQ(textToInt32("-2147483648.5"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(textToInt32("-2147483648.6"), std::nullopt);
    EXPECT_EQ(textToInt32("99999999999999999999999999"), std::nullopt);
}

TEST(TextToInt32, FailsOnTextThatIsNotANumberInsteadOfGivingZero)
{
    for (const char* text : {"", "   ", "+", "-", ".", "-.", "abc", "12abc", "1 2", "1.2.3", "1,5",
                             "1e3", "0x10", "--1", "+-1", "true", "１２"}) {
        EXPECT_EQ(textToInt32(text), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(textToInt32(std::string("1\0"
                                      "2",
                                      3)),
              std::nullopt);
}

TEST(TextToInt32, ReadsHexadecimalAsATwosComplementBitPattern)
{
    EXPECT_EQ(textToInt32("&H0000FF"), 255);
    EXPECT_EQ(textToInt32("&H00FF00"), 65280);
    EXPECT_EQ(textToInt32("&HBEAA49"), 12495433);
    EXPECT_EQ(textToInt32("&HFF0000"), 16711680);
    EXPECT_EQ(textToInt32("&hff0000"), 16711680);
    EXPECT_EQ(textToInt32(" &HFF00 "), 65280);  // four digits are not a 16-bit value here
    EXPECT_EQ(textToInt32("&H7FFFFFFF"), 2147483647);
    EXPECT_EQ(textToInt32("&HFFFFFFFF"), -1);
    EXPECT_EQ(textToInt32("&H80000000"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(textToInt32("&H0000000000FF"), 255);  // leading zeros are free
    EXPECT_EQ(textToInt32("&H0"), 0);
    for (const char* text :
         {"&H", "&H100000000", "&HG1", "&H-1", "&H+1", "-&H1", "& H1", "&H 1", "&O17", "H1"}) {
        EXPECT_EQ(textToInt32(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(TextToInt16, UsesTheSameRulesWithin16Bits)
{
    EXPECT_EQ(textToInt16("9"), 9);
    EXPECT_EQ(textToInt16(" -1 "), -1);
    EXPECT_EQ(textToInt16("32767"), 32767);
    EXPECT_EQ(textToInt16("-32768"), -32768);
    EXPECT_EQ(textToInt16("32767.5"), std::nullopt);
    EXPECT_EQ(textToInt16("32768"), std::nullopt);
    EXPECT_EQ(textToInt16("-32769"), std::nullopt);
    EXPECT_EQ(textToInt16("4.5"), 4);
    EXPECT_EQ(textToInt16("&H7FFF"), 32767);
    EXPECT_EQ(textToInt16("&HFFFF"), -1);
    EXPECT_EQ(textToInt16("&H8000"), -32768);
    EXPECT_EQ(textToInt16("&H10000"), std::nullopt);
    EXPECT_EQ(textToInt16("ten"), std::nullopt);
}

TEST(TextToNumber, ReadsDecimalTextForNumericEquality)
{
    EXPECT_EQ(textToNumber("1"), 1.0);
    EXPECT_EQ(textToNumber("1.0"), 1.0);
    EXPECT_EQ(textToNumber(" 01.000 "), 1.0);
    EXPECT_EQ(textToNumber("-0.25"), -0.25);
    EXPECT_EQ(textToNumber("+.5"), 0.5);
    EXPECT_EQ(textToNumber("3."), 3.0);
    EXPECT_EQ(textToNumber("1.46"), 1.46);
    EXPECT_EQ(textToNumber("&H1"), 1.0);
    EXPECT_EQ(textToNumber("&HFFFFFFFF"), -1.0);
    EXPECT_EQ(textToNumber("12345678901234567890"), 12345678901234567890.0);
    for (const char* text : {"", " ", "1,0", "one", "1e0", "inf", "nan", "0x1", "1.0.0"}) {
        EXPECT_EQ(textToNumber(text), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(textToNumber(std::string(400, '9')), std::nullopt);  // beyond a double
}

TEST(TextToBoolean, AcceptsTrueFalseInAnyCaseOrANumber)
{
    for (const char* text : {"true", "TRUE", "True", "tRuE", " true ", "1", "-1", "0.5", "&H1"})
        EXPECT_EQ(textToBoolean(text), true) << '"' << text << '"';
    for (const char* text : {"false", "False", "FALSE", "0", "0.0", "-0", "&H0"})
        EXPECT_EQ(textToBoolean(text), false) << '"' << text << '"';
    for (const char* text : {"", "yes", "no", "on", "truee", "t", "tru", "falsey", "true1"})
        EXPECT_EQ(textToBoolean(text), std::nullopt) << '"' << text << '"';
}

TEST(IntegerToText, WritesOnlyAnOptionalMinusAndDigits)
{
    EXPECT_EQ(integerToText(12495433), "12495433");
    EXPECT_EQ(integerToText(0), "0");
    EXPECT_EQ(integerToText(-4650), "-4650");
    EXPECT_EQ(integerToText(std::numeric_limits<int32_t>::min()), "-2147483648");
    EXPECT_EQ(integerToText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(textToInt32(integerToText(std::numeric_limits<int32_t>::max())),
              std::numeric_limits<int32_t>::max());
}

TEST(NumberToText, WritesPlainTextWithoutTrailingZerosOrGrouping)
{
    EXPECT_EQ(numberToText(0), "0");
    EXPECT_EQ(numberToText(-0.0), "0");
    EXPECT_EQ(numberToText(0.1), "0.1");
    EXPECT_EQ(numberToText(12.5), "12.5");
    EXPECT_EQ(numberToText(195.3), "195.3");
    EXPECT_EQ(numberToText(-1), "-1");
    EXPECT_EQ(numberToText(-4.9), "-4.9");
    EXPECT_EQ(numberToText(1024000.0 / 1000000), "1.024");
    EXPECT_EQ(numberToText(56000.0 / 1000000), "0.056");
    EXPECT_EQ(numberToText(8), "8");
    EXPECT_EQ(numberToText(1234567), "1234567");
    EXPECT_EQ(numberToText(2147483647), "2147483647");
}

TEST(NumberToText, KeepsFifteenSignificantDigitsRoundedAndNeverAnExponent)
{
    EXPECT_EQ(numberToText(1049000.0 / 1048576), "1.00040435791016");
    EXPECT_EQ(numberToText(2147483647.0 / 1073741824), "1.99999999906868");
    EXPECT_EQ(numberToText(1048575.0 / 1024), "1023.9990234375");
    EXPECT_EQ(numberToText(2 - 1e-15), "2");  // rounds up at the 15th digit
    EXPECT_EQ(numberToText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(numberToText(-2.0 / 3), "-0.666666666666667");
    EXPECT_EQ(numberToText(1e20), "100000000000000000000");
    EXPECT_EQ(numberToText(123456789012345678.0), "123456789012346000");
    EXPECT_EQ(numberToText(1e-7), "0.0000001");
    EXPECT_EQ(numberToText(-1.5e-10), "-0.00000000015");
    EXPECT_EQ(numberToText(1e15), "1000000000000000");
    const std::string huge = numberToText(std::numeric_limits<double>::max());
    EXPECT_EQ(huge.size(), 309u);
    EXPECT_EQ(huge.substr(0, 15), "179769313486232");
    EXPECT_EQ(huge.find_first_not_of('0', 15), std::string::npos);
    const std::string tiny = numberToText(std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(tiny.substr(0, 2), "0.");
    EXPECT_EQ(tiny.substr(325), "494065645841247");  // 4.94065645841247e-324
    EXPECT_EQ(tiny.find_first_not_of('0', 2), 325u);
}

TEST(NumberToText, UsesTheGivenSeparatorAndReadsBack)
{
    EXPECT_EQ(numberToText(48.8, ","), "48,8");
    EXPECT_EQ(numberToText(-0.05, ","), "-0,05");
    EXPECT_EQ(numberToText(3, ","), "3");
    EXPECT_EQ(numberToText(1.5, "\u066B"), "1\u066B5");
    for (double value : {0.1, 1.46, 4.76, 117.73, 1023.99, -9.8, 0.000123})
        EXPECT_EQ(textToNumber(numberToText(value)), value) << value;
}

TEST(NumberToText, GivesAVisibleTextForValuesThatAreNotNumbers)
{
    EXPECT_EQ(numberToText(std::nan("")), "NaN");
    EXPECT_EQ(numberToText(std::numeric_limits<double>::infinity()), "Infinity");
    EXPECT_EQ(numberToText(-std::numeric_limits<double>::infinity()), "-Infinity");
    EXPECT_EQ(textToNumber(numberToText(std::nan(""))), std::nullopt);
}

}  // namespace
}  // namespace kuvell
