#include "backtest/bootstrap.h"
#include "backtest/random_tickets.h"
#include "core/payouts.h"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace zelkor {
namespace {

// The payouts of a field of `starters` where 3 won from 5 and 7, bracket
// quinella 2-4: place is paid on the first three, on two in a field of seven
// or fewer, as the payout record lists them.
RacePayouts finished(int starters) {
    RacePayouts p;
    auto slots = [&](BetType t) -> std::vector<PayoutSlot>& {
        return p.paidSlots[static_cast<size_t>(t)];
    };
    slots(BetType::Win) = {{{3}, 450, 2}};
    slots(BetType::Place) = {{{3}, 160, 2}, {{5}, 210, 4}, {{7}, 330, 6}};
    slots(BetType::Place).resize(starters <= 7 ? 2 : 3);
    slots(BetType::BracketQuinella) = {{{2, 4}, 800, 3}};
    slots(BetType::Quinella) = {{{3, 5}, 1230, 5}};
    return p;
}

TEST(SettleTicket, EveryRuleOfThePayouts) {
    using B = BetType;
    using Change = std::function<void(RacePayouts&)>;
    const Change none = [](RacePayouts&) {};
    struct Case {
        const char* what;
        Change change;
        BetType type;
        std::vector<int> combination;
        Settlement expected;
    };
    const Case cases[] = {
        {"place hit", none, B::Place, {5}, {true, 100, 210, true}},
        {"place miss", none, B::Place, {1}, {true, 100, 0, false}},
        {"quinella, order of the pair ignored", none, B::Quinella, {5, 3}, {true, 100, 1230, true}},
        {"race cancelled",
         [](RacePayouts& p) { p.cancelled = true; },
         B::Quinella,
         {1, 2},
         {true, 100, 100, false}},
        {"pool not established",
         [](RacePayouts& p) { p.notEstablished[static_cast<size_t>(B::Quinella)] = true; },
         B::Quinella,
         {3, 5},
         {true, 100, 100, false}},
        {"sale cancelled after start",
         [](RacePayouts& p) {
             p.sale[static_cast<size_t>(B::Place)] = SaleFlag::CancelledAfterSale;
         },
         B::Place,
         {3},
         {true, 100, 100, false}},
        {"refunded horse",
         [](RacePayouts& p) { p.refundedHorse[6] = true; },
         B::Quinella,
         {3, 6},
         {true, 100, 100, false}},
        {"vanished bracket",
         [](RacePayouts& p) { p.vanishedBracket[6] = true; },
         B::BracketQuinella,
         {2, 6},
         {true, 100, 100, false}},
        {"refunded same-bracket pair",
         [](RacePayouts& p) { p.refundedSameBracket[4] = true; },
         B::BracketQuinella,
         {4, 4},
         {true, 100, 100, false}},
        {"same bracket pair not refunded",
         [](RacePayouts& p) { p.refundedSameBracket[4] = true; },
         B::BracketQuinella,
         {4, 5},
         {true, 100, 0, false}},
        {"dead heat: any slot",
         [](RacePayouts& p) {
             p.paidSlots[0].push_back({{6}, 380, 1});
         },
         B::Win,
         {6},
         {true, 100, 380, true}},
        {"special payout",
         [](RacePayouts& p) {
             p.specialPay[1] = true;
             p.paidSlots[1].push_back({{}, 70, 0});
         },
         B::Place,
         {1},
         {true, 100, 70, false}},
        {"slot before special",
         [](RacePayouts& p) { p.specialPay[1] = true; },
         B::Place,
         {7},
         {true, 100, 330, true}},
        {"seven starters: the third is not paid",
         [](RacePayouts& p) { p = finished(7); },
         B::Place,
         {7},
         {true, 100, 0, false}},
        {"eight starters: the third is paid",
         [](RacePayouts& p) { p = finished(8); },
         B::Place,
         {7},
         {true, 100, 330, true}},
        {"type not sold (no slot, no flag)", none, B::Wide, {3, 5}, {}},
        {"type sold with only its refund flag",
         [](RacePayouts& p) {
             p.refunds[static_cast<size_t>(B::Wide)] = true;
             p.refundedHorse[6] = true;
         },
         B::Wide,
         {3, 6},
         {true, 100, 100, false}},
        {"odds record: not sold",
         [](RacePayouts& p) { p.sale[2] = SaleFlag::NotSold; },
         B::BracketQuinella,
         {2, 4},
         {}},
        {"odds record: cancelled before sale",
         [](RacePayouts& p) { p.sale[1] = SaleFlag::CancelledBeforeSale; },
         B::Place,
         {3},
         {}},
    };
    const auto fields = [](const Settlement& s) {
        return std::tuple(s.bought, s.stake, s.ret, s.hit);
    };
    for (const Case& c : cases) {
        RacePayouts p = finished(10);
        c.change(p);
        EXPECT_EQ(fields(settleTicket(p, c.type, c.combination)), fields(c.expected)) << c.what;
    }
}

TEST(RandomTickets, ExactExpectationOverEveryChoice) {
    RacePayouts p;
    p.paidSlots[1] = {{{1}, 150, 1}, {{2}, 120, 2}, {{3}, 300, 5}};
    p.paidSlots[3] = {{{1, 2}, 500, 1}};
    const std::vector<int> five = {1, 2, 3, 4, 5};
    // Two of five horses: 2 × (150 + 120 + 300) / 5; misses only with {4, 5}.
    const RaceTake place = randomTicketsExpectation(p, BetType::Place, five, 2);
    EXPECT_EQ(place.tickets, 2);
    EXPECT_DOUBLE_EQ(place.stake, 200);
    EXPECT_DOUBLE_EQ(place.ret, 228);
    EXPECT_DOUBLE_EQ(place.hitTickets, 1.2);
    EXPECT_DOUBLE_EQ(place.hitRace, 0.9);
    // Two of the six pairs of four horses: one pays 500.
    const std::vector<int> four = {1, 2, 3, 4};
    const RaceTake q = randomTicketsExpectation(p, BetType::Quinella, four, 2);
    EXPECT_DOUBLE_EQ(q.ret, 1000.0 / 6);
    EXPECT_DOUBLE_EQ(q.hitRace, 1 - 10.0 / 15);
    EXPECT_EQ(randomTicketsExpectation(p, BetType::Wide, four, 2).tickets, 0) << "not sold";
}

TEST(Bootstrap, RepeatsExactlyAndUsesThePortableGenerator) {
    // The first output of splitmix64 from seed 0, the same everywhere.
    EXPECT_EQ(PortableRandom(0).next(), 0xe220a8397b1dcdafULL);
    std::vector<RaceTake> races;
    for (int i = 0; i < 50; ++i)
        races.push_back({1, 100, i % 5 == 0 ? 420.0 : 0.0, 0, 0});
    const auto a = bootstrapRateInterval(races);
    const auto b = bootstrapRateInterval(races);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->low, b->low);
    EXPECT_EQ(a->high, b->high);
    EXPECT_LT(a->low, 0.84);
    EXPECT_GT(a->high, 0.84);
    EXPECT_FALSE(bootstrapRateInterval({}));
    // Drawn together with another line, each interval is the one it has alone.
    std::vector<RaceTake> other = races;
    other[7].ret = 9000;
    // Ten lines: more than are summed side by side at once.
    const std::span<const RaceTake> lines[] = {other, races, races, races, races,
                                               races, races, races, races, races};
    const auto together = bootstrapRateIntervals(lines);
    for (size_t l = 1; l < std::size(lines); ++l) {
        EXPECT_EQ(together[l]->low, a->low) << l;
        EXPECT_EQ(together[l]->high, a->high) << l;
    }
    EXPECT_EQ(together[0]->high, bootstrapRateInterval(other)->high);
}

} // namespace
} // namespace zelkor
