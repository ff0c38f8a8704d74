#include "platform/win32/Win32Drop.h"

#include <shellapi.h>

#include <string>

namespace platform::win32 {

namespace {
// The drop's memory is released however reading ends.
class FinishDrop {
public:
    explicit FinishDrop(HDROP drop) : drop_(drop) {}
    ~FinishDrop() { ::DragFinish(drop_); }
    FinishDrop(const FinishDrop&) = delete;
    FinishDrop& operator=(const FinishDrop&) = delete;

private:
    HDROP drop_;
};
}  // namespace

DragInput ReadDroppedFiles(HWND window, HDROP drop) {
    FinishDrop finish(drop);
    DragInput input;
    input.Action = DragAction::Drop;
    POINT point{};
    ::DragQueryPoint(drop, &point);
    ::ClientToScreen(window, &point);
    input.Screen = {int(point.x), int(point.y)};
    const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0 || length >= MAX_PATH) {
            input.OnlyFiles = false;
            break;
        }
        std::string path(length + 1, '\0');
        path.resize(::DragQueryFileA(drop, i, path.data(), length + 1));
        if (path.size() != length || path.find('?') != std::string::npos) {
            input.OnlyFiles = false;
            break;
        }
        input.Files.push_back(std::move(path));
    }
    if (!input.OnlyFiles) input.Files.clear();
    return input;
}

}  // namespace platform::win32
