#include "config/AlgorithmRecord.h"

#include <gtest/gtest.h>

namespace {

TEST(AlgorithmRecord, startsWithTheGuidelineDefaults)
{
    AlgorithmRecord r;
    EXPECT_EQ(r.Name, "");
    EXPECT_EQ(r.compDepthLow, 40);
    EXPECT_EQ(r.compDepthHigh, 50);
    EXPECT_EQ(r.compRelaxLow, 40);
    EXPECT_EQ(r.compRelaxHigh, 60);
    EXPECT_EQ(r.compRelaxRecc, 50);
    EXPECT_EQ(r.eccRateLow, 90);
    EXPECT_EQ(r.eccRateHigh, 110);
    EXPECT_EQ(r.initVent, 2);
    EXPECT_EQ(r.ventCompRatioSingleComp, 15);
    EXPECT_EQ(r.ventCompRatioSingleVent, 2);
    EXPECT_EQ(r.ventCompRatioDoubleComp, 5);
    EXPECT_EQ(r.ventCompRatioDoubleVent, 1);
    EXPECT_EQ(r.vRateLow, 6);
    EXPECT_EQ(r.vRateHigh, 9);
    EXPECT_EQ(r.vVolLow, 0.4);
    EXPECT_EQ(r.vVolHigh, 0.6);
    EXPECT_FALSE(r.builtIn);
    EXPECT_EQ(r.pauseEccMax, 10);

    r.setKey("Own");
    r.vVolHigh = 0.7;
    r.builtIn = true;
    r.setDefaults();
    EXPECT_EQ(r, AlgorithmRecord{});
}

TEST(AlgorithmRecord, keysMatchIgnoringCaseInAnyScript)
{
    AlgorithmRecord r;
    r.setKey("ERC 2010 (European Resuscitation Council)");
    const struct {
        const char* key;
        bool matches;
    } cases[] = {
        {"erc 2010 (european resuscitation council)", true},
        {"ERC 2010 (European Resuscitation Council) ", false},
        {"ERC 2010", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(r.matchesKey(c.key), c.matches) << c.key;

    r.setKey("ÄRZTEKAMMER Σ Жизнь");
    EXPECT_TRUE(r.matchesKey("ärztekammer σ жизнь"));
    EXPECT_FALSE(r.matchesKey("arztekammer σ жизнь"));
    r.setKey("a\xff");
    EXPECT_TRUE(r.matchesKey("A\xff"));
    EXPECT_FALSE(r.matchesKey("A\xfe"));

    EXPECT_TRUE(AlgorithmRecord::isValidKey("x"));
    EXPECT_FALSE(AlgorithmRecord::isValidKey(""));
}

TEST(AlgorithmRecord, equalityComparesTheNameWithCaseAndEveryField)
{
    AlgorithmRecord a;
    a.setKey("AHA 2010 (American Heart Association)");
    AlgorithmRecord b = a;
    EXPECT_EQ(a, b);
    b.setKey("aha 2010 (american heart association)");
    EXPECT_NE(a, b);
    EXPECT_TRUE(a.matchesKey(b.getKey()));
    b = a;
    b.pauseEccMax = 11;
    EXPECT_NE(a, b);
    b = a;
    b.builtIn = true;
    EXPECT_NE(a, b);
}

} // namespace
