#include "core/payouts.h"

#include <algorithm>

namespace zelkor {
namespace {

size_t indexOf(BetType type) {
    return static_cast<size_t>(type);
}

// The combination as its slots write it: unordered types lower first,
// unused places 0.
std::array<int, 3> slotForm(BetType type, std::span<const int> combination) {
    std::array<int, 3> form{};
    const size_t n = std::min(combination.size(), form.size());
    std::copy_n(combination.begin(), n, form.begin());
    if (isOrderedBet(type))
        return form;
    // At most three numbers: put them in order pair by pair.
    const auto order = [&form](size_t i, size_t j) {
        if (form[j] < form[i])
            std::swap(form[i], form[j]);
    };
    if (n >= 2)
        order(0, 1);
    if (n == 3) {
        order(1, 2);
        order(0, 1);
    }
    return form;
}

bool holdsRefunded(const RacePayouts& p, BetType type, std::span<const int> combination) {
    auto flagged = [](const auto& flags, int n) {
        return n >= 1 && static_cast<size_t>(n) < flags.size() && flags[static_cast<size_t>(n)];
    };
    if (!isBracketBet(type))
        return std::any_of(combination.begin(), combination.end(),
                           [&](int horse) { return flagged(p.refundedHorse, horse); });
    if (std::any_of(combination.begin(), combination.end(),
                    [&](int bracket) { return flagged(p.vanishedBracket, bracket); }))
        return true;
    return combination.size() == 2 && combination[0] == combination[1] &&
           flagged(p.refundedSameBracket, combination[0]);
}

bool emptySlot(const PayoutSlot& slot) {
    return slot.combination == std::array<int, 3>{};
}

} // namespace

bool isBracketBet(BetType type) {
    return type == BetType::BracketQuinella;
}

bool isOrderedBet(BetType type) {
    return type == BetType::Exacta || type == BetType::Trifecta;
}

bool betTypeSold(const RacePayouts& p, BetType type) {
    const size_t t = indexOf(type);
    switch (p.sale[t]) {
    case SaleFlag::NotSold:
    case SaleFlag::CancelledBeforeSale:
        return false;
    case SaleFlag::CancelledAfterSale:
    case SaleFlag::Sold:
        return true;
    case SaleFlag::Unknown:
        break;
    }
    if (p.cancelled || p.notEstablished[t] || p.specialPay[t] || p.refunds[t])
        return true;
    return std::any_of(p.paidSlots[t].begin(), p.paidSlots[t].end(),
                       [](const PayoutSlot& slot) { return !emptySlot(slot) || slot.pay > 0; });
}

Settlement settleTicket(const RacePayouts& p, BetType type, std::span<const int> combination) {
    Settlement s;
    if (!betTypeSold(p, type))
        return s;
    s.bought = true;
    s.stake = kTicketStake;
    const size_t t = indexOf(type);
    if (p.cancelled || p.notEstablished[t] || p.sale[t] == SaleFlag::CancelledAfterSale ||
        holdsRefunded(p, type, combination)) {
        s.ret = kTicketStake;
        return s;
    }
    const std::array<int, 3> form = slotForm(type, combination);
    for (const PayoutSlot& slot : p.paidSlots[t])
        if (!emptySlot(slot) && slot.combination == form) {
            s.ret = slot.pay;
            s.hit = true;
            return s;
        }
    if (p.specialPay[t])
        for (const PayoutSlot& slot : p.paidSlots[t])
            if (emptySlot(slot) && slot.pay > 0) {
                s.ret = slot.pay;
                break;
            }
    return s;
}

} // namespace zelkor
