// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing the service's answer: the JSON library's document, with repeated member names kept in place.
#include "starttimes/ServiceAnswer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace calvorin {
namespace {

TEST(ParseServiceAnswer, WithoutRepeatedNamesGivesTheLibrarysOwnDocument) {
    const char* texts[] = {
        R"({"aggiornamento": "2025-10-20 09.15", "orari": {"2a": "2023-08-20 18.30", "1a": "x"}})",
        R"([1, -2, 3.5, 18446744073709551615, true, false, null, "\u00e8\ud83d\ude00", [], {}, [[{"a": [1]}]]])",
        R"("solo testo")",
        R"(  {"a": {"b": {"c": [1, {"d": null}]}}, "e": []}  )",
        "12",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const auto parsed = ParseServiceAnswer(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, ServiceAnswer::parse(text));
        EXPECT_EQ(parsed->dump(), ServiceAnswer::parse(text).dump());
    }
}

TEST(ParseServiceAnswer, RepeatedNamesKeepEveryMemberInOrder) {
    const auto parsed = ParseServiceAnswer(
        R"({"orari": {"6a": "primo", "5a": "x", "6a": "secondo", "6a": {"n": 1, "n": 2}}, "orari": 7})");
    ASSERT_TRUE(parsed.has_value());
    std::vector<std::pair<std::string, std::string>> members;
    for (const auto& [name, value] : parsed->find("orari")->items()) members.emplace_back(name, value.dump());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"6a", R"("primo")"}, {"5a", R"("x")"}, {"6a", R"("secondo")"}, {"6a", R"({"n":1,"n":2})"}};
    EXPECT_EQ(members, expected);
    EXPECT_EQ(parsed->size(), 2u);
    EXPECT_TRUE(parsed->find("orari")->is_object()) << "a name looked up gives its first member";
}

TEST(ParseServiceAnswer, InvalidTextsGiveNothing) {
    const char* texts[] = {
        "",    "   ",         "{",  R"({"a": 1} x)",    R"({"a" 1})", "[1,]", R"({"a": 1,})",
        "nul", R"("\ud800")", "01", "{\"a\": \"\x01\"}"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseServiceAnswer(text).has_value());
    }
}

}  // namespace
}  // namespace calvorin
