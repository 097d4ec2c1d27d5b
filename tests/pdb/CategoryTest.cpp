#include "PalmDatabase.h"

#include <gtest/gtest.h>

#include <string>

TEST(Categories, NumberedByFirstAppearanceWithTheirOwnIds) {
    CPalmDatabase db("d", 0, 0, false);
    EXPECT_FALSE(db.HasAppInfo());
    EXPECT_EQ(db.FindOrAddCategory("Fuel"), 0);
    EXPECT_EQ(db.FindOrAddCategory("fuel"), 1);  // letter case makes another category
    EXPECT_EQ(db.FindOrAddCategory("Tolls"), 2);
    EXPECT_EQ(db.FindOrAddCategory("Fuel"), 0);
    EXPECT_TRUE(db.HasAppInfo());
    EXPECT_EQ(db.GetCategoryLabel(1), "fuel");
    const auto& block = db.GetCategoryBlock();
    EXPECT_EQ(block[258], 1);
    EXPECT_EQ(block[259], 2);
    EXPECT_EQ(block[260], 3);
    EXPECT_EQ(block[274], 3);
    EXPECT_EQ(block[0], 0);  // nothing marked as edited on the handheld
}

TEST(Categories, ASeventeenthNameGetsIndexZeroAndChangesNothing) {
    CPalmDatabase db("d", 0, 0, false);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(db.FindOrAddCategory("c" + std::to_string(i)), i);
    const auto before = db.GetCategoryBlock();
    EXPECT_EQ(db.FindOrAddCategory("c16"), 0);
    EXPECT_EQ(db.GetCategoryBlock(), before);
    EXPECT_EQ(db.FindOrAddCategory("c15"), 15);

    CPalmRecord r;
    r.SetAttributes(0x35);
    r.SetCategoryName("overflow");
    db.AddRecord(r);
    EXPECT_EQ(db.GetRecord(0).GetAttributes(), 0x30);
}

TEST(Categories, LongNamesAreCutToFifteenCharactersAndFindTheirLabel) {
    CPalmDatabase db("d", 0, 0, false);
    EXPECT_EQ(db.FindOrAddCategory("Maintenance and repair"), 0);
    EXPECT_EQ(db.GetCategoryLabel(0), "Maintenance and");
    EXPECT_EQ(db.FindOrAddCategory("Maintenance and repair"), 0);
    EXPECT_EQ(db.FindOrAddCategory("Maintenance and"), 0);
    EXPECT_EQ(db.GetCategoryLabel(1), "");
}
