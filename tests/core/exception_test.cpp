#include "tevrin/core/delegate.h"
#include "tevrin/core/exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace tevrin;

TEST(Exceptions, TextsOfTheClassTree)
{
    EXPECT_STREQ(exception().what(), "unknown error");
    EXPECT_STREQ(general_error("no pixel format").what(), "no pixel format");
    EXPECT_STREQ(invalid_argument().what(), "invalid argument");
    EXPECT_STREQ(filesystem_exception().what(), "filesystem problem");
    EXPECT_STREQ(fid_too_long().what(), "filespec or pathspec too long");
    EXPECT_STREQ(length_error().what(), "object (string?) has invalid length");
    EXPECT_STREQ(range_error().what(), "range error");
    EXPECT_STREQ(enum_error(-7).what(), "bad enum -7");
    EXPECT_STREQ(function_not_found("WTOpenA").what(), "function 'WTOpenA' not found");
    EXPECT_STREQ(library_not_loaded().what(), "library not loaded");
    EXPECT_STREQ(tablet_context_error().what(), "graphics tablet context error");
    EXPECT_STREQ(tablet_context_creation_error().what(), "graphics tablet context could not be created");
    EXPECT_STREQ(empty_delegate_error().what(), "Empty delegate called");
}

TEST(Exceptions, DerivedClassesAreCaughtThroughTheirBases)
{
    EXPECT_THROW(throw fid_too_long(), filesystem_exception);
    EXPECT_THROW(throw enum_error(3), range_error);
    EXPECT_THROW(throw tablet_context_error(), tevrin::exception);
    EXPECT_THROW(throw empty_delegate_error(), std::bad_function_call);
}

TEST(Exceptions, FixedTextsAreCutAndCopiedWhole)
{
    const std::string longName(300, 'x');
    const function_not_found error(longName.c_str());
    EXPECT_EQ(std::string(error.what()).size(), 127u);
    const function_not_found copy = error;
    EXPECT_STREQ(copy.what(), error.what());
    EXPECT_NE(copy.what(), error.what());
}

TEST(Delegate, EmptyDelegateThrows)
{
    delegate<int(int)> empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_THROW(empty(1), empty_delegate_error);
}

TEST(Delegate, CopiesSmallAndLargeTargets)
{
    int calls = 0;
    delegate<int(int)> small = [&calls](int value) { ++calls; return value * 2; };
    delegate<int(int)> smallCopy = small;
    EXPECT_EQ(smallCopy(21), 42);

    struct Large {
        char padding[64];
        int offset;
        int operator()(int value) const { return value + offset; }
    };
    Large large{};
    large.offset = 100;
    delegate<int(int)> big = large;
    delegate<int(int)> bigCopy;
    bigCopy = big;
    big.reset();
    EXPECT_TRUE(big.empty());
    EXPECT_EQ(bigCopy(1), 101);
    EXPECT_EQ(small(1), 2);
    EXPECT_EQ(calls, 2);
}

TEST(Delegate, DestroysItsTargetExactlyOnce)
{
    auto tracked = std::make_shared<int>(0);
    {
        delegate<void()> first = [tracked] {};
        delegate<void()> second = first;
        EXPECT_EQ(tracked.use_count(), 3);
    }
    EXPECT_EQ(tracked.use_count(), 1);
}
