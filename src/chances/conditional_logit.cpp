#include "chances/conditional_logit.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace zelkor {

namespace {

using Rows = Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>;

Rows rowsOf(std::span<const double> rows, Eigen::Index width) {
    return Rows(rows.data(), static_cast<Eigen::Index>(rows.size()) / width, width);
}

Eigen::VectorXd softmax(const Eigen::VectorXd& utility) {
    const Eigen::VectorXd e = (utility.array() - utility.maxCoeff()).exp();
    return e / e.sum();
}

} // namespace

std::vector<double> fitConditionalLogit(std::span<const LogitRace> races, int width, double ridge) {
    const Eigen::Index k = width;
    Eigen::VectorXd w = Eigen::VectorXd::Zero(k);
    for (int iteration = 0; iteration < 100; ++iteration) {
        Eigen::VectorXd gradient = -ridge * w;
        Eigen::MatrixXd information = ridge * Eigen::MatrixXd::Identity(k, k);
        for (const LogitRace& race : races) {
            const Rows x = rowsOf(race.rows, k);
            if (x.rows() < 2 || race.winner < 0 || race.winner >= x.rows())
                continue;
            const Eigen::VectorXd p = softmax(x * w);
            const Eigen::VectorXd mean = x.transpose() * p;
            gradient += x.row(race.winner).transpose() - mean;
            information += x.transpose() * p.asDiagonal() * x - mean * mean.transpose();
        }
        const Eigen::VectorXd step = information.ldlt().solve(gradient);
        if (!step.allFinite())
            break;
        w += step;
        if (step.lpNorm<Eigen::Infinity>() < 1e-10)
            break;
    }
    return {w.data(), w.data() + k};
}

std::vector<double> logitChances(std::span<const double> rows, std::span<const double> weights) {
    const auto k = static_cast<Eigen::Index>(weights.size());
    if (k == 0 || rows.empty())
        return {};
    const Eigen::Map<const Eigen::VectorXd> w(weights.data(), k);
    const Eigen::VectorXd p = softmax(rowsOf(rows, k) * w);
    return {p.data(), p.data() + p.size()};
}

} // namespace zelkor
