// A label sizing itself to its text: at once on a shown form, and on a
// hidden form as soon as anything needs its size, with the same result as
// measuring at once.
#include <gtest/gtest.h>

#include "gui/Application.h"
#include "gfx/Canvas.h"
#include "gui/Form.h"
#include "gui/Label.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

using namespace gui;

class LabelSizing : public ::testing::Test {
protected:
    LabelSizing() : app(platform) {
        app.CreateForm(form, platform::WindowKind::Main);
        form->SetBounds(0, 0, 300, 100);
    }

    // A label made as a stored layout makes it: loading state, then Loaded.
    TLabel& LoadLabel(const std::string& caption) {
        TLabel* made = nullptr;
        form->LoadLayout([&] {
            made = &form->Own<TLabel>();
            made->SetParent(form);
            made->SetBounds(10, 20, 65, 17);
            made->SetCaption(caption);
        });
        return *made;
    }
    TRect Measured(const std::string& text) {
        TSurface scratch(1, 1);
        TCanvas canvas(scratch, form->Colors(), form->Fonts());
        canvas.Font = form->Font();
        return {10, 20, 10 + canvas.TextWidth(text), 20 + canvas.TextHeight(text)};
    }

    platform::HeadlessPlatform platform;
    TApplication app;
    TForm* form = nullptr;
};

TEST_F(LabelSizing, OnAShownFormItIsMeasuredWhenLoaded) {
    form->Show();
    LoadLabel("Sorimo");
    EXPECT_EQ(platform.FontsOpened.size(), 1u);
}

TEST_F(LabelSizing, OnAHiddenFormItIsMeasuredWhenItsSizeIsFirstRead) {
    const TLabel& label = LoadLabel("Sorimo");
    EXPECT_TRUE(platform.FontsOpened.empty());
    EXPECT_EQ(label.BoundsRect(), Measured("Sorimo"));
}

// Setting the caption it already has changes nothing, yet the size read
// afterwards is the measured one.
TEST_F(LabelSizing, ItsOwnCaptionSetAgainGivesTheMeasuredSize) {
    TLabel& label = LoadLabel("NOFILE!!");
    label.SetCaption("NOFILE!!");
    EXPECT_EQ(label.Width(), Measured("NOFILE!!").Width());
}

// A size set by the program after loading replaces the measured one, as it
// would have had the label been measured when loaded.
TEST_F(LabelSizing, ASizeSetAfterLoadingWins) {
    TLabel& label = LoadLabel("Sorimo");
    label.SetBounds(5, 6, 100, 30);
    EXPECT_EQ(label.BoundsRect(), (TRect{5, 6, 105, 36}));
}

TEST_F(LabelSizing, ShowingTheFormPaintsItAtItsMeasuredSize) {
    const TLabel& label = LoadLabel("Sorimo");
    form->Show();
    app.ProcessMessages();
    EXPECT_EQ(label.BoundsRect(), Measured("Sorimo"));
    EXPECT_EQ(platform.FontsOpened.size(), 1u);
}

}  // namespace
