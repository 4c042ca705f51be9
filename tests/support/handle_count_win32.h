#pragma once
// A process's handle count as the system's process list gives it: Wine answers 0 to
// GetProcessHandleCount. For the benchmarks and the end-to-end probe.
#include <windows.h>

#include <winternl.h>

#include <vector>

namespace tessera::testing {

inline ULONG HandleCountOf(DWORD processId) {
    std::vector<BYTE> buffer(1 << 20);
    ULONG needed = 0;
    while (::NtQuerySystemInformation(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                      &needed) != 0) {
        if (buffer.size() > (64u << 20)) return 0;
        buffer.resize(buffer.size() * 2);
    }
    const auto wanted = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(processId));
    for (std::size_t at = 0;;) {
        const auto* process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
        if (process->UniqueProcessId == wanted) return process->HandleCount;
        if (!process->NextEntryOffset) return 0;
        at += process->NextEntryOffset;
    }
}

}  // namespace tessera::testing
