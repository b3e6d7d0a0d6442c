#include "chances/place_chances.h"

#include "chances/conditional_logit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zelkor {

namespace {

constexpr double kPlaceRidge = 0.1;

// The square lets the strength fall faster than any one power of the
// chance among the far outsiders, who hardly ever finish near the front:
// one power fitted on the whole field made their places far too likely.
void appendRow(std::vector<double>& rows, double win, const double* share) {
    const double lnWin = std::log(std::max(win, 1e-12));
    rows.push_back(lnWin);
    rows.push_back(win);
    if (share == nullptr) {
        rows.push_back(lnWin * lnWin / 10);
        return;
    }
    const double lnShare = std::log(std::max(*share, 1e-12));
    rows.push_back(lnShare);
    rows.push_back(lnShare * lnShare / 10);
}

double sumOf(const std::vector<double>& q) {
    double s = 0;
    for (double v : q)
        s += v;
    return s;
}

} // namespace

int placesPaid(int starters) {
    return starters >= 8 ? 3 : starters >= 5 ? 2 : 0;
}

std::vector<double> placeStrengths(std::span<const double> win, std::span<const double> share,
                                   std::span<const double> weights) {
    std::vector<double> q(win.size(), 1.0);
    const bool shares = weights.size() == kPoolPlaceWeights;
    if ((weights.size() != kPlaceWeights && !shares) || (shares && share.size() != win.size()))
        return q;
    for (size_t i = 0; i < win.size(); ++i) {
        std::vector<double> row;
        appendRow(row, win[i], shares ? &share[i] : nullptr);
        double u = 0;
        for (size_t k = 0; k < row.size(); ++k)
            u += weights[k] * row[k];
        q[i] = std::exp(u);
    }
    return q;
}

std::vector<double> placeChances(std::span<const double> win, int places,
                                 std::span<const double> q) {
    const size_t n = win.size();
    std::vector<double> place(n, 0.0);
    if (places <= 0 || n < static_cast<size_t>(places) || q.size() != n)
        return place;
    const double total = sumOf({q.begin(), q.end()});
    for (size_t a = 0; a < n; ++a) {
        place[a] += win[a];
        if (places < 2)
            continue;
        for (size_t b = 0; b < n; ++b) {
            if (b == a)
                continue;
            const double pab = win[a] * q[b] / (total - q[a]);
            place[b] += pab;
            if (places < 3)
                continue;
            for (size_t c = 0; c < n; ++c)
                if (c != a && c != b)
                    place[c] += pab * q[c] / (total - q[a] - q[b]);
        }
    }
    return place;
}

std::vector<double> fitPlaceWeights(std::span<const PlaceOrder> races, bool withShares) {
    const int width = withShares ? kPoolPlaceWeights : kPlaceWeights;
    std::vector<LogitRace> places;
    for (const PlaceOrder& race : races) {
        if (withShares && race.share.size() != race.win.size())
            continue;
        std::vector<bool> placed(race.win.size());
        for (size_t k = 0; k < race.order.size(); ++k) {
            const auto first = static_cast<size_t>(race.order[k]);
            if (first >= race.win.size())
                break;
            if (k > 0) {
                LogitRace left;
                for (size_t i = 0; i < race.win.size(); ++i)
                    if (!placed[i]) {
                        if (i == first)
                            left.winner = static_cast<int>(left.rows.size()) / width;
                        appendRow(left.rows, race.win[i], withShares ? &race.share[i] : nullptr);
                    }
                places.push_back(std::move(left));
            }
            placed[first] = true;
        }
    }
    if (places.empty())
        return {};
    return fitConditionalLogit(places, width, kPlaceRidge);
}

} // namespace zelkor
