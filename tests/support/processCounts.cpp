// Handle and GDI object counts of any process (see processCounts.h).
#include "processCounts.h"

#include <vector>

namespace {

constexpr ULONG SYSTEM_HANDLE_INFORMATION_CLASS = 16;
constexpr ULONG PROCESS_BASIC_INFORMATION_CLASS = 0;
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

struct BasicInformation {
    LONG_PTR exitStatus;
    BYTE *pebAddress;
    ULONG_PTR affinityMask;
    LONG_PTR basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentProcessId;
};

using QuerySystemInformation = LONG(WINAPI *)(ULONG, PVOID, ULONG, PULONG);
using QueryProcessInformation = LONG(WINAPI *)(HANDLE, ULONG, PVOID, ULONG, PULONG);

constexpr size_t PEB_GDI_TABLE_OFFSET = 0xF8;   // 64-bit PEB
constexpr size_t GDI_TABLE_ENTRIES = 0x10000;
constexpr UCHAR GDI_KIND_DC = 0x01;
constexpr UCHAR GDI_KIND_REGION = 0x04;
constexpr UCHAR GDI_KIND_SURFACE = 0x05;
struct GdiTableEntry {
    UINT64 kernelAddress;
    USHORT processId;
    USHORT count;
    USHORT unique;
    UCHAR kind;
    UCHAR flags;
    UINT64 userAddress;
};
static_assert(sizeof(GdiTableEntry) == 24, "GDI table entry of the 64-bit layout");

template <typename Routine> Routine ntdllRoutine(const char *name)
{
    return reinterpret_cast<Routine>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

bool readRemote(HANDLE process, const void *address, void *into, size_t bytes)
{
    SIZE_T done = 0;
    return ReadProcessMemory(process, address, into, bytes, &done) && done == bytes;
}

}  // namespace

int32_t handleCountOf(DWORD processId)
{
    auto query = ntdllRoutine<QuerySystemInformation>("NtQuerySystemInformation");
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
    USHORT wanted = static_cast<USHORT>(processId);
    int32_t count = 0;
    for (ULONG i = 0; i < list->count; i++) {
        if (list->entries[i].processId == wanted)
            count++;
    }
    return count;
}

bool gdiCountsOf(HANDLE process, GdiCounts *counts)
{
#ifdef _WIN64
    auto query = ntdllRoutine<QueryProcessInformation>("NtQueryInformationProcess");
    BasicInformation basic = {};
    if (query == nullptr || query(process, PROCESS_BASIC_INFORMATION_CLASS, &basic, sizeof basic, nullptr) < 0)
        return false;
    const GdiTableEntry *tableAddress = nullptr;
    if (!readRemote(process, basic.pebAddress + PEB_GDI_TABLE_OFFSET, &tableAddress, sizeof tableAddress) ||
        tableAddress == nullptr)
        return false;
    std::vector<GdiTableEntry> table(GDI_TABLE_ENTRIES);
    if (!readRemote(process, tableAddress, table.data(), table.size() * sizeof(GdiTableEntry)))
        return false;
    *counts = GdiCounts{};
    for (const GdiTableEntry &entry : table) {
        if (entry.kind == 0 && entry.flags == 0)
            continue;
        counts->dcs += entry.kind == GDI_KIND_DC;
        if (entry.kind == GDI_KIND_DC || entry.kind == GDI_KIND_REGION || entry.kind == GDI_KIND_SURFACE)
            counts->cacheable++;
        else
            counts->others++;
    }
    return true;
#else
    (void)process;
    (void)counts;
    return false;
#endif
}
