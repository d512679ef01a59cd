#include "widgets/FluSimpleString.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

TEST(FluSimpleString, BuildsJoinsAndCopiesDeeplyEvenFromItsOwnText) {
    EXPECT_STREQ(FluSimpleString(static_cast<const char*>(nullptr)).c_str(), "");
    EXPECT_STREQ(FluSimpleString(1u).c_str(), "");
    FluSimpleString s("abc"), copy(s);
    s += nullptr;
    s += s.c_str();
    copy += "!";
    EXPECT_STREQ(s.c_str(), "abcabc");
    EXPECT_STREQ(copy.c_str(), "abc!");
    s = s.c_str() + 3;
    copy = s;
    s.upcase();
    EXPECT_EQ(std::make_tuple(std::string(s.c_str()), std::string(copy.c_str()), s.size()),
              std::make_tuple(std::string("ABC"), std::string("abc"), 3));
    s = static_cast<const char*>(nullptr);
    EXPECT_EQ(s.size(), 0);
}

TEST(FluSimpleString, SubstrAndCopyStayInsideTheText) {
    const FluSimpleString s("abcdef");
    struct { int offset, count; const char* expected; } subs[] = {
        {2, 3, "cde"}, {4, 3, ""}, {0, 6, "abcdef"}, {5, 1, "f"}, {6, 0, ""}, {-1, 2, ""}, {3, -3, ""},
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
    FluSimpleString lower("abc"), upper("ABC"), next("abd");
    EXPECT_TRUE(lower != upper && lower < next && !(next < lower));
    EXPECT_EQ(lower.casecompare(upper), 0);
    EXPECT_GT(next.casecompare(upper), 0);
    EXPECT_STREQ(upper.c_str(), "ABC");  // casecompare leaves both texts alone
    upper.downcase();
    EXPECT_TRUE(upper == lower);
    FluSimpleString path("/a/b/c");
    EXPECT_EQ(std::make_tuple(path.find('/'), path.rfind('/'), path.find('b')), std::make_tuple(0, 4, 3));
    EXPECT_EQ(std::make_tuple(path.find('z'), path.rfind('z'), path.find('\0'), path.rfind('\0')),
              std::make_tuple(-1, -1, -1, -1));
}
