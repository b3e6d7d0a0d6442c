#include "jvdata/payout_record.h"

#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "jvdata/jvdata_versions.h"

#include <algorithm>

namespace zelkor {
namespace {

using namespace jvlayout;
using jvdata::number;

template <size_t N>
void readFlags(std::string_view hr, Repeated field, std::array<bool, N>& flags, size_t first) {
    for (int i = 0; i < field.count && first + static_cast<size_t>(i) < N; ++i)
        flags[first + static_cast<size_t>(i)] = number(hr, {field.at(i), 1}) == 1;
}

// A slot's combination: bracket pairs are two one-digit brackets, every
// other type two-digit horse numbers.
PayoutSlot slotAt(std::string_view hr, const hr::PayTable& table, int i, bool brackets) {
    const size_t start = table.slots.at(i);
    const size_t digits = brackets ? 1 : 2;
    PayoutSlot slot;
    const size_t numbers = std::min(table.comboWidth / digits, slot.combination.size());
    for (size_t n = 0; n < numbers; ++n)
        slot.combination[n] = number(hr, {start + n * digits, digits});
    slot.pay = number(hr, {start + table.comboWidth, hr::kPayWidth});
    slot.popularity = number(hr, {start + table.comboWidth + hr::kPayWidth, table.popWidth});
    return slot;
}

SaleFlag saleFlagOf(std::string_view o1, Field field) {
    const std::string_view flag = jvdata::slice(o1, field);
    switch (flag.empty() ? ' ' : flag[0]) {
    case '0':
        return SaleFlag::NotSold;
    case '1':
        return SaleFlag::CancelledBeforeSale;
    case '3':
        return SaleFlag::CancelledAfterSale;
    case '7':
        return SaleFlag::Sold;
    default:
        return SaleFlag::Unknown;
    }
}

} // namespace

RacePayouts payoutsFromRecords(std::string_view hr, std::string_view o1) {
    RacePayouts p;
    p.cancelled = hr.size() > kDataKind.offset && hr[kDataKind.offset] == jvdata::kCancelKind;
    readFlags(hr, hr::kNotEstablished, p.notEstablished, 0);
    readFlags(hr, hr::kSpecialPay, p.specialPay, 0);
    readFlags(hr, hr::kRefund, p.refunds, 0);
    readFlags(hr, hr::kRefundHorse, p.refundedHorse, 1);
    readFlags(hr, hr::kRefundBracket, p.vanishedBracket, 1);
    readFlags(hr, hr::kRefundSameBracket, p.refundedSameBracket, 1);
    for (int t = 0; t < kBetTypeCount; ++t) {
        const hr::PayTable& table = hr::kPayTables[t];
        const bool brackets = isBracketBet(static_cast<BetType>(t));
        for (int i = 0; i < table.slots.count; ++i) {
            PayoutSlot slot = slotAt(hr, table, i, brackets);
            if (slot.pay > 0 || slot.combination != std::array<int, 3>{})
                p.paidSlots[static_cast<size_t>(t)].push_back(slot);
        }
    }
    if (!o1.empty()) {
        p.sale[static_cast<size_t>(BetType::Win)] = saleFlagOf(o1, o1::kWinSale);
        p.sale[static_cast<size_t>(BetType::Place)] = saleFlagOf(o1, o1::kPlaceSale);
        p.sale[static_cast<size_t>(BetType::BracketQuinella)] = saleFlagOf(o1, o1::kBracketSale);
    }
    return p;
}

} // namespace zelkor
