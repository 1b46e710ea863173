// The fill count field: what its text counts as and how it corrects itself.
#include "controls/FillCountField.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace tivla;

TEST(FillCountField, ReadsTheTextOrTheLowerBound) {
    const struct {
        std::string text;
        int count;
    } cases[] = {
        {"3", 3},  {"1600", 1600}, {"9999", 9999}, {"0", 0}, {"-4", -4}, {"+12", 12},
        {" 7", 7}, {"", 3},        {"-", 3},       {"+", 3}, {"2,5", 3}, {"12-", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fillCountFromText(c.text), c.count) << '"' << c.text << '"';
    }
}

TEST(FillCountField, CorrectsTheCountAsItChanges) {
    const std::optional<std::string> unchanged;
    const struct {
        std::string text;
        int boardSize;
        std::optional<std::string> corrected;
    } cases[] = {
        {"5000", 40, "1600"},
        {"1601", 40, "1600"},
        {"1600", 40, unchanged},
        {"9999", 80, "2550"},
        {"2600", 80, unchanged}, // over the upper bound only until the field loses focus
        {"9999", 200, unchanged},
        {"0", 40, "3"},
        {"-4", 40, "3"},
        {"2", 40, "3"},
        {"-", 40, unchanged},
        {"", 40, unchanged},
        {"3", 40, unchanged},
        {"+5", 40, unchanged},
        {"5", 1, "3"}, // a single cell: the lower bound wins
        {"3", 1, unchanged},
        {"5", 2, "4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(correctedFillCountText(c.text, c.boardSize), c.corrected)
            << '"' << c.text << "\" on " << c.boardSize;
    }
}

TEST(FillCountField, KeepsItsBoundsOnFocusLossAndStepping) {
    const std::optional<std::string> unchanged;
    const struct {
        std::string text;
        std::optional<std::string> afterFocusLoss;
        std::string up;
        std::string down;
    } cases[] = {
        {"3", unchanged, "4", "3"},       {"2550", unchanged, "2550", "2549"},
        {"9999", "2550", "2550", "2550"}, {"2", "3", "3", "3"},
        {"", unchanged, "4", "3"},        {"+12", unchanged, "13", "11"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fillCountTextAfterFocusLoss(c.text), c.afterFocusLoss) << '"' << c.text << '"';
        EXPECT_EQ(fillCountTextAfterStep(c.text, 1), c.up) << '"' << c.text << '"';
        EXPECT_EQ(fillCountTextAfterStep(c.text, -1), c.down) << '"' << c.text << '"';
    }
}

TEST(FillCountField, LetsThroughOnlyNumberCharacters) {
    for (const char32_t ch : {U'0', U'9', U'+', U'-', U',', U'\b'}) {
        EXPECT_TRUE(fillCountAcceptsCharacter(ch, U',')) << static_cast<int>(ch);
    }
    for (const char32_t ch : {U'a', U'.', U' ', U'\r', U'ж', U'$'}) {
        EXPECT_FALSE(fillCountAcceptsCharacter(ch, U',')) << static_cast<int>(ch);
    }
}
