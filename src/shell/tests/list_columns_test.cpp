#include "shell/list_columns.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<shell::ListColumn> Table(std::vector<std::pair<int, int>> widthsAndOrders) {
  std::vector<shell::ListColumn> t;
  for (auto [w, o] : widthsAndOrders) {
    shell::ListColumn c{};
    c.caption = "c";
    c.width = w;
    c.order = o;
    t.push_back(c);
  }
  t.push_back(shell::ListColumn{});
  return t;
}

TEST(ListColumns, FitByWeight) {
  struct Case {
    std::vector<std::pair<int, int>> columns;
    int fixed, client;
    std::vector<int32_t> widths;
  } cases[] = {
      {{{100, 0}, {300, 1}}, 0, 400, {100, 300}},
      {{{100, 0}, {300, 1}}, 0, 200, {50, 150}},
      {{{100, 0}, {300, 1}}, 0, 20, {10, 10}},                  // at least 10 pixels
      {{{0, 0}, {0, 1}}, 0, 300, {10, 10}},                     // no weight
      {{{50, 0}, {100, 1}, {100, 2}}, 1, 450, {-1, 200, 200}},  // the first keeps 50
      // As many columns as fixed: all but the last displayed are fitted.
      {{{100, 0}, {100, 1}, {40, 2}}, 3, 440, {200, 200, -1}},
      {{{100, 1}, {40, 2}, {100, 0}}, 3, 440, {200, -1, 200}},
      {{{1, 0}, {2, 1}}, 0, 100, {33, 67}},  // rounded to nearest
  };
  for (const Case& c : cases) {
    auto t = Table(c.columns);
    EXPECT_EQ(shell::FitListColumnWidths(t.data(), c.fixed, c.client), c.widths) << c.client;
  }
  auto empty = Table({});
  EXPECT_TRUE(shell::FitListColumnWidths(empty.data(), 0, 100).empty());
  EXPECT_TRUE(shell::FitListColumnWidths(nullptr, 0, 100).empty());
  EXPECT_EQ(shell::CountListColumns(empty.data()), 0u);
}

TEST(ListColumns, ZeroFourWords) {
  uint32_t block[5] = {1, 2, 3, 4, 5};
  shell::ZeroFourWords(block);
  EXPECT_EQ(block[0] | block[1] | block[2] | block[3], 0u);
  EXPECT_EQ(block[4], 5u);
  shell::ZeroFourWords(nullptr);
}

}  // namespace
