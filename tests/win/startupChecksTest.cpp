// Start-up checks of the shell, in this test process: the native word size and
// the registry's composition value.
#include <windows.h>

#include <gtest/gtest.h>

#include "startup.h"

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

struct DwmValue {
    bool keyExisted = false;
    bool valueExisted = false;
    DWORD value = 0;
};
const char DWM_KEY[] = "Software\\Microsoft\\Windows\\DWM";

DwmValue readDwmValue()
{
    DwmValue saved;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DWM_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return saved;
    saved.keyExisted = true;
    DWORD size = sizeof saved.value;
    saved.valueExisted = RegQueryValueExA(key, "Composition", nullptr, nullptr,
                                          reinterpret_cast<BYTE *>(&saved.value), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return saved;
}

void writeDwmValue(DWORD value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, DWM_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, "Composition", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    RegCloseKey(key);
}

void deleteDwmValue()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DWM_KEY, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Composition");
        RegCloseKey(key);
    }
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
    DwmValue saved = readDwmValue();
    writeDwmValue(1);
    EXPECT_EQ(1, compositionOnByRegistry());
    writeDwmValue(7);
    EXPECT_EQ(1, compositionOnByRegistry());
    writeDwmValue(0);
    EXPECT_EQ(0, compositionOnByRegistry());
    deleteDwmValue();
    EXPECT_EQ(0, compositionOnByRegistry());
    if (saved.valueExisted)
        writeDwmValue(saved.value);
    else if (!saved.keyExisted)
        RegDeleteKeyA(HKEY_CURRENT_USER, DWM_KEY);
}
