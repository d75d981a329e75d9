#include "monitor/core/TrafficTick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace kuvell {
namespace {

constexpr int32_t kMaxTotal = std::numeric_limits<int32_t>::max();

std::string Field(const std::string& text)
{
    std::string field = text;
    field.push_back('\0');
    field.append(kTipFieldLength - field.size(), ' ');
    return field;
}

class TrafficTickTest : public ::testing::Test
{
  protected:
    TickTexts Sample(int32_t received, int32_t sent, std::string_view separator = ".")
    {
        return tick_.Sample(received, sent, DLtot_, ULtot_, separator);
    }

    // A tick measuring the given amounts after counters of 10,000,000 / 20,000,000
    // (the priming tick itself is a rejected jump and adds nothing).
    TickTexts SampleAmounts(int32_t received, int32_t sent)
    {
        Sample(10'000'000, 20'000'000);
        return Sample(10'000'000 + received, 20'000'000 + sent);
    }

    TrafficTick tick_;
    int32_t DLtot_ = 0;
    int32_t ULtot_ = 0;
};

TEST_F(TrafficTickTest, TypicalSecondGivesLabelIconAndTotals)
{
    DLtot_ = 7;
    ULtot_ = 9;
    Sample(1'000'000, 2'000'000);
    const TickTexts texts = Sample(1'050'000, 2'010'000);
    EXPECT_EQ(texts.label, "DL: 48.8 kb/s - UL: 9.8 kb/s");
    EXPECT_EQ(texts.tip, Field("Kuvell - DL: 48.8 kb/s - UL: 9.8 kb/s"));
    EXPECT_EQ(texts.trayImage, 4);
    EXPECT_DOUBLE_EQ(texts.dl, 48.8);
    EXPECT_DOUBLE_EQ(texts.ul, 9.8);
    EXPECT_EQ(tick_.DLdelta(), 50'000);
    EXPECT_EQ(tick_.ULdelta(), 10'000);
    EXPECT_EQ(DLtot_, 7 + 50'000);
    EXPECT_EQ(ULtot_, 9 + 10'000);
}

TEST_F(TrafficTickTest, ADirectionIsActiveFromFiftyTwoBytes)
{
    TickTexts texts = SampleAmounts(51, 0);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 1);
    EXPECT_EQ(DLtot_, 51);  // counted, although shown as 0

    texts = SampleAmounts(52, 0);
    EXPECT_EQ(texts.label, "DL: 0.1 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 2);

    EXPECT_EQ(SampleAmounts(0, 52).trayImage, 3);
    EXPECT_EQ(SampleAmounts(52, 52).trayImage, 4);
    EXPECT_EQ(SampleAmounts(51, 51).trayImage, 1);
}

TEST_F(TrafficTickTest, ExactHalvesRoundToEven)
{
    EXPECT_EQ(SampleAmounts(256, 768).label, "DL: 0.2 kb/s - UL: 0.8 kb/s");
    EXPECT_EQ(SampleAmounts(1280, 1792).label, "DL: 1.2 kb/s - UL: 1.8 kb/s");
    EXPECT_EQ(SampleAmounts(1024, 102400).label, "DL: 1 kb/s - UL: 100 kb/s");
}

TEST_F(TrafficTickTest, ReceivingMoreThanTwoHundredThousandBytesIsAJump)
{
    TickTexts texts = SampleAmounts(200'000, 100);
    EXPECT_EQ(texts.label, "DL: 195.3 kb/s - UL: 0.1 kb/s");
    EXPECT_EQ(DLtot_, 200'000);
    EXPECT_EQ(ULtot_, 100);

    texts = SampleAmounts(200'001, 100);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 1);
    EXPECT_EQ(tick_.DLdelta(), 0);
    EXPECT_EQ(tick_.ULdelta(), 0);
    EXPECT_EQ(DLtot_, 200'000);
    EXPECT_EQ(ULtot_, 100);

    // The next tick measures from the jumped counter, so the jump is not repeated.
    texts = Sample(10'000'000 + 200'001 + 2048, 20'000'000 + 100);
    EXPECT_EQ(texts.label, "DL: 2 kb/s - UL: 0 kb/s");
    EXPECT_EQ(DLtot_, 200'000 + 2048);
}

TEST_F(TrafficTickTest, AFallingOrJumpingUploadIsShownButNotCounted)
{
    TickTexts texts = SampleAmounts(1024, -5000);
    EXPECT_EQ(texts.label, "DL: 1 kb/s - UL: -4.9 kb/s");
    EXPECT_EQ(TipText(texts.tip), "Kuvell - DL: 1 kb/s - UL: -4.9 kb/s");
    EXPECT_EQ(texts.trayImage, std::nullopt);
    EXPECT_EQ(tick_.DLdelta(), 1024);
    EXPECT_EQ(tick_.ULdelta(), -5000);
    EXPECT_EQ(DLtot_, 0);
    EXPECT_EQ(ULtot_, 0);

    texts = SampleAmounts(1024, 200'001);
    EXPECT_EQ(texts.label, "DL: 1 kb/s - UL: 195.3 kb/s");
    EXPECT_EQ(texts.trayImage, 4);
    EXPECT_EQ(DLtot_, 0);
    EXPECT_EQ(ULtot_, 0);

    // A fall too small to show is zero, not a negative rate: the icon follows.
    texts = SampleAmounts(0, -51);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 1);
}

TEST_F(TrafficTickTest, AFallingReceiveCounterShowsNothingAndRestartsFromTheNewValue)
{
    Sample(5000, 3000);
    const int32_t DLbefore = DLtot_;
    const int32_t ULbefore = ULtot_;
    TickTexts texts = Sample(100, 4000);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(tick_.DLdelta(), 0);
    EXPECT_EQ(tick_.ULdelta(), 0);
    EXPECT_EQ(DLtot_, DLbefore);
    EXPECT_EQ(ULtot_, ULbefore);

    texts = Sample(100 + 1024, 4000 + 2048);
    EXPECT_EQ(texts.label, "DL: 1 kb/s - UL: 2 kb/s");
    EXPECT_EQ(DLtot_, DLbefore + 1024);
    EXPECT_EQ(ULtot_, ULbefore + 2048);
}

TEST_F(TrafficTickTest, TheFirstTickMeasuresFromZero)
{
    TickTexts texts = Sample(150'000, 3000);
    EXPECT_EQ(texts.label, "DL: 146.5 kb/s - UL: 2.9 kb/s");
    EXPECT_EQ(DLtot_, 150'000);
    EXPECT_EQ(ULtot_, 3000);

    TrafficTick fresh;
    int32_t DLtot = 0;
    int32_t ULtot = 0;
    texts = fresh.Sample(200'001, 3000, DLtot, ULtot, ".");
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(DLtot, 0);
    EXPECT_EQ(ULtot, 0);

    // An empty snapshot reads zero counters: a fall, so nothing is shown or counted.
    texts = Sample(0, 0);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(DLtot_, 150'000);
}

TEST_F(TrafficTickTest, CountersPassingTwoToTheThirtyFirstOrWrappingGiveTheTrueAmount)
{
    Sample(kMaxTotal - 500, kMaxTotal - 1000);
    Sample(kMaxTotal - 500 + 500, kMaxTotal - 1000 + 1000);  // settle exactly at the top
    // One more step crosses into the negative signed range.
    TickTexts texts = Sample(std::numeric_limits<int32_t>::min() + 1295,
                             std::numeric_limits<int32_t>::min() + 2047);
    EXPECT_EQ(tick_.DLdelta(), 1296);
    EXPECT_EQ(tick_.ULdelta(), 2048);
    EXPECT_EQ(texts.label, "DL: 1.3 kb/s - UL: 2 kb/s");

    // Wrapping past 2^32 (-100 is 0xFFFFFF9C) back to small values.
    Sample(-100, -100);
    texts = Sample(100, 924);
    EXPECT_EQ(tick_.DLdelta(), 200);
    EXPECT_EQ(tick_.ULdelta(), 1024);
    EXPECT_EQ(texts.label, "DL: 0.2 kb/s - UL: 1 kb/s");
}

TEST_F(TrafficTickTest, TotalsStopAtTheLargest32BitValue)
{
    DLtot_ = kMaxTotal - 10;
    ULtot_ = kMaxTotal;
    SampleAmounts(100, 100);
    EXPECT_EQ(DLtot_, kMaxTotal);
    EXPECT_EQ(ULtot_, kMaxTotal);
    SampleAmounts(200'000, 200'000);
    EXPECT_EQ(DLtot_, kMaxTotal);
    EXPECT_EQ(ULtot_, kMaxTotal);

    // A negative stored total still just grows.
    DLtot_ = -50;
    SampleAmounts(100, 0);
    EXPECT_EQ(DLtot_, 50);
}

TEST_F(TrafficTickTest, RatesUseTheGivenDecimalSeparator)
{
    Sample(1'000'000, 2'000'000, ",");
    const TickTexts texts = Sample(1'050'000, 1'994'880, ",");
    EXPECT_EQ(texts.label, "DL: 48,8 kb/s - UL: -5 kb/s");
    EXPECT_EQ(TipText(texts.tip), "Kuvell - DL: 48,8 kb/s - UL: -5 kb/s");
}

TEST(TipField, TextThenNulThenBlanksToSixtyFourCharacters)
{
    TrafficTick tick;
    int32_t DLtot = 0;
    int32_t ULtot = 0;
    const TickTexts texts = tick.Sample(12'800, 0, DLtot, ULtot, ".");
    const std::string visible = "Kuvell - DL: 12.5 kb/s - UL: 0 kb/s";
    ASSERT_EQ(texts.tip.size(), kTipFieldLength);
    EXPECT_EQ(texts.tip.substr(0, visible.size()), visible);
    EXPECT_EQ(texts.tip[visible.size()], '\0');
    EXPECT_EQ(texts.tip.find_first_not_of(' ', visible.size() + 1), std::string::npos);
    EXPECT_EQ(TipText(texts.tip), visible);

    EXPECT_EQ(TipField("Kuvell"), Field("Kuvell"));
    EXPECT_EQ(TipText(TipField("Kuvell")), "Kuvell");
    EXPECT_EQ(TipField(""), Field(""));
    EXPECT_EQ(TipText("no terminator"), "no terminator");
}

TEST(TipField, AnOverlongTextIsCutButKeepsTheNul)
{
    const std::string longText(100, 'x');
    const std::string field = TipField(longText);
    ASSERT_EQ(field.size(), kTipFieldLength);
    EXPECT_EQ(field.back(), '\0');
    EXPECT_EQ(TipText(field), std::string(kTipFieldLength - 1, 'x'));

    // "é" is two bytes but one character: it is the 63rd character and stays,
    // and a cut never falls between the two bytes.
    const std::string accented = std::string(62, 'x') + "\xC3\xA9" + "tail";
    EXPECT_EQ(TipText(TipField(accented)), std::string(62, 'x') + "\xC3\xA9");
    const std::string cutBefore = std::string(63, 'x') + "\xC3\xA9";
    EXPECT_EQ(TipText(TipField(cutBefore)), std::string(63, 'x'));
    const std::string fits = std::string(61, 'x') + "\xC3\xA9";
    EXPECT_EQ(TipText(TipField(fits)), fits);
}

// Counts the characters of UTF-8 text: every byte that does not continue a sequence.
std::size_t Characters(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    }));
}

TEST(TipField, HoldsSixtyFourCharactersWhateverTheSeparatorsByteLength)
{
    TrafficTick tick;
    int32_t DLtot = 0;
    int32_t ULtot = 0;
    // U+066B, the Arabic decimal separator: two bytes in UTF-8.
    const std::string separator = "\xD9\xAB";
    const TickTexts texts = tick.Sample(12'800, 1'536, DLtot, ULtot, separator);
    const std::string visible =
        "Kuvell - DL: 12" + separator + "5 kb/s - UL: 1" + separator + "5 kb/s";
    EXPECT_EQ(TipText(texts.tip), visible);
    EXPECT_EQ(Characters(texts.tip), kTipFieldLength);
    EXPECT_EQ(texts.tip.size(), kTipFieldLength + 2) << "two separators of two bytes each";
    EXPECT_EQ(texts.tip.substr(visible.size()),
              '\0' + std::string(kTipFieldLength - 1 - Characters(visible), ' '));

    EXPECT_EQ(Characters(TipField("\xC3\xA9")), kTipFieldLength);
    EXPECT_EQ(Characters(TipField(std::string(40, 'x') + std::string(30, '\xA9'))), kTipFieldLength)
        << "stray continuation bytes never make the field longer";
}

}  // namespace
}  // namespace kuvell
