#include "gui/NotifyIcon.h"

#include "gui/Application.h"

namespace gui {

bool ShellNotifyIcon(TApplication& app, std::uint32_t message, const TNotifyIconData& data) {
    return app.Platform().NotifyIcon(message, data);
}

}  // namespace gui
