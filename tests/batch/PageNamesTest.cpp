#include "PageNames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(PageAddress, ReplacesEveryPlaceholderInEitherCase)
{
    struct Case {
        std::string pageTemplate;
        std::int64_t number;
        std::string address;
    };
    const Case cases[] = {
        {"http://h/list.php?page=[-A-]", 5, "http://h/list.php?page=5"},
        {"http://h/[-A-]/x?p=[-a-]", 12, "http://h/12/x?p=12"},
        {"[-A-][-A-]", -3, "-3-3"},
        {"http://h/static.html", 7, "http://h/static.html"},
        {"", 7, ""},
        // Other letters, other brackets and cut-off placeholders stay.
        {"[-B-][A][-A][-A-", 1, "[-B-][A][-A][-A-"},
        // Found left to right without overlapping: the inner one is replaced.
        {"[-[-A-]-]", 9, "[-9-]"},
        {"x[-A-]", 2147483648, "x2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageAddress(c.pageTemplate, c.number), c.address) << c.pageTemplate;
}

TEST(CounterText, PadsWithZerosToTheWidthTextsLengthAndNeverCuts)
{
    struct Case {
        std::int64_t counter;
        std::string widthText;
        std::string text;
    };
    const Case cases[] = {
        {1, "001", "001"},
        {7, "7", "7"},
        {11, "7", "11"},
        {99, "001", "099"},
        {1000, "001", "1000"},
        {-5, "-05", "0-5"},
        {-1, "-05", "0-1"},
        {0, "-05", "000"},
        {-12345, "-05", "-12345"},
        {3, "", "3"},
        {2147483648, "1", "2147483648"},
        // The width counts characters, not bytes.
        {4, "一二三", "004"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CounterText(c.counter, c.widthText), c.text)
            << c.counter << " with width text \"" << c.widthText << "\"";
}

TEST(OutputPath, JoinsThePartsWithOneSeparatorAndNothingElse)
{
#ifdef _WIN32
    EXPECT_EQ(OutputPath("D:\\out", "p", "001", ".html"), "D:\\out\\p001.html");
    EXPECT_EQ(OutputPath("D:\\out\\", "p", "001", ".html"), "D:\\out\\\\p001.html");
    EXPECT_EQ(OutputPath("", "", "7", ""), "\\7");
    EXPECT_EQ(OutputPath("out", "a/b ", "2", " .x"), "out\\a/b 2 .x");
#else
    EXPECT_EQ(OutputPath("/out", "p", "001", ".html"), "/out/p001.html");
    EXPECT_EQ(OutputPath("/out/", "p", "001", ".html"), "/out//p001.html");
    EXPECT_EQ(OutputPath("", "", "7", ""), "/7");
    EXPECT_EQ(OutputPath("out", "a/b ", "2", " .x"), "out/a/b 2 .x");
#endif
}

}  // namespace
