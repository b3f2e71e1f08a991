// A session's recommendation text: the stored recommendation, then the typed one.

#include "app/debriefing/RecommendationList.h"

#include <gtest/gtest.h>

namespace {

TEST(RecommendationList, storedThenTypedJoinedByLineEnds)
{
    struct Case {
        const char* what;
        std::string stored;
        std::wstring box;
        std::wstring expected;
    };
    const std::wstring long400(400, L'x');
    const Case cases[] = {
        {"a live session, empty box", "", L"", L""},
        {"a live session with a typed text", "", L"Deeper, please.\nAnd faster.", L"Deeper, please.\nAnd faster."},
        {"a stored session, box unchanged", "abc", L"", L"abc\n"},
        {"both", "abc", L"xyz", L"abc\nxyz"},
        {"text of any script, stored as UTF-8", "\xC3\x9C" "bung", L"\u00FCben \u2192 gut", L"\u00DCbung\n\u00FCben \u2192 gut"},
        {"the box counts up to 349 characters", "", long400, long400.substr(0, 349)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RecommendationList(c.stored, c.box).join(), c.expected);
    }
}

TEST(RecommendationList, takesThreeEntriesByPriorityAndEqualOnesInOrder)
{
    RecommendationList list;
    list.add(10, L"late");
    list.add(RecommendationList::TYPED, L"typed");
    list.add(RecommendationList::STORED, L"stored");
    list.add(RecommendationList::TYPED, L"typed again");
    EXPECT_EQ(list.join(), L"stored\ntyped\ntyped again");
}

} // namespace
