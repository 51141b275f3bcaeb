#pragma once
// The random personality draw every set-up shares: an index drawn as the C
// generator's rand() modulo the number of personalities, drawn again while
// its name is one a player already shows. The draw is bounded: after
// kMaxRandomDraws tries the first free personality in list order is taken,
// and with no free one (or no personality at all) the answer is -1, so the
// caller never divides by zero nor loops without end.
#include <functional>
#include <string>
#include <vector>

namespace ui {

constexpr int kMaxRandomDraws = 1000;

// `random` answers a non-negative value (platform::Random by default).
int DrawFreePersonality(const std::vector<std::string>& personalities,
                        const std::vector<std::string>& taken,
                        const std::function<int()>& random = nullptr);

// The names of the program-wide personality list, after refreshing it.
std::vector<std::string> ListPersonalityNames();

}  // namespace ui
