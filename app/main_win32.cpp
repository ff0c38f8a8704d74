// The Windows program: Sorimo on the Win32 backend (Sorimo.exe, a GUI
// program without a console).
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Sorimo.h"
#include "i18n/Messages.h"
#include "platform/gdi/WinText.h"
#include "platform/win32/Win32Autostart.h"
#include "platform/win32/Win32Platform.h"

// After the project's headers: <windows.h> defines macros that clash with
// names of the GUI layer.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

namespace {

std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!list) return args;
    for (int i = 1; i < count; ++i) args.push_back(platform::gdi::Narrow(list[i]));
    ::LocalFree(list);
    return args;
}

bool WriteAll(HANDLE out, const std::string& text) {
    DWORD written = 0;
    return out && out != INVALID_HANDLE_VALUE &&
           ::WriteFile(out, text.data(), DWORD(text.size()), &written, nullptr) && written == text.size();
}

// A GUI program has no console of its own: its text goes to a redirected
// output, else to the console of the command prompt that started it, else
// into a message box.
void Print(DWORD stream, const std::string& text, UINT boxIcon) {
    if (WriteAll(::GetStdHandle(stream), text)) return;
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
        const bool written = WriteAll(console, text);
        if (console != INVALID_HANDLE_VALUE) ::CloseHandle(console);
        if (written) return;
    }
    ::MessageBoxW(nullptr, platform::gdi::Widen(text).c_str(), L"Sorimo", MB_OK | boxIcon);
}

// --autostart on|off: adds or removes this executable in the user's Run key.
int ChangeAutostart(bool on) {
    try {
        if (on) {
            std::wstring self(MAX_PATH, L'\0');
            for (;;) {
                const DWORD length = ::GetModuleFileNameW(nullptr, self.data(), DWORD(self.size()));
                if (length == 0) throw std::runtime_error("GetModuleFileNameW failed");
                if (length < self.size()) {
                    self.resize(length);
                    break;
                }
                self.resize(self.size() * 2);
            }
            platform::win32::EnableAutostart(self);
            Print(STD_OUTPUT_HANDLE, i18n::Tr("Sorimo starts when you log on from now on.") + "\n",
                  MB_ICONINFORMATION);
        } else {
            platform::win32::DisableAutostart();
            Print(STD_OUTPUT_HANDLE, i18n::Tr("Sorimo no longer starts when you log on.") + "\n",
                  MB_ICONINFORMATION);
        }
    } catch (const std::exception& e) {
        Print(STD_ERROR_HANDLE,
              "Sorimo: " + i18n::Format(i18n::Tr("Cannot change the autostart entry: %s"), {e.what()}) + "\n",
              MB_ICONERROR);
        return 1;
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const app::TCommandLine line = app::ParseCommandLine(Arguments());
    switch (line.Action) {
        case app::TStartAction::Help: Print(STD_OUTPUT_HANDLE, app::HelpText("Sorimo"), MB_ICONINFORMATION); return 0;
        case app::TStartAction::Version: Print(STD_OUTPUT_HANDLE, app::VersionText(), MB_ICONINFORMATION); return 0;
        case app::TStartAction::Usage:
            Print(STD_ERROR_HANDLE, app::UsageText("Sorimo", line.Unknown), MB_ICONERROR);
            return 2;
        case app::TStartAction::Autostart: return ChangeAutostart(line.AutostartOn);
        case app::TStartAction::Run:
        case app::TStartAction::Toggle: break;
    }
    std::unique_ptr<platform::Platform> platform;
    try {
        platform = platform::CreateWin32Platform();
    } catch (const std::exception& e) {
        ::MessageBoxW(nullptr, platform::gdi::Widen(e.what()).c_str(), L"Sorimo", MB_OK | MB_ICONERROR);
        return 1;
    }
    return app::SorimoMain(*platform, line.Request());
}
