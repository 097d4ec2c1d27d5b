#include "DatabaseName.h"
#include "NumberCell.h"

#include <gtest/gtest.h>

#include <utility>

TEST(NumberCell, ScalingRoundsToTheNearestAndRefusesWhatDoesNotFit) {
    std::uint32_t field = 7;
    EXPECT_TRUE(ScaleToField(19.99, 100.0, 0xFFFFFFFF, field));
    EXPECT_EQ(field, 1999u);  // 19.99 x 100 lies just below 1999
    EXPECT_TRUE(ScaleToField(0.29, 100.0, 0xFFFFFFFF, field));
    EXPECT_EQ(field, 29u);
    EXPECT_TRUE(ScaleToField(-0.004, 100.0, 10, field));
    EXPECT_EQ(field, 0u);
    EXPECT_FALSE(ScaleToField(-0.01, 100.0, 10, field));
    EXPECT_FALSE(ScaleToField(0.11, 100.0, 10, field));
    EXPECT_FALSE(ScaleToField(1e300, 10.0, 0xFFFFFFFF, field));
    EXPECT_TRUE(ScaleToField(429496729.5, 10.0, 0xFFFFFFFF, field));
    EXPECT_EQ(field, 0xFFFFFFFFu);
    // Halves go away from zero, and only halves.
    for (const auto& [value, rounded] : {std::pair{2.5, 3u}, {0.5, 1u}, {0.49999999999999994, 0u}, {7.0, 7u}}) {
        EXPECT_TRUE(ScaleToField(value, 1.0, 10, field)) << value;
        EXPECT_EQ(field, rounded) << value;
    }
    EXPECT_FALSE(ScaleToField(-0.5, 1.0, 10, field));
}

TEST(DatabaseName, FiltersTheCarNameAndKeepsToThirtyOneCharacters) {
    EXPECT_EQ(MakeDatabaseName("fuel 2006"), "RoadtallyDBfuel_2006");
    EXPECT_EQ(MakeDatabaseName("My Car"), "RoadtallyDBMy_Car");
    EXPECT_EQ(MakeDatabaseName("a:b/c\\d\x7f\x80\xe9\t!"), "RoadtallyDBa_b_cd!");
    EXPECT_EQ(MakeDatabaseName(""), "RoadtallyDB");
    EXPECT_EQ(MakeDatabaseName(std::string(999, 'x')), "RoadtallyDB" + std::string(20, 'x'));
}
