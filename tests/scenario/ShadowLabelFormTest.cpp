// The shadow label on a form of the headless backend: changes invalidate
// (one paint for a burst of them), the TShadow objects' change events, and
// automatic sizing from the plain text.
#include <gtest/gtest.h>

#include "gui/Application.h"
#include "gui/Form.h"
#include "gfx/TextLayout.h"
#include "platform/headless/HeadlessPlatform.h"
#include "widgets/ShadoLbl.h"

namespace {

using namespace gui;
using widgets::TShadow;
using widgets::TShadowLabel;

class ShadowLabelOnForm : public ::testing::Test {
protected:
    ShadowLabelOnForm() : app(platform) {
        app.CreateForm(form, platform::WindowKind::Main);
        form->SetBounds(0, 0, 200, 60);
        label = &form->Own<TShadowLabel>();
        label->SetParent(form);
        label->SetBounds(10, 10, 120, 20);
        label->SetCaption("Sorimo");
        app.OnMessage = [this](TMsg& msg, bool&) {
            if (msg.message == WM_PAINT) ++paints;
        };
        form->Show();
        Run();
        paints = 0;
    }
    void Run() { app.ProcessMessages(); }

    platform::HeadlessPlatform platform;
    TApplication app;
    TForm* form = nullptr;
    TShadowLabel* label = nullptr;
    int paints = 0;
};

TEST_F(ShadowLabelOnForm, ABurstOfChangesCostsOnePaintAndEqualValuesNone) {
    label->SetGradation(true);
    label->SetGradationColor(clNavy);
    label->SetGradateVert(true);
    label->SetEllipsis(widgets::elPath);
    label->Shadow().SetColor(clBlue);
    label->Highlight().SetOffsetTop(-2);
    EXPECT_EQ(paints, 0);
    Run();
    EXPECT_EQ(paints, 1);

    label->SetGradation(true);
    label->SetGradationColor(clNavy);
    label->Shadow().SetColor(clBlue);
    label->SetHighlight(nullptr);
    EXPECT_FALSE(form->NeedsPaint());
}

TEST_F(ShadowLabelOnForm, SettingTheShadowObjectsCopiesIntoTheLabelsOwn) {
    TShadow other;
    other.SetVisible(true);
    other.SetColor(clRed);
    other.SetOffsetLeft(3);
    other.SetOffsetTop(4);
    TShadow* own = &label->Shadow();
    label->SetShadow(&other);
    EXPECT_EQ(&label->Shadow(), own);
    EXPECT_EQ(label->Shadow().Color(), clRed);
    EXPECT_EQ(label->Shadow().OffsetTop(), 4);
    EXPECT_TRUE(form->NeedsPaint());
    Run();

    // Its own object: no value changes, but OnChange still invalidates.
    label->SetHighlight(&label->Highlight());
    EXPECT_TRUE(form->NeedsPaint());
}

// Another OnChange handler replaces the label's: changes of the object no
// longer repaint by themselves, setting the property still does.
TEST_F(ShadowLabelOnForm, AReplacedOnChangeStopsTheAutomaticRepaint) {
    int changes = 0;
    label->Highlight().OnChange = [&](TShadow*) { ++changes; };
    label->Highlight().SetColor(clYellow);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(form->NeedsPaint());
    label->SetHighlight(&label->Highlight());
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(form->NeedsPaint());
}

// The plain text alone sets the size: moving the copies changes nothing,
// and an empty caption measures as a blank, one line high.
TEST_F(ShadowLabelOnForm, AutoSizeMeasuresThePlainText) {
    TSurface scratch(1, 1);
    TCanvas canvas(scratch, form->Colors(), form->Fonts());
    canvas.Font = label->Font();
    EXPECT_EQ(label->Width(), canvas.TextWidth("Sorimo"));
    EXPECT_EQ(label->Height(), canvas.TextHeight("Sorimo"));

    label->Shadow().SetOffsetLeft(6);
    label->Highlight().SetOffsetTop(-6);
    EXPECT_EQ(label->Width(), canvas.TextWidth("Sorimo"));

    label->SetCaption("");
    EXPECT_EQ(label->Width(), canvas.TextWidth(" "));
    EXPECT_EQ(label->Height(), canvas.TextHeight(" "));
}

}  // namespace
