// A small deterministic random source (splitmix64) for the sample data: the same seed
// gives the same tables on every platform and standard library, which the distributions
// of <random> do not promise.
#pragma once

#include <cstdint>
#include <vector>

namespace velkar::samples {

class SampleRandom {
 public:
  explicit SampleRandom(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // A whole number from `low` to `high`, both included.
  int Between(int low, int high) {
    std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<int>(Next() % span);
  }

  // True with the given chance in per cent.
  bool Percent(int chance) { return Between(1, 100) <= chance; }

  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<size_t>(Between(0, static_cast<int>(items.size()) - 1))];
  }

 private:
  std::uint64_t state_;
};

}  // namespace velkar::samples
