// The integer conversion shared by the number boxes and the board file.
#include "engine/IntegerText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using tivla::parseInteger;

TEST(IntegerText, AcceptsTheClassicForms) {
    const struct {
        std::string text;
        std::int32_t value;
    } cases[] = {
        {"0", 0},
        {"500", 500},
        {"+7", 7},
        {"-12", -12},
        {"  42", 42},
        {"007", 7},
        {"$C8", 200},
        {"$c8", 200},
        {"x10", 16},
        {"X10", 16},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"$7FFFFFFF", 2147483647},
    };
    for (const auto& c : cases) {
        const auto v = parseInteger(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
    }
}

TEST(IntegerText, RefusesEverythingElse) {
    for (const char* text :
         {"", " ", "-", "+", "$", "0x", "x", "abc", "1 ", "1 abc", "12a", "2147483648",
          "-2147483649", "$100000000", "1.5", "\t5", "--1", "99999999999999999999"}) {
        EXPECT_FALSE(parseInteger(text).has_value()) << '"' << text << '"';
    }
}
