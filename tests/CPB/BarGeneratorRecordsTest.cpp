#include "CPB/BarGenerator.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "TablesFixture.h"
#include "config/PropertyModel.h"

#include <gtest/gtest.h>

namespace {

class BarGeneratorRecords : public TablesFixture {
protected:
    void addAlgorithm(const std::string& name, double eccRateLow, double eccRateHigh)
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        AlgorithmRecord record;
        record.Name = name;
        record.eccRateLow = eccRateLow;
        record.eccRateHigh = eccRateHigh;
        table.addNew();
        table.setRecord(record);
        ASSERT_TRUE(table.update()) << table.lastError();
    }
};

TEST_F(BarGeneratorRecords, takesTheSetUpsAlgorithmByNameIgnoringCase)
{
    addAlgorithm("Paediatric", 100, 120);
    addAlgorithm("Adult", 80, 100);
    PropertyModel settings;
    settings.setAlgorithm1("paediatric");
    settings.setAlgorithm2("ADULT");

    const BarGenerator first(settings, 1);
    EXPECT_EQ(first.getAlgorithm().Name, "Paediatric");
    EXPECT_EQ(first.getMap(4)[100], 9); // the low limit on the zone's first column
    EXPECT_EQ(first.getMap(4)[120], 24);

    // Every number but 1 means the second algorithm.
    for (const int number : {2, 0, -1, 7}) {
        const BarGenerator second(settings, number);
        EXPECT_EQ(second.getAlgorithm().Name, "Adult") << number;
        EXPECT_EQ(second.getMap(4)[80], 9) << number;
    }
}

TEST_F(BarGeneratorRecords, anUnknownNameGivesTheDefaultLimitsUnderThatName)
{
    PropertyModel settings;
    settings.setAlgorithm1("Nobody's guideline");
    const BarGenerator bars(settings, 1);
    AlgorithmRecord expected;
    expected.Name = "Nobody's guideline";
    EXPECT_EQ(bars.getAlgorithm(), expected);
    EXPECT_EQ(bars.getText(4), BarGenerator(expected).getText(4));
}

TEST(BarGeneratorWithoutRecords, usesTheDefaultLimitsUnderTheSetUpsName)
{
    ASSERT_FALSE(databaseOpen);
    PropertyModel settings;
    const BarGenerator bars(settings, 2);
    EXPECT_EQ(bars.getAlgorithm().Name, settings.getAlgorithm2());
    EXPECT_EQ(bars.getMap(5), BarGenerator(AlgorithmRecord()).getMap(5));
}

} // namespace
