#include "kel/unique_any.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;

struct fake_traits {
  using type = int;
  static int invalid() noexcept { return -1; }
  static void close(int value) noexcept { closed.push_back(value); }
};
using unique_fake = kel::unique_any<fake_traits>;

TEST(UniqueAny, ClosesEachResourceExactlyOnceOnEveryRoad) {
  closed.clear();
  {
    unique_fake a(1);
    unique_fake b(std::move(a));
    EXPECT_FALSE(a);
    unique_fake c(2);
    c = std::move(b);  // closes 2, takes 1
    unique_fake empty;
    *empty.put() = 3;
    unique_fake released(4);
    EXPECT_EQ(released.release(), 4);
    c.reset(5);  // closes 1
  }
  EXPECT_EQ(closed, (std::vector<int>{2, 1, 3, 5}));
}

TEST(UniqueAny, InvalidValueIsNeverClosed) {
  closed.clear();
  { unique_fake none; none.reset(); *none.put() = -1; }
  EXPECT_TRUE(closed.empty());
}

}  // namespace
