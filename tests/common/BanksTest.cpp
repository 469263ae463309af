#include "common/Banks.h"

#include <gtest/gtest.h>

namespace toneloft {
namespace {

TEST(Banks, VoiceZeroCountsAsTheFirst)
{
    EXPECT_EQ(BankOfVoice(0), 1);
    EXPECT_EQ(PositionInBank(32), 32);
    EXPECT_EQ(PositionInBank(33), 1);
    EXPECT_EQ(BankOfVoice(33), 2);
    EXPECT_EQ(BankCount(0), 1);
    EXPECT_EQ(BankCount(33), 2);
    EXPECT_EQ(BankCount(64), 2);
}

} // namespace
} // namespace toneloft
