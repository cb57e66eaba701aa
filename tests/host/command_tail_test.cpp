// The start-up hands WinMain the arguments behind the program name, as the C runtime would.
#include <gtest/gtest.h>

#include "app/command_tail.h"

namespace {

const char *Tail(const char *line)
{
    static char buffer[256];
    snprintf(buffer, sizeof buffer, "%s", line);
    return CommandTail(buffer);
}

TEST(CommandTail, SkipsQuotedProgramNameWithBlanks)
{
    EXPECT_STREQ(Tail("\"C:\\Program Files\\pdclean.exe\" /x y"), "/x y");
    EXPECT_STREQ(Tail("\"C:\\a b\\pdclean.exe\""), "");
}

TEST(CommandTail, SkipsPlainProgramNameAndBlanks)
{
    EXPECT_STREQ(Tail("pdclean.exe  \t arg"), "arg");
    EXPECT_STREQ(Tail("pdclean.exe"), "");
    EXPECT_STREQ(Tail(""), "");
}

TEST(CommandTail, UnterminatedQuoteEndsAtTheEnd)
{
    EXPECT_STREQ(Tail("\"C:\\pdclean.exe"), "");
}

}  // namespace
