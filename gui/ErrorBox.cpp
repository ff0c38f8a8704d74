// The GUI layer's own error box, for platforms that have no native one: a
// modal window with the message and an OK button. Like the standard box it
// closes on Return, keypad Enter, Space and Escape as well.
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/Panel.h"

namespace gui {

namespace {
class TErrorBoxForm : public TForm {
public:
    TErrorBoxForm(TApplication& app, const std::string& title, const std::string& message)
        : TForm(app, platform::WindowKind::Dialog) {
        Position = poScreenCenter;
        SetCaption(title);
        TLabel& text = Own<TLabel>();
        text.SetParent(this);
        text.SetBounds(16, 16, 0, 0);
        text.SetCaption(message);
        const int width = std::max(text.Width() + 32, 200);
        TPanel& ok = Own<TPanel>();
        ok.SetParent(this);
        ok.SetCaption("OK");
        ok.SetBounds((width - 80) / 2, text.Top() + text.Height() + 16, 80, 26);
        ok.OnClick = [this](TComponent*) { ModalResult = mrOk; };
        // Every key the box hears closes it: OK is its only button.
        OnKeyDown = [this](TComponent*, TKey, TShiftState) { ModalResult = mrOk; };
        SetBounds(0, 0, width, ok.Top() + ok.Height() + 14);
    }
};
}  // namespace

void TApplication::ShowErrorForm(const std::string& message) {
    TErrorBoxForm box(*this, Title, message);
    box.ShowModal();
}

}  // namespace gui
