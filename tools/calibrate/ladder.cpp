#include "ladder.h"

#include <algorithm>
#include <cmath>

namespace ladder {

namespace {

constexpr double kEloPerNatural = 400.0 / 2.302585092994046;  // 400 / ln 10
constexpr double kZ95 = 1.959963984540054;

// Inverts a small symmetric matrix in place by Gauss-Jordan elimination;
// false when it is singular.
bool Invert(std::vector<std::vector<double>>* m) {
  const size_t n = m->size();
  std::vector<std::vector<double>> inv(n, std::vector<double>(n, 0.0));
  for (size_t i = 0; i < n; ++i)
    inv[i][i] = 1.0;
  std::vector<std::vector<double>>& a = *m;
  for (size_t c = 0; c < n; ++c) {
    size_t pivot = c;
    for (size_t r = c + 1; r < n; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    if (std::fabs(a[pivot][c]) < 1e-12) return false;
    std::swap(a[pivot], a[c]);
    std::swap(inv[pivot], inv[c]);
    const double d = a[c][c];
    for (size_t k = 0; k < n; ++k) {
      a[c][k] /= d;
      inv[c][k] /= d;
    }
    for (size_t r = 0; r < n; ++r) {
      if (r == c || a[r][c] == 0.0) continue;
      const double f = a[r][c];
      for (size_t k = 0; k < n; ++k) {
        a[r][k] -= f * a[c][k];
        inv[r][k] -= f * inv[c][k];
      }
    }
  }
  a = inv;
  return true;
}

}  // namespace

Fit FitRatings(int players, const std::vector<PairResult>& results, int anchor,
               double anchorRating) {
  const size_t n = static_cast<size_t>(players);
  std::vector<double> wins(n, 0.0);
  std::vector<std::vector<double>> games(n, std::vector<double>(n, 0.0));
  for (const PairResult& r : results) {
    if (r.games <= 0) continue;
    const size_t a = static_cast<size_t>(r.a), b = static_cast<size_t>(r.b);
    wins[a] += r.winsA + 0.5;
    wins[b] += r.games - r.winsA + 0.5;
    games[a][b] += r.games + 1;
    games[b][a] += r.games + 1;
  }
  // Minorise-maximise iterations on the strengths (Hunter's algorithm).
  std::vector<double> strength(n, 1.0);
  for (int iteration = 0; iteration < 20000; ++iteration) {
    double change = 0.0;
    for (size_t i = 0; i < n; ++i) {
      double denominator = 0.0;
      for (size_t j = 0; j < n; ++j)
        if (games[i][j] > 0.0) denominator += games[i][j] / (strength[i] + strength[j]);
      if (denominator <= 0.0) continue;
      const double next = wins[i] / denominator;
      change = std::max(change, std::fabs(std::log(next / strength[i])));
      strength[i] = next;
    }
    double mean = 0.0;
    for (double s : strength)
      mean += std::log(s);
    mean /= static_cast<double>(n);
    for (double& s : strength)
      s /= std::exp(mean);
    if (change < 1e-10) break;
  }
  Fit fit;
  fit.rating.resize(n);
  const double offset = anchorRating - kEloPerNatural * std::log(strength[anchor]);
  for (size_t i = 0; i < n; ++i)
    fit.rating[i] = offset + kEloPerNatural * std::log(strength[i]);

  // Intervals from the observed information with the anchor held fixed.
  fit.halfWidth.assign(n, 0.0);
  std::vector<size_t> free;
  for (size_t i = 0; i < n; ++i)
    if (static_cast<int>(i) != anchor) free.push_back(i);
  std::vector<std::vector<double>> info(free.size(), std::vector<double>(free.size(), 0.0));
  for (size_t x = 0; x < free.size(); ++x) {
    const size_t i = free[x];
    for (size_t j = 0; j < n; ++j) {
      if (games[i][j] <= 0.0) continue;
      const double p = strength[i] / (strength[i] + strength[j]);
      const double w = games[i][j] * p * (1.0 - p);
      info[x][x] += w;
      const auto y = std::find(free.begin(), free.end(), j);
      if (y != free.end()) info[x][static_cast<size_t>(y - free.begin())] -= w;
    }
  }
  if (Invert(&info))
    for (size_t x = 0; x < free.size(); ++x)
      fit.halfWidth[free[x]] = kZ95 * kEloPerNatural * std::sqrt(std::max(0.0, info[x][x]));
  return fit;
}

void WinInterval(double wins, int games, double* low, double* high) {
  if (games <= 0) {
    *low = 0.0;
    *high = 100.0;
    return;
  }
  const double n = games, p = wins / n, z2 = kZ95 * kZ95;
  const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
  const double half = kZ95 * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n)) / (1 + z2 / n);
  *low = 100.0 * std::max(0.0, centre - half);
  *high = 100.0 * std::min(1.0, centre + half);
}

}  // namespace ladder
