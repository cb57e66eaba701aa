#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "registry/group_list.h"

namespace {

const size_t Capacity = 1024;
const char Pen[] = "Pen Class";

// What the registry query leaves: the value's bytes in a zero-filled 1024-byte buffer.
struct Query {
    std::vector<unsigned char> in = std::vector<unsigned char>(Capacity, 0);
    size_t size = 0;
};

Query Value(const std::string &bytes)
{
    Query q;
    std::copy(bytes.begin(), bytes.end(), q.in.begin());
    q.size = bytes.size();
    return q;
}

// A well-formed REG_MULTI_SZ: each string with its zero, then one more zero.
std::string List(std::initializer_list<std::string> names)
{
    std::string s;
    for (const std::string &n : names)
        s += n + '\0';
    return s + '\0';
}

struct Edit {
    GroupEdit result;
    std::string stored;
};

Edit Drop(const Query &q)
{
    std::vector<unsigned char> out(Capacity, 0);
    size_t length = 99;
    GroupEdit r = DropGroupName(q.in.data(), Capacity, q.size, Pen, out.data(), &length);
    return {r, std::string(out.begin(), out.begin() + length)};
}

TEST(GroupList, DroppedFromEveryPlaceLeavesTheOthersInOrder)
{
    const std::string expected = List({"Base", "Video"});
    for (auto list : {List({Pen, "Base", "Video"}), List({"Base", Pen, "Video"}),
                      List({"Base", "Video", Pen})}) {
        Edit e = Drop(Value(list));
        EXPECT_EQ(e.result, GroupEdit::Dropped);
        EXPECT_EQ(e.stored, expected);
    }
}

TEST(GroupList, ExampleLengthsOfTheOrder)
{
    Edit middle = Drop(Value(List({"A", Pen, "B"})));
    EXPECT_EQ(List({"A", Pen, "B"}).size(), 15u);
    EXPECT_EQ(middle.stored, std::string("A\0B\0\0", 5));
    Edit last = Drop(Value(List({"A", Pen})));
    EXPECT_EQ(List({"A", Pen}).size(), 13u);
    EXPECT_EQ(last.stored, std::string("A\0\0", 3));
}

TEST(GroupList, OnlyEntryIsStoredAsOneZero)
{
    Edit e = Drop(Value(List({Pen})));
    EXPECT_EQ(e.result, GroupEdit::Dropped);
    EXPECT_EQ(e.stored, std::string(1, '\0'));
}

TEST(GroupList, EveryOccurrenceIsDropped)
{
    Edit e = Drop(Value(List({Pen, "Base", Pen, "Video", Pen})));
    EXPECT_EQ(e.result, GroupEdit::Dropped);
    EXPECT_EQ(e.stored, List({"Base", "Video"}));
}

TEST(GroupList, NearNamesStay)
{
    for (const char *near : {"pen class", "PEN CLASS", "Pen class", "Pen Class2", "Pen Classes",
                             " Pen Class", "Pen Class ", "Pen", "Pen Clas"}) {
        Edit e = Drop(Value(List({"Base", near, "Video"})));
        EXPECT_EQ(e.result, GroupEdit::Unchanged) << near;
        EXPECT_EQ(e.stored, "");
    }
}

TEST(GroupList, EmptyStringsInsideTheDataAreKept)
{
    // The end is the byte count, not the first empty string.
    std::string bytes = std::string("A\0\0", 3) + Pen + '\0' + "B" + '\0' + '\0';
    Edit e = Drop(Value(bytes));
    EXPECT_EQ(e.result, GroupEdit::Dropped);
    EXPECT_EQ(e.stored, std::string("A\0\0B\0\0", 6));
}

TEST(GroupList, SizesZeroAndOneChangeNothing)
{
    EXPECT_EQ(Drop(Value("")).result, GroupEdit::Unchanged);
    EXPECT_EQ(Drop(Value(std::string(1, '\0'))).result, GroupEdit::Unchanged);
}

TEST(GroupList, StringsPastTheByteCountAreNotWalked)
{
    // Left in the buffer from elsewhere, behind the value's own bytes.
    Query q = Value(List({"A"}));
    std::string stale = std::string(Pen) + '\0';
    std::copy(stale.begin(), stale.end(), q.in.begin() + q.size);
    EXPECT_EQ(Drop(q).result, GroupEdit::Unchanged);
}

TEST(GroupList, ValueWithoutFinalZeroIsEndedByTheZeroFill)
{
    Edit e = Drop(Value(std::string("A\0", 2) + Pen));
    EXPECT_EQ(e.result, GroupEdit::Dropped);
    EXPECT_EQ(e.stored, std::string("A\0\0", 3));
}

TEST(GroupList, ValueFillingTheBufferWithoutTerminatorIsRefused)
{
    // Exactly 1024 bytes, no zero after the last string: nothing in the buffer ends it.
    std::string bytes = List({Pen, "Base"});
    bytes.pop_back();
    bytes.pop_back();
    bytes += std::string(Capacity - bytes.size(), 'x');
    ASSERT_EQ(bytes.size(), Capacity);
    Query q = Value(bytes);
    // Sized exactly, so the sanitizer sees any read past the buffer.
    std::vector<unsigned char> in(q.in.begin(), q.in.end());
    std::vector<unsigned char> out(Capacity, 0);
    size_t length = 99;
    EXPECT_EQ(DropGroupName(in.data(), Capacity, Capacity, Pen, out.data(), &length),
              GroupEdit::Unterminated);
    EXPECT_EQ(length, 0u);
    // One byte short of the end: the last zero of the fill still ends it.
    q.in[Capacity - 1] = 0;
    EXPECT_EQ(Drop(q).result, GroupEdit::Dropped);
}

TEST(GroupList, FullWellFormedValueIsWalkedToItsEnd)
{
    std::string filler(Capacity - 10 - 2, 'g');
    std::string bytes = std::string(Pen) + '\0' + filler + '\0' + '\0';
    ASSERT_EQ(bytes.size(), Capacity);
    Edit e = Drop(Value(bytes));
    EXPECT_EQ(e.result, GroupEdit::Dropped);
    EXPECT_EQ(e.stored, filler + '\0' + '\0');
}

} // namespace
