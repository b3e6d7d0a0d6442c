#pragma once

#include <span>
#include <vector>

namespace zelkor {

// Places paid as the JRA pays them: three with 8 or more starters, two with
// 5 to 7, none with 4 or fewer.
int placesPaid(int starters);

// The strengths with which the runners fill the places after the first:
// exp(d · ln win + lean · win + c · (ln win)² / 10) for `weights`
// {d, lean, c}; with the place pool, share being the runner's part of it,
// exp(d · ln win + lean · win + m · ln share + c · (ln share)² / 10) for
// {d, lean, m, c}. With {1, 0, 0} this is plain Harville; d below 1 alone
// (the usual discount) lifts every outsider alike, even one that can hardly
// finish near the front, which the square takes back; the lean evens out
// the favourites, and the place pool tells what the public believes of the
// places, which the win chances cannot.
inline constexpr int kPlaceWeights = 3;
inline constexpr int kPoolPlaceWeights = 4;
std::vector<double> placeStrengths(std::span<const double> win, std::span<const double> share,
                                   std::span<const double> weights);

// Each runner's chance to finish within the first `places`: the first as
// the win chances say, the rest in proportion to `strengths` among the
// runners left. The chances add up to `places`.
std::vector<double> placeChances(std::span<const double> win, int places,
                                 std::span<const double> strengths);

// One race for fitting the place weights: the win chances, the shares of
// the place pool (empty: none) and the runners that finished first, second,
// ... (as many as the places paid).
struct PlaceOrder {
    std::vector<double> win;
    std::vector<double> share;
    std::vector<int> order;
};

// The weights that make the observed second and third places likeliest (a
// conditional logit over the runners left at each place), over the races
// with the place pool when `withShares`, else on the win chances alone;
// nothing when there is nothing to fit on.
std::vector<double> fitPlaceWeights(std::span<const PlaceOrder> races, bool withShares);

} // namespace zelkor
