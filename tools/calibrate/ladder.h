#pragma once
// Ratings from game results: a Bradley-Terry fit on the Elo scale (a player
// R points above another wins 1 / (1 + 10^(-R/400)) of their games), by
// maximum likelihood, with one player held at a given rating.
#include <vector>

namespace ladder {

// The games of one pair: winsA counts a draw as half a win.
struct PairResult {
  int a = 0;
  int b = 0;
  double winsA = 0.0;
  int games = 0;
};

struct Fit {
  std::vector<double> rating;
  // Half width of the 95% interval of each rating, relative to the anchor
  // (0 for the anchor itself and for a player whose rating is undetermined).
  std::vector<double> halfWidth;
};

// One virtual drawn game per pair keeps a clean sweep finite.
Fit FitRatings(int players, const std::vector<PairResult>& results, int anchor,
               double anchorRating);

// The 95% Wilson interval of a win share, in percent.
void WinInterval(double wins, int games, double* low, double* high);

}  // namespace ladder
