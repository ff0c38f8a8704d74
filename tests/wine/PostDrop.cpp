// A test program for the Windows build under Wine: drops files on the
// launcher window the way the shell does, by posting WM_DROPFILES with an
// HDROP: a DROPFILES header, then the ANSI paths, each ending in a NUL, and
// one more NUL, made with GlobalAlloc. A global handle means something only
// in the process that made it, and Wine does not carry the block along with
// a posted message, so the block is copied into the launcher's memory
// (fixed memory: its address is the handle) and that address is posted.
//   sorimo_post_drop X Y PATH...   X, Y in the launcher's client area
// Exit code 0 when the message was posted, 1 when no launcher window was
// found, 2 for wrong arguments.
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: sorimo_post_drop X Y PATH...\n");
        return 2;
    }
    HWND launcher = ::FindWindowA("SorimoForm", "Sorimo");
    if (!launcher) return 1;
    std::string paths;
    for (int i = 3; i < argc; ++i) paths.append(argv[i]).push_back('\0');
    paths.push_back('\0');
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + paths.size());
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = {std::atoi(argv[1]), std::atoi(argv[2])};
    drop->fNC = FALSE;
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), paths.data(), paths.size());
    ::GlobalUnlock(memory);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(launcher, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    const SIZE_T size = ::GlobalSize(memory);
    void* remote =
        ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool copied =
        remote && ::WriteProcessMemory(process, remote, ::GlobalLock(memory), size, nullptr);
    ::GlobalUnlock(memory);
    ::GlobalFree(memory);
    ::CloseHandle(process);
    if (!copied) return 1;
    if (!::PostMessageA(launcher, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0)) return 1;
    return 0;
}
