#include <gtest/gtest.h>

#include <random>
#include <set>

#include "core/CAddressSet.h"

TEST(AddressSet, AgreesWithAnOrderedSetUnderRandomInsertsAndErases)
{
    std::mt19937_64 random(1);
    CAddressSet set;
    std::set<uintptr_t> model;
    for (int step = 0; step < 200000; step++) {
        // Clustered addresses, like heap objects, so that probe runs collide.
        uintptr_t address = 0x10000 + (random() % 5000) * 16;
        auto* p = reinterpret_cast<const void*>(address);
        if (random() % 3) {
            EXPECT_TRUE(set.Insert(p));
            model.insert(address);
        } else {
            EXPECT_EQ(set.Erase(p), model.erase(address) == 1);
        }
        if (step % 1000 == 0) {
            ASSERT_EQ(set.Size(), model.size());
            for (int probe = 0; probe < 200; probe++) {
                uintptr_t a = 0x10000 + (random() % 5000) * 16;
                ASSERT_EQ(set.Contains(reinterpret_cast<const void*>(a)), model.count(a) == 1);
            }
        }
    }
    EXPECT_FALSE(set.Contains(nullptr));
    EXPECT_FALSE(set.Insert(nullptr));
    // Neighbours 8 bytes apart are told apart; addresses far apart live in other tables.
    EXPECT_TRUE(set.Insert(reinterpret_cast<const void*>(0x7fff12345678)));
    EXPECT_FALSE(set.Contains(reinterpret_cast<const void*>(0x7fff12345670)));
    EXPECT_FALSE(set.Contains(reinterpret_cast<const void*>(0x7fff12345680)));
    EXPECT_FALSE(set.Contains(reinterpret_cast<const void*>(0x7fff12345679)));  // inside the object
    EXPECT_TRUE(set.Contains(reinterpret_cast<const void*>(0x7fff12345678)));
    set.Clear();
    EXPECT_EQ(set.Size(), 0u);
    EXPECT_FALSE(set.Contains(reinterpret_cast<const void*>(0x10000)));
}
