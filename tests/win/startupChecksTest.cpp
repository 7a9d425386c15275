// Start-up checks of the shell, in this test process: the native word size and
// the registry's composition value.
#include <windows.h>

#include <gtest/gtest.h>

#include "startup.h"
#include "testRegistry.h"

namespace {

typedef BOOL(WINAPI *IsWow64Fn)(HANDLE, PBOOL);

// What the system is, found independently of findNativeBits: a 64-bit build runs
// only on a 64-bit system; a 32-bit build is on one when it runs under WOW64.
int32_t expectedNativeBits()
{
    if (sizeof(void *) == 8)
        return 64;
    IsWow64Fn isWow64 = reinterpret_cast<IsWow64Fn>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64 ? 64 : 32;
}

}  // namespace

// Under the tests' 64-bit Wine prefix both builds must find 64.
TEST(NativeWordSize, BothBuildsSeeTheSystemsWordSize)
{
    EXPECT_EQ(expectedNativeBits(), findNativeBits());
    EXPECT_EQ(64, findNativeBits()) << "the test prefix is a 64-bit one (WINEARCH=win64)";
}

TEST(CompositionByRegistry, OnlyANonZeroValueCounts)
{
    SavedComposition saved = saveComposition();
    ASSERT_TRUE(setComposition(1));
    EXPECT_EQ(1, compositionOnByRegistry());
    ASSERT_TRUE(setComposition(7));
    EXPECT_EQ(1, compositionOnByRegistry());
    ASSERT_TRUE(setComposition(0));
    EXPECT_EQ(0, compositionOnByRegistry());
    removeComposition();
    EXPECT_EQ(0, compositionOnByRegistry());
    restoreComposition(saved);
}
