#pragma once

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <vector>

namespace platform {

// Row sets for the tests of the batch row operations: strictly increasing indices below `limit`, of
// `count` indices, of a random kind: scattered, one run, a few runs, or every index.
inline std::vector<int> RandomRowSet(std::mt19937& random, int limit, int count) {
  count = std::clamp(count, 0, limit);
  std::vector<int> all(limit);
  std::iota(all.begin(), all.end(), 0);
  switch (random() % 4) {
    case 0: {
      std::vector<int> set;
      std::sample(all.begin(), all.end(), std::back_inserter(set), count, random);
      return set;
    }
    case 1: {
      const int start = static_cast<int>(random() % (limit - count + 1));
      return {all.begin() + start, all.begin() + start + count};
    }
    case 2: {
      std::set<int> set;
      while (static_cast<int>(set.size()) < count) {
        const int start = static_cast<int>(random() % limit), length = 1 + static_cast<int>(random() % 3);
        for (int i = start; i < start + length && i < limit && static_cast<int>(set.size()) < count; ++i) set.insert(i);
      }
      return {set.begin(), set.end()};
    }
    default: return {all.begin(), all.begin() + count};  // the first rows, all of them when count is limit
  }
}

// A set of a random size: mostly a few rows, at times none, one or all.
inline std::vector<int> RandomRowSet(std::mt19937& random, int limit) {
  const int sizes[] = {0, 1, limit, static_cast<int>(random() % (limit + 1)), 1 + static_cast<int>(random() % 5)};
  return RandomRowSet(random, limit, sizes[random() % 5]);
}

// Sets that a batch operation over `limit` rows refuses: unsorted, repeated, negative, or at the limit.
inline std::vector<std::vector<int>> BadRowSets(int limit) {
  return {{1, 0}, {2, 2}, {-1, 3}, {0, limit}, {limit + 5}};
}

}  // namespace platform
