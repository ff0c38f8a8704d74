// sorimo-render gradient W H START END horz|vert: DrawGradation over the
// whole picture, from START (left or top) to END (right or bottom).
#include <string>

#include "gfx/Canvas.h"
#include "tools/render/Commands.h"
#include "widgets/ShadoLbl.h"

namespace render {

namespace {

bool ParseVertical(const std::string& word) {
    if (word == "vert") return true;
    if (word == "horz") return false;
    throw UsageError("DIRECTION must be horz or vert, not '" + word + "'");
}

}  // namespace

gfx::TSurface RenderGradient(Arguments& args) {
    const int width = args.TakeSize("W");
    const int height = args.TakeSize("H");
    const gfx::TColor start = args.TakeColor("START");
    const gfx::TColor end = args.TakeColor("END");
    const bool vertical = ParseVertical(args.TakeWord("DIRECTION"));
    args.ExpectEnd();

    gfx::TSurface picture(width, height);
    gfx::TCanvas canvas(picture);
    widgets::DrawGradation(canvas, picture.BoundsRect(), start, end, vertical);
    return picture;
}

}  // namespace render
