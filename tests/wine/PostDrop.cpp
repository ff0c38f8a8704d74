// A test program for the Windows build under Wine: drops files on the
// launcher window the way the shell does, by posting WM_DROPFILES with an
// HDROP: a DROPFILES header, then the ANSI paths, each ending in a NUL, and
// one more NUL, made with GlobalAlloc. A global handle means something only
// in the process that made it, and Wine does not carry the block along with
// a posted message, so the block is copied into the launcher's memory
// (fixed memory: its address is the handle) and that address is posted.
//   sorimo_post_drop X Y PATH...   X, Y in the launcher's client area
// Exit code 0 when the message was posted, 2 for wrong arguments, 1 for a
// failure, said on the standard error.
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
// The launcher: a top-level window of the form class captioned "Sorimo".
// (Looked for by name, not by FindWindow's class lookup, which under Wine
// does not always see a class another process registered.)
BOOL CALLBACK FindLauncher(HWND window, LPARAM found) {
    char name[64] = {}, title[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    ::GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(name, "SorimoForm") != 0 || std::strcmp(title, "Sorimo") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

int Fail(const char* what) {
    std::fprintf(stderr, "sorimo_post_drop: %s failed (error %lu)\n", what, ::GetLastError());
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: sorimo_post_drop X Y PATH...\n");
        return 2;
    }
    HWND launcher = nullptr;
    ::EnumWindows(&FindLauncher, reinterpret_cast<LPARAM>(&launcher));
    if (!launcher) return Fail("no launcher window");
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
    if (!process) return Fail("OpenProcess");
    const SIZE_T size = ::GlobalSize(memory);
    void* remote =
        ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool copied =
        remote && ::WriteProcessMemory(process, remote, ::GlobalLock(memory), size, nullptr);
    ::GlobalUnlock(memory);
    ::GlobalFree(memory);
    ::CloseHandle(process);
    if (!copied) return Fail("VirtualAllocEx or WriteProcessMemory");
    if (!::PostMessageA(launcher, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0))
        return Fail("PostMessageA");
    return 0;
}
