// Handle and GDI object counts of the test process (see captureCounts.h).
#include "captureCounts.h"

#include "captureTestWorld.h"

#include <windows.h>

#include <vector>

namespace {

constexpr ULONG SYSTEM_HANDLE_INFORMATION_CLASS = 16;
constexpr LONG STATUS_INFO_LENGTH_MISMATCH_CODE = static_cast<LONG>(0xC0000004);
constexpr size_t FIRST_HANDLE_BUFFER_BYTES = 1 << 20;
constexpr size_t LARGEST_HANDLE_BUFFER_BYTES = 1 << 28;

struct HandleEntry {
    USHORT processId;
    USHORT creatorBackTraceIndex;
    UCHAR objectTypeIndex;
    UCHAR handleAttributes;
    USHORT handleValue;
    PVOID object;
    ULONG grantedAccess;
};

struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};

using QuerySystemInformation = LONG(WINAPI *)(ULONG, PVOID, ULONG, PULONG);

#ifdef _WIN64
constexpr size_t TEB_PEB_OFFSET = 0x60;
constexpr size_t PEB_GDI_TABLE_OFFSET = 0xF8;
constexpr size_t GDI_TABLE_ENTRIES = 0x10000;
struct GdiTableEntry {
    void *kernelAddress;
    USHORT processId;
    USHORT count;
    USHORT upper;
    USHORT type;
    void *userAddress;
};
static_assert(sizeof(GdiTableEntry) == 24, "GDI table entry of the 64-bit layout");
#endif

}  // namespace

int32_t processHandleCount()
{
    auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr)
        return -1;
    std::vector<uint8_t> buffer(FIRST_HANDLE_BUFFER_BYTES);
    for (;;) {
        ULONG needed = 0;
        LONG status = query(SYSTEM_HANDLE_INFORMATION_CLASS, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == STATUS_INFO_LENGTH_MISMATCH_CODE && buffer.size() < LARGEST_HANDLE_BUFFER_BYTES) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status < 0)
            return -1;
        break;
    }
    const HandleList *list = reinterpret_cast<const HandleList *>(buffer.data());
    USHORT self = static_cast<USHORT>(GetCurrentProcessId());
    int32_t count = 0;
    for (ULONG i = 0; i < list->count; i++) {
        if (list->entries[i].processId == self)
            count++;
    }
    return count;
}

int32_t processGdiObjectCount()
{
#ifdef _WIN64
    // The 64-bit TEB holds the PEB's address at 0x60 (winternl.h of mingw leaves _TEB opaque).
    const uint8_t *teb = reinterpret_cast<const uint8_t *>(NtCurrentTeb());
    const uint8_t *peb = *reinterpret_cast<const uint8_t *const *>(teb + TEB_PEB_OFFSET);
    const GdiTableEntry *table = *reinterpret_cast<GdiTableEntry *const *>(peb + PEB_GDI_TABLE_OFFSET);
    if (table == nullptr)
        return -1;
    int32_t count = 0;
    for (size_t i = 0; i < GDI_TABLE_ENTRIES; i++) {
        if (table[i].type != 0)
            count++;
    }
    return count;
#else
    return -1;
#endif
}

ResourceCounts resourceCountsNow()
{
    constexpr DWORD SETTLE_MS = 50;
    pumpFor(SETTLE_MS);
    return ResourceCounts{processHandleCount(), processGdiObjectCount()};
}
