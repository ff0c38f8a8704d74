// minimal_client: the yardstick of the start-up benchmark. It does the least
// an Xlib + FreeType program must do to show what the launcher shows at its
// simplest: a 264 x 104 window with one line of Japanese text. fontconfig
// finds the font, FreeType renders the line into a buffer before the window
// is mapped (as the launcher paints before it maps), every Expose presents
// the buffer with XPutImage, and otherwise it sleeps in XNextEvent.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

constexpr int kWidth = 264;
constexpr int kHeight = 104;
constexpr int kPixelSize = 12;
constexpr std::uint32_t kBackground = 0xC0C0C0;
constexpr const char* kText = "Sorimo\u30D2\u30F3\u30C8";  // Sorimo + katakana "hint"

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
struct LibraryCloser {
    void operator()(FT_Library l) const { FT_Done_FreeType(l); }
};
struct FaceCloser {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};
struct PatternCloser {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;
using PatternPtr = std::unique_ptr<FcPattern, PatternCloser>;

// The buffer stays ours: the image only borrows it.
struct ImageCloser {
    void operator()(XImage* image) const {
        image->data = nullptr;
        XDestroyImage(image);
    }
};
using ImagePtr = std::unique_ptr<XImage, ImageCloser>;

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += c;
        i += length;
    }
    return out;
}

// The file fontconfig picks for IPAPGothic (or whatever it offers instead).
bool FindFont(std::string& path, int& index) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return false;
    PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>("IPAPGothic")));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    FcChar8* file = nullptr;
    const bool found = match && FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch;
    if (found) {
        path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    }
    FcConfigDestroy(config);
    return found;
}

// Black coverage over the background, one line centred in the buffer.
void DrawLine(FT_Face face, const std::u32string& text, std::vector<std::uint32_t>& pixels) {
    int advance = 0;
    for (char32_t c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) == 0) advance += int(face->glyph->advance.x >> 6);
    }
    int penX = (kWidth - advance) / 2;
    const int ascender = int(face->size->metrics.ascender >> 6);
    const int descender = int(face->size->metrics.descender >> 6);
    const int baseline = (kHeight - (ascender - descender)) / 2 + ascender;
    for (char32_t c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            const int y = baseline - g->bitmap_top + int(row);
            if (y < 0 || y >= kHeight) continue;
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const int x = penX + g->bitmap_left + int(col);
                if (x < 0 || x >= kWidth) continue;
                const unsigned a = g->bitmap.buffer[row * unsigned(g->bitmap.pitch) + col];
                std::uint32_t& p = pixels[std::size_t(y) * kWidth + std::size_t(x)];
                std::uint32_t out = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const unsigned ground = (p >> shift) & 0xFF;
                    out |= ((ground * (255 - a)) / 255) << shift;
                }
                p = out;
            }
        }
        penX += int(g->advance.x >> 6);
    }
}

}  // namespace

int main() {
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "minimal_client: cannot open the X display\n");
        return 1;
    }
    std::string fontPath;
    int fontIndex = 0;
    if (!FindFont(fontPath, fontIndex)) {
        std::fprintf(stderr, "minimal_client: no font\n");
        return 1;
    }
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) return 1;
    const LibraryPtr library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), fontPath.c_str(), fontIndex, &rawFace) != 0) {
        std::fprintf(stderr, "minimal_client: cannot open %s\n", fontPath.c_str());
        return 1;
    }
    const FacePtr face(rawFace);
    FT_Set_Pixel_Sizes(face.get(), 0, kPixelSize);

    std::vector<std::uint32_t> pixels(std::size_t(kWidth) * kHeight, kBackground);
    DrawLine(face.get(), DecodeUtf8(kText), pixels);

    Display* d = display.get();
    const int screen = DefaultScreen(d);
    const Window window = XCreateSimpleWindow(d, RootWindow(d, screen), 100, 120, kWidth, kHeight, 0, 0,
                                              kBackground);
    XStoreName(d, window, "Sorimo minimal client");
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize | USPosition;
    hints.x = 100;
    hints.y = 120;
    hints.min_width = hints.max_width = kWidth;
    hints.min_height = hints.max_height = kHeight;
    XSetWMNormalHints(d, window, &hints);
    XSelectInput(d, window, ExposureMask);
    const GC gc = XCreateGC(d, window, 0, nullptr);
    const ImagePtr image(XCreateImage(d, DefaultVisual(d, screen), unsigned(DefaultDepth(d, screen)), ZPixmap, 0,
                                      reinterpret_cast<char*>(pixels.data()), kWidth, kHeight, 32, kWidth * 4));
    if (!image) return 1;
    XMapWindow(d, window);
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == Expose && e.xexpose.count == 0)
            XPutImage(d, window, gc, image.get(), 0, 0, 0, 0, kWidth, kHeight);
    }
}
