#include "gui/OpenDialog.h"

#include "gui/Application.h"
#include "gui/Form.h"

namespace gui {

bool TOpenDialog::Execute() {
    TApplication* app = Application();
    if (!app) throw EInvalidOperation("TOpenDialog: no application");
    platform::OpenFileRequest request;
    if (TForm* main = app->MainForm(); main && main->Native()) request.Owner = main->Handle();
    request.Filter = Filter;
    request.InitialFile = FileName;
    request.HideReadOnly = (Options & ofHideReadOnly) != 0;
    request.Resizable = (Options & ofEnableSizing) != 0;
    std::unique_ptr<platform::FileDialogSession> session;
    try {
        session = app->Platform().BeginOpenFileDialog(request);
    } catch (const std::exception& e) {
        // No dialog could be shown (no chooser installed): say so, and the
        // choice counts as cancelled.
        app->ShowException(e.what());
        return false;
    }
    {
        TApplication::ModalScope noInput(*app, nullptr);
        while (!session->Finished()) app->HandleMessage();
    }
    const auto result = session->Result();
    if (!result) return false;
    FileName = *result;
    return true;
}

}  // namespace gui
