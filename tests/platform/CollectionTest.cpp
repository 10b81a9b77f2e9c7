#include "platform/runtime/Collection.h"
#include "Errors.h"

#include <gtest/gtest.h>

#include <functional>

using tov::Collection;
using tov::test::ErrorOf;

TEST(Collection, KeepsOrderAndCountsFromOne) {
  Collection c;
  c.Add("a");
  c.Add("b", "KeyB");
  c.Add("c");
  c.Add("first", "", 1);
  ASSERT_EQ(c.Count(), 4);
  EXPECT_EQ(c.Item(1).ToString(), "first");
  EXPECT_EQ(c.Item(2).ToString(), "a");
  EXPECT_EQ(c.Item(4).ToString(), "c");
  EXPECT_EQ(c.Item("keyb").ToString(), "b");
  c.Remove(2);
  EXPECT_EQ(c.Item(2).ToString(), "b");
  EXPECT_EQ(c.Item("KEYB").ToString(), "b"); // key survives the shift
}

TEST(Collection, KeysIgnoreCaseAndMustBeUnique) {
  Collection c;
  c.Add(1, "Kings, NY");
  EXPECT_EQ(ErrorOf([&] { c.Add(2, "KINGS, ny"); }).number, 457);
  EXPECT_EQ(c.Count(), 1);
  EXPECT_TRUE(c.HasKey("kings, ny"));
  c.Remove("Kings, NY");
  EXPECT_EQ(c.Count(), 0);
  c.Add(3, "kings, ny"); // a removed key can be used again
  EXPECT_EQ(c.Item("Kings, NY").ToLong(), 3);
}

TEST(Collection, MissingIndexOrKeyIsInvalidCall) {
  Collection c;
  c.Add("only");
  const std::function<void()> calls[] = {[&] { c.Item(0); }, [&] { c.Item(2); }, [&] { c.Item("none"); },
                                         [&] { c.Remove(3); }, [&] { c.Remove("none"); }};
  for (const auto& call : calls) EXPECT_EQ(ErrorOf(call).number, 5);
}
