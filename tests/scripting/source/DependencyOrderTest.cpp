// Ordering objects by their dependencies: what is needed comes first, ties
// keep the given order, cycles are reported and still ordered.
#include "scripting/source/DependencyOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Indexes = std::vector<std::size_t>;

ObjectKey View(const std::string& name) {
  return {"VIEW", name};
}
ObjectKey Type(const std::string& name) {
  return {"TYPE", name};
}
ObjectDependency Needs(const ObjectKey& dependent, const ObjectKey& referenced) {
  return {dependent, referenced};
}

TEST(DependencyOrderTest, WhatIsNeededComesFirstAndTiesKeepTheGivenOrder) {
  // A view on a view on a view, named against the order they need; D stands
  // alone and keeps its place among the independent ones.
  const std::vector<ObjectKey> objects = {View("A_TOP"), View("B_MIDDLE"), View("C_BASE"),
                                          View("D_ALONE")};
  const DependencyOrder order = OrderByDependencies(
      objects,
      {Needs(View("A_TOP"), View("B_MIDDLE")), Needs(View("B_MIDDLE"), View("C_BASE")),
       Needs(View("B_MIDDLE"), View("C_BASE")), Needs(View("A_TOP"), {"FUNCTION", "NOT_IN_LIST"}),
       Needs(View("D_ALONE"), View("D_ALONE"))});
  EXPECT_EQ(order.order, (Indexes{2, 1, 0, 3}));
  EXPECT_TRUE(order.cycles.empty());
  EXPECT_TRUE(order.neededEarly.empty());

  // Without dependencies the given order stands.
  EXPECT_EQ(OrderByDependencies(objects, {}).order, (Indexes{0, 1, 2, 3}));
  // The type is part of the key: a package and its body are two objects.
  EXPECT_EQ(OrderByDependencies({{"PACKAGE BODY", "P"}, {"PACKAGE", "P"}},
                                {Needs({"PACKAGE BODY", "P"}, {"PACKAGE", "P"})})
                .order,
            (Indexes{1, 0}));
}

TEST(DependencyOrderTest, ACycleIsReportedOnceAndEveryObjectIsStillWritten) {
  // EMP_T and DEPT_T need each other; MANAGER_T is a subtype of EMP_T.
  const std::vector<ObjectKey> objects = {Type("DEPT_T"), Type("EMP_T"), Type("MANAGER_T")};
  const DependencyOrder order = OrderByDependencies(
      objects, {Needs(Type("MANAGER_T"), Type("EMP_T")), Needs(Type("EMP_T"), Type("DEPT_T")),
                Needs(Type("DEPT_T"), Type("EMP_T"))});
  EXPECT_EQ(order.order, (Indexes{0, 1, 2}));
  ASSERT_EQ(order.cycles.size(), 1u);
  EXPECT_EQ(order.cycles[0], (Indexes{1, 0}));
  // DEPT_T is written first, so EMP_T must be declared before it.
  EXPECT_EQ(order.neededEarly, (Indexes{1}));
}

TEST(DependencyOrderTest, TwoSeparateCyclesAndObjectsWaitingOnThemAllComeOut) {
  const std::vector<ObjectKey> objects = {View("A"), View("B"), View("C"), View("D"), View("E")};
  // A <-> B, C <-> D, E needs C.
  const DependencyOrder order =
      OrderByDependencies(objects, {Needs(View("A"), View("B")), Needs(View("B"), View("A")),
                                    Needs(View("C"), View("D")), Needs(View("D"), View("C")),
                                    Needs(View("E"), View("C"))});
  EXPECT_EQ(order.order, (Indexes{0, 1, 2, 3, 4}));
  EXPECT_EQ(order.cycles.size(), 2u);
  EXPECT_EQ(order.neededEarly, (Indexes{1, 3}));
}

TEST(DependencyOrderTest, ALongChainInReverseNameOrderIsOrderedWithoutRecursion) {
  std::vector<ObjectKey> objects;
  std::vector<ObjectDependency> dependencies;
  constexpr std::size_t Count = 20000;
  for (std::size_t at = 0; at < Count; ++at) {
    objects.push_back(View("V" + std::to_string(at)));
    if (at + 1 < Count) {
      dependencies.push_back(Needs(objects.back(), View("V" + std::to_string(at + 1))));
    }
  }
  const DependencyOrder order = OrderByDependencies(objects, dependencies);
  ASSERT_EQ(order.order.size(), Count);
  EXPECT_EQ(order.order.front(), Count - 1);
  EXPECT_EQ(order.order.back(), 0u);
}

}  // namespace
