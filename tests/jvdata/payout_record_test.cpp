#include "jvdata/payout_record.h"
#include "support/jvdata_generator.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace test;

TEST(PayoutsFromRecords, DecodesFlagsSlotsAndSaleFlags) {
    JvdPayouts hr;
    hr.specialPay = "010000000";
    hr.refund = "000010000"; // wide: a scratched horse's tickets are refunded
    hr.refundHorse[6] = '1';
    hr.refundBracket[2] = '1';
    hr.refundSameBracket[4] = '1';
    hr.win = {{"03", 450, 2}, {"06", 380, 1}};
    hr.place = {{"03", 160, 2}, {"00", 70, 0}};
    hr.bracketQ = {{"24", 800, 3}};
    hr.quinella = {{"0305", 1230, 5}};
    hr.trio = {{"030506", 5000, 10}};
    JvdOdds o1;
    o1.placeSale = '3';
    o1.bracketSale = '0';
    const RacePayouts p = payoutsFromRecords(jvdRecord(hr), jvdRecord(o1));
    EXPECT_FALSE(p.cancelled);
    const auto slots = [&p](BetType t) { return p.paidSlots[static_cast<size_t>(t)]; };
    EXPECT_TRUE(p.specialPay[1]);
    EXPECT_FALSE(p.specialPay[0]);
    EXPECT_TRUE(p.refundedHorse[7]);
    EXPECT_TRUE(p.vanishedBracket[3]);
    EXPECT_TRUE(p.refundedSameBracket[5]);
    EXPECT_EQ(slots(BetType::Win),
              (std::vector<PayoutSlot>{{{3, 0, 0}, 450, 2}, {{6, 0, 0}, 380, 1}}));
    EXPECT_EQ(slots(BetType::Place),
              (std::vector<PayoutSlot>{{{3, 0, 0}, 160, 2}, {{0, 0, 0}, 70, 0}}));
    EXPECT_EQ(slots(BetType::BracketQuinella), (std::vector<PayoutSlot>{{{2, 4, 0}, 800, 3}}));
    EXPECT_EQ(slots(BetType::Quinella), (std::vector<PayoutSlot>{{{3, 5, 0}, 1230, 5}}));
    EXPECT_EQ(slots(BetType::Trio), (std::vector<PayoutSlot>{{{3, 5, 6}, 5000, 10}}));
    EXPECT_TRUE(slots(BetType::Wide).empty());
    EXPECT_TRUE(betTypeSold(p, BetType::Wide)) << "sold: only its refund flag says so";
    EXPECT_FALSE(betTypeSold(p, BetType::Exacta));
    EXPECT_EQ(p.sale[0], SaleFlag::Sold);
    EXPECT_EQ(p.sale[1], SaleFlag::CancelledAfterSale);
    EXPECT_EQ(p.sale[2], SaleFlag::NotSold);
    EXPECT_EQ(p.sale[3], SaleFlag::Unknown);

    hr.kind = '9';
    EXPECT_TRUE(payoutsFromRecords(jvdRecord(hr), {}).cancelled);
    EXPECT_EQ(payoutsFromRecords(jvdRecord(hr), {}).sale[0], SaleFlag::Unknown) << "no odds record";
}

} // namespace
} // namespace zelkor
