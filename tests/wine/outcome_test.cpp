#include <gtest/gtest.h>

#include <string>

#include "core/outcome_label.h"

namespace {

// The labels as the list shows them, in code page 932: the compiler converts this
// program's UTF-8 sources, so the bytes are spelled out here.
TEST(OutcomeLabel, EveryCodeHasItsCp932Label)
{
    const struct {
        int code;
        const char *cp932;
    } expected[] = {
        {1, "\xb4\xd7\xb0"},                          // ｴﾗｰ
        {2, "\x8d\xed\x8f\x9c"},                      // 削除
        {3, "\xcc\xa7\xb2\xd9\x82\xc8\x82\xb5"},      // ﾌｧｲﾙなし
        {4, "\xd8\xcc\xde\xb0\xc4\x8e\x9e\x8d\xed\x8f\x9c"},  // ﾘﾌﾞｰﾄ時削除
        {5, "\xb7\xb0\x82\xc8\x82\xb5"},              // ｷｰなし
        {6, "\x92\x6c\x82\xc8\x82\xb5"},              // 値なし
        {7, "\xcc\xab\xd9\xc0\xde\x82\xc8\x82\xb5"},  // ﾌｫﾙﾀﾞなし
        {8, "\x8c\x9f\x8f\x6f\xb4\xd7\xb0"},          // 検出ｴﾗｰ
    };
    for (const auto &e : expected)
        EXPECT_EQ(std::string(OutcomeLabel(static_cast<Outcome>(e.code))), e.cp932) << e.code;
}

TEST(OutcomeLabel, CodesOutsideTheTableHaveNoLabelAndNoError)
{
    for (int code : {0, 9, -1, 1000}) {
        EXPECT_STREQ(OutcomeLabel(static_cast<Outcome>(code)), "") << code;
        EXPECT_FALSE(OutcomeIsError(static_cast<Outcome>(code))) << code;
    }
}

TEST(OutcomeLabel, OnlyErrorAndDetectErrorAreErrors)
{
    for (int code = 1; code <= 8; ++code)
        EXPECT_EQ(OutcomeIsError(static_cast<Outcome>(code)), code == 1 || code == 8) << code;
}

}  // namespace
