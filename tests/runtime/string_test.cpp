#include <gtest/gtest.h>

#include <climits>

#include "runtime/exception.h"
#include "runtime/string.h"

using namespace corvex;

TEST(String, Utf8RoundTripAndSixteenBitCharacters) {
    String s("h\xC3\xA9llo \xE2\x82\xAC \xF0\x9F\x90\x9D");  // é, €, and a character beyond 16 bits
    EXPECT_EQ(10, s.Length());
    EXPECT_EQ(u'\u00E9', s[1]);
    EXPECT_EQ(u'\u20AC', s[6]);
    EXPECT_EQ("h\xC3\xA9llo \xE2\x82\xAC \xF0\x9F\x90\x9D", s.ToUtf8());
    EXPECT_THROW(s[10], TArrayBoundsException);
    EXPECT_EQ(u"\uFFFDa", String("\xC3"
                                 "a")
                              .Text())
        << "a broken sequence does not swallow the next byte";
}

TEST(String, BytesAreTheLowEightBits) {
    const unsigned char raw[] = {0x41, 0xE9, 0x00, 0xFF};
    String s = String::FromBytes(raw, 4);
    EXPECT_EQ(4, s.Length());
    EXPECT_EQ(0xE9, s[1]);
    EXPECT_EQ(std::string("\x41\xE9\x00\xFF", 4), s.ToBytes());
    EXPECT_EQ(std::string("\xAC", 1), String(u"\u20AC").ToBytes());
}

TEST(String, SearchingAndSlicing) {
    String s("a/b/c.png");
    EXPECT_EQ(1, s.Find("/"));
    EXPECT_EQ(3, s.Find("/", 2));
    EXPECT_EQ(3, s.FindLast("/"));
    EXPECT_EQ(-1, s.Find("x"));
    EXPECT_EQ("a/b", s.Left(3).ToUtf8());
    EXPECT_EQ("png", s.Right(3).ToUtf8());
    EXPECT_EQ("b/c", s.Mid(2, 3).ToUtf8());
    EXPECT_EQ("", s.Mid(20).ToUtf8());
    EXPECT_EQ("a/b/c.png", s.Left(100).ToUtf8());
    EXPECT_EQ("/b/c.png", s.Mid(1, INT_MAX).ToUtf8()) << "a count past the end takes the rest";
    EXPECT_EQ("", s.Mid(INT_MAX, INT_MAX).ToUtf8());
    EXPECT_TRUE(s.StartsWith("a/"));
    EXPECT_TRUE(s.EndsWith(".png"));
    EXPECT_FALSE(String("g").EndsWith(".png"));
    EXPECT_EQ("a\\b\\c.png", s.Replace("/", "\\").ToUtf8());
    EXPECT_EQ("INCBIN", String("incBin").ToUpper().ToUtf8());
    EXPECT_EQ("x y", String("  x y \r\n").Trim().ToUtf8());
}

TEST(String, Numbers) {
    EXPECT_EQ(-42, String(" -42xyz").ToInt());
    EXPECT_EQ(0, String("abc").ToInt());
    EXPECT_EQ("-2147483648", String::FromInt(-2147483648LL).ToUtf8());
    EXPECT_DOUBLE_EQ(2.5, String("2.5").ToDouble());
}

TEST(String, PassesAsAnObject) {
    Ref<Object> o = String("title.png").AsObject();
    EXPECT_TRUE(String::IsString(o.get()));
    EXPECT_EQ("title.png", String::FromObject(o).ToUtf8());
    EXPECT_TRUE(String::IsString(String().AsObject().get()));
    EXPECT_EQ("", String::FromObject(New<Object>()).ToUtf8());
    EXPECT_EQ(0, o->Compare(String("title.png").AsObject().get()));
}
