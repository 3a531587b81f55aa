#include "platform/BrelibException.h"
#include "platform/StringTable.h"

#include <gtest/gtest.h>

TEST(StringTable, TextsByIdExactlyAndEmptyForUnknownIds)
{
    EXPECT_EQ(qb::loadString(60000), "Vexa@Qorvex: Error message");
    EXPECT_EQ(qb::loadString(60004), "Unknown error");
    EXPECT_TRUE(qb::loadString(1).isEmpty());
    EXPECT_FALSE(qb::hasString(1));
}

TEST(BrelibException, CarriesOneWideTextAndItsUtf8Form)
{
    const Brelib::exception e(QString::fromUtf8("Упс!!!!!"));
    EXPECT_EQ(e.text(), QString::fromUtf8("Упс!!!!!"));
    EXPECT_STREQ(e.what(), "Упс!!!!!");
}
