#include "chances/place_chances.h"

#include <cmath>
#include <cstddef>

namespace zelkor {

namespace {

std::vector<double> strengthsOf(std::span<const double> win, double discount) {
    std::vector<double> q(win.size());
    for (size_t i = 0; i < win.size(); ++i)
        q[i] = std::pow(std::max(win[i], 1e-12), discount);
    return q;
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

std::vector<double> placeChances(std::span<const double> win, int places, double discount) {
    const size_t n = win.size();
    std::vector<double> place(n, 0.0);
    if (places <= 0 || n < static_cast<size_t>(places))
        return place;
    const std::vector<double> q = strengthsOf(win, discount);
    const double total = sumOf(q);
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

double fitPlaceDiscount(std::span<const PlaceOrder> races) {
    double best = 1.0, bestLikelihood = -INFINITY;
    bool any = false;
    for (int step = 0; step <= 18; ++step) {
        const double discount = 0.3 + 0.05 * step;
        double likelihood = 0;
        for (const PlaceOrder& race : races) {
            const std::vector<double> q = strengthsOf(race.win, discount);
            double left = sumOf(q);
            for (size_t k = 0; k < race.order.size(); ++k) {
                const auto i = static_cast<size_t>(race.order[k]);
                if (i >= q.size())
                    break;
                if (k > 0) {
                    likelihood += std::log(q[i] / left);
                    any = true;
                }
                left -= q[i];
            }
        }
        if (likelihood > bestLikelihood) {
            bestLikelihood = likelihood;
            best = discount;
        }
    }
    return any ? best : 1.0;
}

} // namespace zelkor
