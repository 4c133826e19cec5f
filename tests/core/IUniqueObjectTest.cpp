#include "engine/core/IUniqueObject.hpp"
#include "engine/core/NonCopyable.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <type_traits>
#include <vector>

namespace {

class Alpha : public pyx::core::IUniqueObject {
public:
    int typeId() const override { return pyx::core::UniqueTypeId<Alpha>::value(); }
};
class Beta : public pyx::core::IUniqueObject {
public:
    int typeId() const override { return pyx::core::UniqueTypeId<Beta>::value(); }
};
class Gamma : public Beta {
public:
    int typeId() const override { return pyx::core::UniqueTypeId<Gamma>::value(); }
};

class Owner : pyx::core::NonCopyable {};

} // namespace

TEST(CoreUniqueObject, EachClassHasItsOwnStablePositiveId) {
    std::vector<std::unique_ptr<pyx::core::IUniqueObject>> objects;
    objects.push_back(std::make_unique<Alpha>());
    objects.push_back(std::make_unique<Beta>());
    objects.push_back(std::make_unique<Gamma>());
    objects.push_back(std::make_unique<Alpha>());
    std::set<int> ids;
    for (const auto& o : objects) {
        EXPECT_GT(o->typeId(), 0);
        ids.insert(o->typeId());
    }
    EXPECT_EQ(ids.size(), 3u);
    EXPECT_EQ(objects[0]->typeId(), objects[3]->typeId());
    EXPECT_EQ(Alpha().typeId(), Alpha().typeId());
}

TEST(CoreUniqueObject, IdsAreDrawnFromOneCounter) {
    const int a = pyx::core::_impl::nextTypeId();
    const int b = pyx::core::_impl::nextTypeId();
    EXPECT_EQ(b, a + 1);
    // The classes above drew their ids during start-up, before these.
    EXPECT_LT(Alpha().typeId(), a);
    EXPECT_LT(Gamma().typeId(), a);
}

TEST(CoreNonCopyable, ForbidsCopies) {
    static_assert(!std::is_copy_constructible_v<Owner>);
    static_assert(!std::is_copy_assignable_v<Owner>);
    static_assert(std::is_default_constructible_v<Owner>);
    SUCCEED();
}
