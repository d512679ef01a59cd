#include "widgets/FluSimpleString.h"

#include <gtest/gtest.h>


TEST(FluSimpleString, NullGivesEmptyAndOwnTextIsSafeToReuse) {
    EXPECT_STREQ(FluSimpleString(static_cast<const char*>(nullptr)).c_str(), "");
    EXPECT_STREQ(FluSimpleString(10u).c_str(), "");
    EXPECT_STREQ(FluSimpleString(0u).c_str(), "");
    EXPECT_STREQ(FluSimpleString(1u).c_str(), "");
    FluSimpleString s("abc");
    s += nullptr;
    EXPECT_STREQ(s.c_str(), "abc");
    s += s.c_str();
    EXPECT_STREQ(s.c_str(), "abcabc");
    s = s.c_str() + 3;
    EXPECT_STREQ(s.c_str(), "abc");
    s = static_cast<const char*>(nullptr);
    EXPECT_STREQ(s.c_str(), "");
    EXPECT_EQ(s.size(), 0);
}

TEST(FluSimpleString, CopiesAndAssignmentsAreDeep) {
    FluSimpleString a("left"), b("right");
    FluSimpleString c(a);
    a = b;
    b.upcase();
    c += "!";
    EXPECT_STREQ(a.c_str(), "right");
    EXPECT_STREQ(b.c_str(), "RIGHT");
    EXPECT_STREQ(c.c_str(), "left!");
    FluSimpleString& self = a;
    a = self;
    EXPECT_STREQ(a.c_str(), "right");
    b.downcase();
    EXPECT_EQ(a, b);
}

TEST(FluSimpleString, SubstrAndCopyStayInsideTheText) {
    const FluSimpleString s("abcdef");
    struct { int offset, count; const char* expected; } subs[] = {
        {2, 3, "cde"}, {4, 3, ""}, {0, 6, "abcdef"}, {5, 1, "f"}, {6, 0, ""}, {-1, 2, ""}, {2, -1, ""}, {3, -3, ""},
    };
    for (const auto& t : subs)
        EXPECT_STREQ(s.substr(t.offset, t.count).c_str(), t.expected) << t.offset << "," << t.count;

    struct { const char* src; unsigned offset, count; const char* expected; } copies[] = {
        {"abcdef", 2, 3, "cde"}, {"abcdef", 0, 6, "abcdef"}, {"abcdef", 4, 3, "old"},
        {"abcdef", 0xFFFFFFFFu, 2, "old"}, {"abcdef", 2, 0xFFFFFFFFu, "old"}, {nullptr, 0, 1, "old"},
        {"abcdef", 1, 0, "old"}, {"abcdef", 6, 1, "old"},
    };
    for (const auto& t : copies) {
        FluSimpleString d("old");
        d.copy(t.src, t.offset, t.count);
        EXPECT_STREQ(d.c_str(), t.expected) << t.offset << "," << t.count;
    }
}

TEST(FluSimpleString, ComparesAndFindsBytes) {
    FluSimpleString lower("abc"), upper("ABC"), longer("abd");
    EXPECT_NE(lower.compare(upper), 0);
    EXPECT_EQ(lower.casecompare(upper), 0);
    EXPECT_LT(lower.compare(longer), 0);
    EXPECT_GT(longer.casecompare(upper), 0);
    EXPECT_TRUE(lower < longer);
    EXPECT_TRUE(lower != upper);
    EXPECT_STREQ(upper.c_str(), "ABC");  // casecompare leaves both texts alone

    FluSimpleString path("/a/b/c");
    EXPECT_EQ(path.find('/'), 0);
    EXPECT_EQ(path.rfind('/'), 4);
    EXPECT_EQ(path.find('b'), 3);
    EXPECT_EQ(path.find('z'), -1);
    EXPECT_EQ(path.rfind('z'), -1);
    EXPECT_EQ(path.find('\0'), -1);
}
