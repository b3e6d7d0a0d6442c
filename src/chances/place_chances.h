#pragma once

#include <span>
#include <vector>

namespace zelkor {

// Places paid as the JRA pays them: three with 8 or more starters, two with
// 5 to 7, none with 4 or fewer.
int placesPaid(int starters);

// Each runner's chance to finish within the first `places` from the win
// chances by a discounted Harville model: after the first, the rest finish
// as if their strengths were the win chances raised to `discount` (below 1
// the outsiders fill the places more often than plain Harville says). The
// chances add up to `places`.
std::vector<double> placeChances(std::span<const double> win, int places, double discount);

// One race for fitting the discount: the win chances and the runners that
// finished first, second, ... (as many as the places paid).
struct PlaceOrder {
    std::vector<double> win;
    std::vector<int> order;
};

// The discount that makes the observed orders likeliest, on a grid of
// 0.05 from 0.30 to 1.20 (1 when there is nothing to fit on).
double fitPlaceDiscount(std::span<const PlaceOrder> races);

} // namespace zelkor
