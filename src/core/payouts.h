#pragma once

#include <array>
#include <span>
#include <vector>

namespace zelkor {

// The bet types of a race's payouts, in the order their flags stand in the
// payout record (the sixth is a reserved slot).
enum class BetType {
    Win,
    Place,
    BracketQuinella,
    Quinella,
    Wide,
    Reserved,
    Exacta,
    Trio,
    Trifecta
};
inline constexpr int kBetTypeCount = 9;

// Whether a bet type names brackets rather than horses, and whether the
// order of its numbers counts.
bool isBracketBet(BetType type);
bool isOrderedBet(BetType type);

// How the sale of a bet type went, as the odds record tells it; Unknown
// without one.
enum class SaleFlag { Unknown, NotSold, CancelledBeforeSale, CancelledAfterSale, Sold };

// One paid combination: up to three horse (or bracket) numbers, the rest 0;
// all 0 is the slot of a special or not-established amount.
struct PayoutSlot {
    std::array<int, 3> combination{};
    int pay = 0; // yen per 100-yen ticket
    int popularity = 0;
    friend bool operator==(const PayoutSlot&, const PayoutSlot&) = default;
};

// What a race paid, decoded from its payout record (and the sale flags of
// its odds record, where there is one).
struct RacePayouts {
    bool cancelled = false; // the race was cancelled: every ticket is refunded
    std::array<bool, kBetTypeCount> notEstablished{};
    std::array<bool, kBetTypeCount> specialPay{};
    std::array<bool, kBetTypeCount> refunds{};
    std::array<bool, 29> refundedHorse{};      // by horse number 1..28
    std::array<bool, 9> vanishedBracket{};     // by bracket 1..8
    std::array<bool, 9> refundedSameBracket{}; // the pair n-n, by n 1..8
    std::array<std::vector<PayoutSlot>, kBetTypeCount> paidSlots{};
    std::array<SaleFlag, kBetTypeCount> sale{}; // Unknown where the odds record says nothing
};

// Whether tickets of the type could be bought in the race: the odds
// record's sale flag where it gives one, otherwise whether the payouts hold
// a slot or a flag for the type.
bool betTypeSold(const RacePayouts& payouts, BetType type);

struct Settlement {
    bool bought = false; // a type that was not sold is neither stake nor return
    int stake = 0;
    int ret = 0;
    bool hit = false; // a slot holds the combination (refunds and specials are not hits)
};

inline constexpr int kTicketStake = 100;

// One 100-yen ticket of `type` on `combination` (horse or bracket numbers;
// the order counts only for ordered types), settled against the payouts:
// refund when the race was cancelled, the pool not established, the sale
// cancelled after it began, or the ticket holds a refunded horse, a vanished
// bracket or a refunded same-bracket pair; else the pay of a slot holding
// the combination (dead heats: any slot); else the special amount when there
// is a special payout; else nothing.
Settlement settleTicket(const RacePayouts& payouts, BetType type, std::span<const int> combination);

} // namespace zelkor
