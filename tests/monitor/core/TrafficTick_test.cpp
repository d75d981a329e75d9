// SPDX-License-Identifier: MIT
#include "monitor/core/TrafficTick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace kuvell {
namespace {

constexpr int32_t kMaxTotal = std::numeric_limits<int32_t>::max();

// Counters of one interface that stays in place from tick to tick.
TrafficCounters wired(int32_t received, int32_t sent)
{
    return {received, sent, CountedInterface{2, "eth0"}, "eth0"};
}

std::string field(const std::string& text)
{
    std::string field = text;
    field.push_back('\0');
    field.append(kTipFieldLength - field.size(), ' ');
    return field;
}

class TrafficTickTest : public ::testing::Test
{
  protected:
    TickTexts sample(int32_t received, int32_t sent, std::string_view separator = ".")
    {
        return tick_.sample(wired(received, sent), downloadTotal_, uploadTotal_, separator);
    }

    // A tick measuring the given amounts after counters of 10,000,000 / 20,000,000
    // (the priming tick itself is a baseline or a rejected jump and adds nothing).
    TickTexts sampleAmounts(int32_t received, int32_t sent)
    {
        sample(10'000'000, 20'000'000);
        return sample(10'000'000 + received, 20'000'000 + sent);
    }

    TrafficTick tick_;
    int32_t downloadTotal_ = 0;
    int32_t uploadTotal_ = 0;
};

TEST_F(TrafficTickTest, TypicalSecondGivesLabelIconAndTotals)
{
    downloadTotal_ = 7;
    uploadTotal_ = 9;
    sample(1'000'000, 2'000'000);
    const TickTexts texts = sample(1'050'000, 2'010'000);
    EXPECT_EQ(texts.label, "DL: 48.8 kb/s - UL: 9.8 kb/s");
    EXPECT_EQ(texts.tip, field("Kuvell - DL: 48.8 kb/s - UL: 9.8 kb/s"));
    EXPECT_EQ(texts.trayImage, 4);
    EXPECT_DOUBLE_EQ(texts.dl, 48.8);
    EXPECT_DOUBLE_EQ(texts.ul, 9.8);
    EXPECT_EQ(tick_.downloadDelta(), 50'000);
    EXPECT_EQ(tick_.uploadDelta(), 10'000);
    EXPECT_EQ(downloadTotal_, 7 + 50'000);
    EXPECT_EQ(uploadTotal_, 9 + 10'000);
}

TEST_F(TrafficTickTest, ADirectionIsActiveFromFiftyTwoBytes)
{
    TickTexts texts = sampleAmounts(51, 0);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 1);
    EXPECT_EQ(downloadTotal_, 51);  // counted, although shown as 0

    texts = sampleAmounts(52, 0);
    EXPECT_EQ(texts.label, "DL: 0.1 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 2);

    EXPECT_EQ(sampleAmounts(0, 52).trayImage, 3);
    EXPECT_EQ(sampleAmounts(52, 52).trayImage, 4);
    EXPECT_EQ(sampleAmounts(51, 51).trayImage, 1);
}

TEST_F(TrafficTickTest, ExactHalvesRoundToEven)
{
    EXPECT_EQ(sampleAmounts(256, 768).label, "DL: 0.2 kb/s - UL: 0.8 kb/s");
    EXPECT_EQ(sampleAmounts(1280, 1792).label, "DL: 1.2 kb/s - UL: 1.8 kb/s");
    EXPECT_EQ(sampleAmounts(1024, 102400).label, "DL: 1 kb/s - UL: 100 kb/s");
}

TEST_F(TrafficTickTest, ReceivingMoreThanTwoHundredThousandBytesIsAJump)
{
    TickTexts texts = sampleAmounts(200'000, 100);
    EXPECT_EQ(texts.label, "DL: 195.3 kb/s - UL: 0.1 kb/s");
    EXPECT_EQ(downloadTotal_, 200'000);
    EXPECT_EQ(uploadTotal_, 100);

    texts = sampleAmounts(200'001, 100);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 1);
    EXPECT_EQ(tick_.downloadDelta(), 0);
    EXPECT_EQ(tick_.uploadDelta(), 0);
    EXPECT_EQ(downloadTotal_, 200'000);
    EXPECT_EQ(uploadTotal_, 100);

    // The next tick measures from the jumped counter, so the jump is not repeated.
    texts = sample(10'000'000 + 200'001 + 2048, 20'000'000 + 100);
    EXPECT_EQ(texts.label, "DL: 2 kb/s - UL: 0 kb/s");
    EXPECT_EQ(downloadTotal_, 200'000 + 2048);
}

TEST_F(TrafficTickTest, AFallingOrJumpingUploadIsShownButNotCounted)
{
    TickTexts texts = sampleAmounts(1024, -5000);
    EXPECT_EQ(texts.label, "DL: 1 kb/s - UL: -4.9 kb/s");
    EXPECT_EQ(tipText(texts.tip), "Kuvell - DL: 1 kb/s - UL: -4.9 kb/s");
    EXPECT_EQ(texts.trayImage, std::nullopt);
    EXPECT_EQ(tick_.downloadDelta(), 1024);
    EXPECT_EQ(tick_.uploadDelta(), -5000);
    EXPECT_EQ(downloadTotal_, 0);
    EXPECT_EQ(uploadTotal_, 0);

    texts = sampleAmounts(1024, 200'001);
    EXPECT_EQ(texts.label, "DL: 1 kb/s - UL: 195.3 kb/s");
    EXPECT_EQ(texts.trayImage, 4);
    EXPECT_EQ(downloadTotal_, 0);
    EXPECT_EQ(uploadTotal_, 0);

    // A fall too small to show is zero, not a negative rate: the icon follows.
    texts = sampleAmounts(0, -51);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 1);
}

TEST_F(TrafficTickTest, AFallingReceiveCounterShowsNothingAndRestartsFromTheNewValue)
{
    sample(5000, 3000);
    const int32_t DLbefore = downloadTotal_;
    const int32_t ULbefore = uploadTotal_;
    TickTexts texts = sample(100, 4000);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(tick_.downloadDelta(), 0);
    EXPECT_EQ(tick_.uploadDelta(), 0);
    EXPECT_EQ(downloadTotal_, DLbefore);
    EXPECT_EQ(uploadTotal_, ULbefore);

    texts = sample(100 + 1024, 4000 + 2048);
    EXPECT_EQ(texts.label, "DL: 1 kb/s - UL: 2 kb/s");
    EXPECT_EQ(downloadTotal_, DLbefore + 1024);
    EXPECT_EQ(uploadTotal_, ULbefore + 2048);
}

TEST_F(TrafficTickTest, TheFirstCountersOfAnInterfaceAreOnlyTheBaseline)
{
    // Whatever the interface carried before the first tick is not traffic of
    // this second, even under a limit it fits.
    tick_ = TrafficTick(125'000'000);
    TickTexts texts = sample(45'201'380, 3000);
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(texts.trayImage, 1);
    EXPECT_EQ(tick_.downloadDelta(), 0);
    EXPECT_EQ(tick_.uploadDelta(), 0);
    EXPECT_EQ(downloadTotal_, 0);
    EXPECT_EQ(uploadTotal_, 0);
    EXPECT_EQ(sample(45'201'380 + 42, 3000 + 10).label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(downloadTotal_, 42);
    EXPECT_EQ(uploadTotal_, 10);

    // The interface goes missing (or the snapshot fails): nothing is measured...
    texts = tick_.sample({}, downloadTotal_, uploadTotal_, ".");
    EXPECT_EQ(texts.label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(tick_.downloadDelta(), 0);
    // ...and its return is a new baseline, not a jump from zero.
    EXPECT_EQ(sample(90'000'000, 6000).label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(downloadTotal_, 42);
    EXPECT_EQ(sample(90'000'000 + 2048, 6000 + 1024).label, "DL: 2 kb/s - UL: 1 kb/s");
    EXPECT_EQ(downloadTotal_, 42 + 2048);

    // Another interface, or the same name re-created between two ticks (a new
    // index), starts afresh as well; a falling counter stays a fall.
    const auto other = [&](int32_t index, const char* name, int32_t received) {
        return tick_.sample({received, 0, CountedInterface{index, name}, name}, downloadTotal_,
                            uploadTotal_, ".");
    };
    EXPECT_EQ(other(7, "wlan0", 100'000).label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(other(7, "wlan0", 100'000 + 1024).label, "DL: 1 kb/s - UL: 0 kb/s");
    EXPECT_EQ(other(8, "wlan0", 50'000'000).label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(other(8, "wlan0", 1000).label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(other(8, "wlan0", 1000 + 1024).label, "DL: 1 kb/s - UL: 0 kb/s");
    EXPECT_EQ(downloadTotal_, 42 + 2048 + 1024 + 1024);
    EXPECT_EQ(uploadTotal_, 10 + 1024);
}

TEST_F(TrafficTickTest, CountersPassingTwoToTheThirtyFirstOrWrappingGiveTheTrueAmount)
{
    sample(kMaxTotal - 500, kMaxTotal - 1000);
    sample(kMaxTotal - 500 + 500, kMaxTotal - 1000 + 1000);  // settle exactly at the top
    // One more step crosses into the negative signed range.
    TickTexts texts = sample(std::numeric_limits<int32_t>::min() + 1295,
                             std::numeric_limits<int32_t>::min() + 2047);
    EXPECT_EQ(tick_.downloadDelta(), 1296);
    EXPECT_EQ(tick_.uploadDelta(), 2048);
    EXPECT_EQ(texts.label, "DL: 1.3 kb/s - UL: 2 kb/s");

    // Wrapping past 2^32 (-100 is 0xFFFFFF9C) back to small values.
    sample(-100, -100);
    texts = sample(100, 924);
    EXPECT_EQ(tick_.downloadDelta(), 200);
    EXPECT_EQ(tick_.uploadDelta(), 1024);
    EXPECT_EQ(texts.label, "DL: 0.2 kb/s - UL: 1 kb/s");
}

TEST_F(TrafficTickTest, TotalsStopAtTheLargest32BitValue)
{
    downloadTotal_ = kMaxTotal - 10;
    uploadTotal_ = kMaxTotal;
    sampleAmounts(100, 100);
    EXPECT_EQ(downloadTotal_, kMaxTotal);
    EXPECT_EQ(uploadTotal_, kMaxTotal);
    sampleAmounts(200'000, 200'000);
    EXPECT_EQ(downloadTotal_, kMaxTotal);
    EXPECT_EQ(uploadTotal_, kMaxTotal);

    // A negative stored total still just grows.
    downloadTotal_ = -50;
    sampleAmounts(100, 0);
    EXPECT_EQ(downloadTotal_, 50);
}

TEST_F(TrafficTickTest, RatesUseTheGivenDecimalSeparator)
{
    sample(1'000'000, 2'000'000, ",");
    const TickTexts texts = sample(1'050'000, 1'994'880, ",");
    EXPECT_EQ(texts.label, "DL: 48,8 kb/s - UL: -5 kb/s");
    EXPECT_EQ(tipText(texts.tip), "Kuvell - DL: 48,8 kb/s - UL: -5 kb/s");
}

TEST_F(TrafficTickTest, AJumpLimitOfTheUsersOwnHoldsForBothDirectionsAndTheTotals)
{
    tick_ = TrafficTick(5'000'000);
    EXPECT_EQ(sampleAmounts(1'024'000, 5'000'000).label, "DL: 1000 kb/s - UL: 4882.8 kb/s");
    EXPECT_EQ(downloadTotal_, 1'024'000);
    EXPECT_EQ(uploadTotal_, 5'000'000);
    EXPECT_EQ(sampleAmounts(5'000'001, 0).label, "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(sampleAmounts(5'000'000, 5'000'001).label, "DL: 4882.8 kb/s - UL: 4882.8 kb/s");
    EXPECT_EQ(downloadTotal_, 1'024'000) << "an upload over the limit counts neither direction";
    EXPECT_EQ(uploadTotal_, 5'000'000);

    // The edges of the range: 1 byte, and every positive 32-bit amount.
    tick_ = TrafficTick(1);
    downloadTotal_ = uploadTotal_ = 0;
    sampleAmounts(1, 1);
    EXPECT_EQ(downloadTotal_, 1);
    EXPECT_EQ(sampleAmounts(2, 0).label, "DL: 0 kb/s - UL: 0 kb/s");
    tick_ = TrafficTick(kMaxTotal);
    downloadTotal_ = 0;
    const TickTexts texts = sampleAmounts(kMaxTotal - 20'000'000, kMaxTotal - 20'000'000);
    EXPECT_EQ(texts.label, "DL: 2077620.7 kb/s - UL: 2077620.7 kb/s");
    EXPECT_EQ(tipText(texts.tip), "Kuvell - DL: 2077620.7 kb/s - UL: 2077620.7 kb/s");
    EXPECT_EQ(texts.tip.size(), kTipFieldLength);
    EXPECT_EQ(downloadTotal_, kMaxTotal - 20'000'000) << "a fresh tick's priming is its baseline";
}

TEST(JumpLimitFromText, WholeNumbersFromOneTo2147483647Only)
{
    EXPECT_EQ(jumpLimitFromText("1"), 1);
    EXPECT_EQ(jumpLimitFromText("125000000"), 125'000'000);
    EXPECT_EQ(jumpLimitFromText("0200000"), 200'000);
    EXPECT_EQ(jumpLimitFromText("2147483647"), kMaxTotal);
    for (const std::string_view bad : {"", "0", "2147483648", "99999999999999999999", "-5", "+5",
                                       " 5", "5 ", "1.5", "1e6", "&H10", "abc", "5000000x"}) {
        EXPECT_EQ(jumpLimitFromText(bad), std::nullopt) << '"' << bad << '"';
    }
}

TEST(TipField, TextThenNulThenBlanksToSixtyFourCharacters)
{
    TrafficTick tick;
    int32_t downloadTotal = 0;
    int32_t uploadTotal = 0;
    tick.sample(wired(0, 0), downloadTotal, uploadTotal, ".");
    const TickTexts texts = tick.sample(wired(12'800, 0), downloadTotal, uploadTotal, ".");
    const std::string visible = "Kuvell - DL: 12.5 kb/s - UL: 0 kb/s";
    ASSERT_EQ(texts.tip.size(), kTipFieldLength);
    EXPECT_EQ(texts.tip.substr(0, visible.size()), visible);
    EXPECT_EQ(texts.tip[visible.size()], '\0');
    EXPECT_EQ(texts.tip.find_first_not_of(' ', visible.size() + 1), std::string::npos);
    EXPECT_EQ(tipText(texts.tip), visible);

    EXPECT_EQ(tipField("Kuvell"), field("Kuvell"));
    EXPECT_EQ(tipText(tipField("Kuvell")), "Kuvell");
    EXPECT_EQ(tipField(""), field(""));
    EXPECT_EQ(tipText("no terminator"), "no terminator");
}

TEST(TipField, AnOverlongTextIsCutButKeepsTheNul)
{
    const std::string longText(100, 'x');
    const std::string field = tipField(longText);
    ASSERT_EQ(field.size(), kTipFieldLength);
    EXPECT_EQ(field.back(), '\0');
    EXPECT_EQ(tipText(field), std::string(kTipFieldLength - 1, 'x'));

    // "é" is two bytes but one character: it is the 63rd character and stays,
    // and a cut never falls between the two bytes.
    const std::string accented = std::string(62, 'x') + "\xC3\xA9" + "tail";
    EXPECT_EQ(tipText(tipField(accented)), std::string(62, 'x') + "\xC3\xA9");
    const std::string cutBefore = std::string(63, 'x') + "\xC3\xA9";
    EXPECT_EQ(tipText(tipField(cutBefore)), std::string(63, 'x'));
    const std::string fits = std::string(61, 'x') + "\xC3\xA9";
    EXPECT_EQ(tipText(tipField(fits)), fits);
}

TEST(TipField, NamesTheInterfaceAfterTheRatesCuttingOnlyTheName)
{
    const std::string rates = "Kuvell - DL: 195.3 kb/s - UL: 195.3 kb/s";  // 40 characters
    EXPECT_EQ(tipNaming(rates, "eth0"), rates + " - eth0");
    EXPECT_EQ(tipNaming(rates, ""), rates);
    // 63 characters in all: 20 of the name fit, the 21st would push out the NUL.
    const std::string name20 = "enx00e04c68" + std::string(9, 'a');
    EXPECT_EQ(tipNaming(rates, name20), rates + " - " + name20);
    EXPECT_EQ(tipText(tipField(tipNaming(rates, name20))), rates + " - " + name20);
    EXPECT_EQ(tipNaming(rates, name20 + "b"), rates + " - " + name20.substr(0, 19) + "…");
    // A name of many-byte characters is cut between characters, by their count.
    const std::string wide = tipNaming(rates, "ö" + std::string(25, 'x'));
    EXPECT_EQ(wide, rates + " - ö" + std::string(18, 'x') + "…");
    // Rates that leave no room keep the whole field.
    const std::string longRates = "Kuvell - DL: 1234567.8 kb/s - UL: 1234567.8 kb/s - 123456789";
    EXPECT_EQ(tipNaming(longRates, "eth0"), longRates);
}

// Counts the characters of UTF-8 text: every byte that does not continue a sequence.
std::size_t characters(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    }));
}

TEST(TipField, HoldsSixtyFourCharactersWhateverTheSeparatorsByteLength)
{
    TrafficTick tick;
    int32_t downloadTotal = 0;
    int32_t uploadTotal = 0;
    // U+066B, the Arabic decimal separator: two bytes in UTF-8.
    const std::string separator = "\xD9\xAB";
    tick.sample(wired(0, 0), downloadTotal, uploadTotal, separator);
    const TickTexts texts =
        tick.sample(wired(12'800, 1'536), downloadTotal, uploadTotal, separator);
    const std::string visible =
        "Kuvell - DL: 12" + separator + "5 kb/s - UL: 1" + separator + "5 kb/s";
    EXPECT_EQ(tipText(texts.tip), visible);
    EXPECT_EQ(characters(texts.tip), kTipFieldLength);
    EXPECT_EQ(texts.tip.size(), kTipFieldLength + 2) << "two separators of two bytes each";
    EXPECT_EQ(texts.tip.substr(visible.size()),
              '\0' + std::string(kTipFieldLength - 1 - characters(visible), ' '));

    EXPECT_EQ(characters(tipField("\xC3\xA9")), kTipFieldLength);
    EXPECT_EQ(characters(tipField(std::string(40, 'x') + std::string(30, '\xA9'))), kTipFieldLength)
        << "stray continuation bytes never make the field longer";
}

}  // namespace
}  // namespace kuvell
