// Owning wrappers for the FreeType and fontconfig objects the font engine
// holds, so that no path (early return, exception) leaks one.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <memory>
#include <stdexcept>
#include <type_traits>

namespace platform::ft {

// The FreeType library. Every face keeps a shared reference, so a face
// handed out by the engine may outlive the engine itself.
class Library {
public:
    Library() {
        if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("FreeType: cannot initialise the library");
    }
    ~Library() { FT_Done_FreeType(library_); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    FT_Library Get() const { return library_; }

private:
    FT_Library library_ = nullptr;
};

struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

struct FcConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using FcConfigPtr = std::unique_ptr<FcConfig, FcConfigDeleter>;

struct FcPatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;

struct FcCharSetDeleter {
    void operator()(FcCharSet* charset) const { FcCharSetDestroy(charset); }
};
using FcCharSetPtr = std::unique_ptr<FcCharSet, FcCharSetDeleter>;

}  // namespace platform::ft
