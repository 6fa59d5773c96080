// The three tag comparisons the rules rely on: against a number, against
// "Red" and against "", for every kind of value a tag can hold.
#include <gtest/gtest.h>

#include "model/tag.h"

namespace korvel {
namespace {

const TagValue Empty = TagValue::text("");
const TagValue Food = TagValue::text("Red");
const TagValue Freed = TagValue::number(0);
const TagValue Stamp = TagValue::number(17);

TEST(TagComparison, AgainstANumberOnlyTheSameNumberIsEqual) {
    EXPECT_TRUE(Freed.equalsNumber(0));
    EXPECT_TRUE(Stamp.equalsNumber(17));
    EXPECT_FALSE(Stamp.equalsNumber(16));
    EXPECT_FALSE(Empty.equalsNumber(0));
    EXPECT_FALSE(Food.equalsNumber(0));
    EXPECT_FALSE(Food.equalsNumber(17));
}

TEST(TagComparison, TextThatReadsAsANumberComparesByValue) {
    EXPECT_TRUE(TagValue::text("17").equalsNumber(17));
    EXPECT_TRUE(TagValue::text("-3").equalsNumber(-3));
    EXPECT_FALSE(TagValue::text("17x").equalsNumber(17));
    EXPECT_FALSE(TagValue::text("99999").equalsNumber(-31073));
}

TEST(TagComparison, AgainstRedOnlyTheFoodTextIsEqual) {
    EXPECT_TRUE(Food.equalsText("Red"));
    EXPECT_FALSE(Stamp.equalsText("Red"));
    EXPECT_FALSE(Freed.equalsText("Red"));
    EXPECT_FALSE(Empty.equalsText("Red"));
    EXPECT_FALSE(TagValue::text("red").equalsText("Red"));
}

TEST(TagComparison, AgainstTheEmptyTextOnlyTheEmptyTextIsEqual) {
    EXPECT_TRUE(Empty.equalsText(""));
    EXPECT_TRUE(TagValue().equalsText(""));
    EXPECT_FALSE(Freed.equalsText(""));
    EXPECT_FALSE(Food.equalsText(""));
    EXPECT_FALSE(Stamp.equalsText(""));
}

TEST(TagComparison, NumbersCompareAsTextByTheirDecimalForm) {
    EXPECT_TRUE(Stamp.equalsText("17"));
    EXPECT_TRUE(TagValue::number(-2).equalsText("-2"));
    EXPECT_TRUE(TagValue::number(-32768).equalsText("-32768"));
    EXPECT_TRUE(TagValue::number(32767).equalsText("32767"));
    EXPECT_FALSE(Stamp.equalsText("170"));
    EXPECT_FALSE(Stamp.equalsText("017"));
    EXPECT_EQ(Stamp.toString(), "17");
    EXPECT_EQ(Food.toString(), "Red");
}

TEST(TagComparison, EmptyTextAndZeroAreDifferentTags) {
    EXPECT_NE(Empty, Freed);
    EXPECT_EQ(TagValue(), Empty);
    EXPECT_FALSE(Empty.isNumber());
    EXPECT_TRUE(Freed.isNumber());
}

}  // namespace
}  // namespace korvel
