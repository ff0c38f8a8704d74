// One notification-area icon as a StatusNotifierItem: an object on the
// session bus with the org.kde.StatusNotifierItem interface, whose
// properties give the panel the icon and the tip, and whose methods (the
// panel's clicks) become the classic mouse messages of the icon's record.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/xdg/GLibHandles.h"
#include "platform/xdg/tray/PacedReplies.h"
#include "platform/xdg/tray/NotifyService.h"

namespace platform::xdg {

class MainContextPoll;

class StatusNotifierItem {
public:
    // A panel's request as the record's callback, with the point the panel gave.
    using Notify = TrayNotify;

    // Exports the object at `path` on the connection (method calls arrive
    // through `loop`'s context).
    StatusNotifierItem(const Gio& gio, MainContextPoll& loop, GDBusConnection* connection,
                       GDBusInterfaceInfo* interface, std::string path,
                       const NotifyIconData& record, Notify notify);
    ~StatusNotifierItem();
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

    const std::string& Path() const { return path_; }
    // Stores the record and signals what changed (NewIcon, NewTitle and
    // NewToolTip), so that the panel reads the properties again.
    void Update(const NotifyIconData& record);
    // Asks the watcher to show the item (again, for a new watcher).
    void Register();

    // The interface's description, for the connection to export.
    static const char* kIntrospection;

private:
    static void MethodCall(GDBusConnection*, const gchar* sender, const gchar* path,
                           const gchar* interface, const gchar* method, GVariant* parameters,
                           GDBusMethodInvocation* invocation, gpointer self);
    void Call(const std::string& method, GVariant* parameters);
    void PropertyCall(const std::string& method, GVariant* parameters, GDBusMethodInvocation* invocation);
    GVariant* AllProperties() const;
    GVariant* Property(const std::string& name) const;
    GVariant* Pixmaps(bool withIcon) const;
    GVariant* IconPixmaps() const;
    GVariant* Text(const std::string& text) const;
    void Emit(const char* signal);

    const Gio& gio_;
    MainContextPoll& loop_;
    GDBusConnection* connection_;
    std::string path_;
    NotifyIconData record_;
    Notify notify_;
    std::vector<std::string> propertyNames_;  // as the interface describes them
    // The answers that carry the icon's pictures (IconPixmap, GetAll).
    PacedReplies pictures_;
    guint registration_ = 0;
    // The icon's pictures as the panel reads them, built at the first read
    // after the icon changed and shared by every answer: a panel that polls
    // costs one reference per answer, not a new set of pictures.
    mutable GVariantPtr iconPixmaps_{nullptr, GVariantUnref{&gio_}};
};

}  // namespace platform::xdg
