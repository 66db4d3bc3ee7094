#include "Int32Text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
    std::string text;
    std::optional<std::int32_t> value;
};

TEST(ParseInt32, AcceptsOnlyDecimalIntegersWithin32Bits)
{
    const Case cases[] = {
        {"0", 0},
        {"001", 1},
        {"-05", -5},
        {"+5", 5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"00000000000000000000042", 42},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"0x10", std::nullopt},
        {"1e3", std::nullopt},
        {"1.5", std::nullopt},
        {"--5", std::nullopt},
        {"5-", std::nullopt},
        {"１２", std::nullopt},  // full-width digits
        {std::string("1\0" "2", 3), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseInt32(c.text), c.value) << "text: \"" << c.text << "\"";
}

}  // namespace
