#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "Collection.h"

namespace {

TEST(Collection, PositionsStartAtOneAndKeysAreUniqueWithoutRegardToCase) {
    mivo::Collection<std::wstring> c;
    c.Add(L"a", L"Key1");
    c.Add(L"b");
    c.Add(L"c", L"key3");

    const struct { long position; const wchar_t* item; } positions[] = {{0, nullptr}, {1, L"a"}, {3, L"c"}, {4, nullptr}};
    for (const auto& p : positions) {
        if (p.item) EXPECT_EQ(c.Item(p.position), p.item) << p.position;
        else EXPECT_THROW(c.Item(p.position), std::out_of_range) << p.position;
    }
    EXPECT_EQ(c.Item(L"KEY1"), L"a");
    EXPECT_THROW(c.Item(L"key2"), mivo::KeyError);

    // A key already there is not replaced, and the refused item is not added either.
    EXPECT_THROW(c.Add(L"d", L"KEY3"), mivo::KeyError);
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Item(L"key3"), L"c");

    // Removing frees the key and shifts the positions after it.
    c.Remove(1);
    EXPECT_EQ(c.Item(1), L"b");
    EXPECT_FALSE(c.Contains(L"key1"));
    c.Add(L"e", L"key1");
    EXPECT_EQ(c.Item(L"Key1"), L"e");
    EXPECT_EQ(c.Item(3), L"e");
}

}  // namespace
