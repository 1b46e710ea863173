// The interval, n and target boxes' rules as plain functions.
#include "controls/NumberBoxRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

using namespace tivla;

TEST(NumberBoxRules, OnlyDigitsAndBackspaceGetThrough) {
    for (char32_t ch : {U'0', U'5', U'9', kBackspaceCharacter}) {
        EXPECT_TRUE(acceptsNumberBoxCharacter(ch)) << static_cast<int>(ch);
    }
    for (char32_t ch : {U'-', U'+', U' ', U'a', U'$', U'/', U':', U'\r', U'\x7f', U'٣', U'５'}) {
        EXPECT_FALSE(acceptsNumberBoxCharacter(ch)) << static_cast<int>(ch);
    }
}

TEST(NumberBoxRules, TheConversionErrorQuotesTheTextWithoutAFullStop) {
    EXPECT_EQ(invalidIntegerText(""), "'' is not a valid integer value");
    EXPECT_EQ(invalidIntegerText("12 "), "'12 ' is not a valid integer value");
}

TEST(NumberBoxRules, TheTargetIsKeptAboveTheGeneration) {
    const struct {
        const char* text;
        std::int32_t generation;
        std::optional<std::string> corrected;
    } cases[] = {
        {"", 0, "1"},
        {"", INT_MAX, "2147483648"},
        {"5", 5, "6"},
        {"-3", 5, "6"},
        {"6", 5, std::nullopt},
        {"$10", 5, std::nullopt},
        {"abc", 5, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(correctedTargetText(c.text, c.generation), c.corrected) << c.text;
    }
}

TEST(NumberBoxRules, StepsToTheTargetWrapLike32BitArithmetic) {
    EXPECT_EQ(stepsToTarget(10, 3), 7);
    EXPECT_EQ(stepsToTarget(3, 10), -7);
    EXPECT_EQ(stepsToTarget(INT_MAX, -1), INT_MIN);
}
