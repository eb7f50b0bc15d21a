#include "Actions.h"
#include "Script.h"
#include "SwfReader.h"
#include "SwfTags.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvalin::swfgen {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ActionsTest, PushCarriesStringsIntegersAndBooleans)
{
    Actions a;
    a.push({"ab", -2, PushValue::boolean(true)});
    EXPECT_EQ(a.bytes(), (Bytes{0x96, 11, 0, 0, 'a', 'b', 0, 7, 0xFE, 0xFF, 0xFF, 0xFF, 5, 1}));
}

TEST(ActionsTest, ForwardJumpCountsFromTheEndOfTheJump)
{
    Actions a;
    const auto after = a.newLabel();
    a.jump(after).op(Op::Play).op(Op::Stop).bind(after);
    EXPECT_EQ(a.bytes(), (Bytes{0x99, 2, 0, 2, 0, 0x06, 0x07}));
}

TEST(ActionsTest, BackwardBranchIsNegative)
{
    Actions a;
    const auto top = a.newLabel();
    a.bind(top).op(Op::Play).push({PushValue::boolean(true)}).branchIfTrue(top);
    // Play (1) + push (5) + if (5): back 11 bytes from the end of the branch.
    const auto bytes = a.bytes();
    ASSERT_EQ(bytes.size(), 11u);
    EXPECT_EQ(bytes[6], 0x9D);
    EXPECT_EQ(static_cast<std::int16_t>(bytes[9] | bytes[10] << 8), -11);
}

TEST(ActionsTest, UnboundLabelIsRefused)
{
    Actions a;
    a.jump(a.newLabel());
    EXPECT_THROW(a.bytes(), std::logic_error);
}

TEST(ActionsTest, FunctionBodyFollowsItsRecordWithItsOwnJumps)
{
    Actions body;
    const auto end = body.newLabel();
    body.jump(end).op(Op::Stop).bind(end);
    Actions a;
    a.defineFunction("go", {"x"}, body).op(Op::Play);

    test::SwfReader in(a.bytes());
    EXPECT_EQ(in.ui8(), 0x9B);
    const auto length = in.ui16();
    const auto start = in.offset();
    EXPECT_EQ(in.string(), "go");
    EXPECT_EQ(in.ui16(), 1);
    EXPECT_EQ(in.string(), "x");
    const auto codeSize = in.ui16();
    EXPECT_EQ(in.offset() - start, length);
    EXPECT_EQ(codeSize, body.bytes().size());
    EXPECT_EQ(in.ui8(), 0x99);
    in.ui16();
    EXPECT_EQ(in.ui16(), 1); // over the Stop, within the body
    EXPECT_EQ(in.ui8(), 0x07);
    EXPECT_EQ(in.ui8(), 0x06); // the definition's caller goes on after the body
    EXPECT_TRUE(in.atEnd());
}

TEST(ActionsTest, MethodCallPushesArgumentsLastFirstThenCountObjectAndName)
{
    using namespace script;
    Actions a;
    invoke(a, variable("clip"), "gotoAndStop", {number(1), text("x")});
    Actions expected;
    expected.push({"x"}).push({1}).push({2}).push({"clip"}).op(Op::GetVariable).push({"gotoAndStop"});
    expected.op(Op::CallMethod).op(Op::Pop);
    EXPECT_EQ(a.bytes(), expected.bytes());
}

TEST(ActionsTest, WhenSkipsItsBranchOnFalse)
{
    using namespace script;
    Actions a;
    when(a, variable("ready"), [](Actions& b) { b.op(Op::Play); }, [](Actions& b) { b.op(Op::Stop); });
    const auto bytes = a.bytes();
    // push "ready", GetVariable, Not, If +6 (over Play and the Jump), Play, Jump +1, Stop
    const Bytes tail = {0x1C, 0x12, 0x9D, 2, 0, 6, 0, 0x06, 0x99, 2, 0, 1, 0, 0x07};
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);
}

TEST(ActionsTest, ButtonRunsItsActionsOnRelease)
{
    const Bytes actions = {0x06};
    const auto tag = defineButton2(9, {{3, 1, true, false, false, true, {20, 0}}}, actions);
    test::SwfReader in(tag.body);
    EXPECT_EQ(in.ui16(), 9);
    EXPECT_EQ(in.ui8(), 0);
    const auto actionOffsetAt = in.offset();
    const auto actionOffset = in.ui16();
    EXPECT_EQ(in.ui8(), 0b1001); // hit and up
    EXPECT_EQ(in.ui16(), 3);
    EXPECT_EQ(in.ui16(), 1);
    test::SwfReader conditions(tag.body, actionOffsetAt + actionOffset);
    EXPECT_EQ(conditions.ui16(), 0); // the last condition
    EXPECT_EQ(conditions.ui8(), 0x08);
    EXPECT_EQ(conditions.ui8(), 0x00);
    EXPECT_EQ(conditions.ui8(), 0x06);
    EXPECT_EQ(conditions.ui8(), 0x00);
    EXPECT_TRUE(conditions.atEnd());
    EXPECT_EQ(tag.body[actionOffsetAt + actionOffset - 1], 0) << "character end flag";
}

} // namespace
} // namespace orvalin::swfgen
