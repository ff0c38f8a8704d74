// TFont: the font attributes a canvas draws text with.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "gfx/FontEngine.h"
#include "gfx/Types.h"

namespace gfx {

using TFontStyles = std::uint32_t;
constexpr TFontStyles fsBold = 1u << 0;
constexpr TFontStyles fsItalic = 1u << 1;
constexpr TFontStyles fsUnderline = 1u << 2;
constexpr TFontStyles fsStrikeOut = 1u << 3;

constexpr int DEFAULT_CHARSET = 1;
constexpr int SHIFTJIS_CHARSET = 128;

class TFont {
public:
    TFont() = default;
    TFont(const TFont& other) : state_(other.state_) {}  // OnChange is not copied
    TFont& operator=(const TFont& other) { Assign(other); return *this; }

    const std::string& Name() const { return state_.Name; }
    int Height() const { return state_.Height; }
    TColor Color() const { return state_.Color; }
    TFontStyles Style() const { return state_.Style; }
    int Charset() const { return state_.Charset; }

    void SetName(const std::string& v) { Change(state_.Name, v); }
    void SetHeight(int v) { Change(state_.Height, v); }
    void SetColor(TColor v) { Change(state_.Color, v); }
    void SetStyle(TFontStyles v) { Change(state_.Style, v); }
    void SetCharset(int v) { Change(state_.Charset, v); }

    // Copies every attribute; raises OnChange once when anything differed.
    void Assign(const TFont& other) {
        if (state_ == other.state_) return;
        state_ = other.state_;
        if (OnChange) OnChange();
    }

    TFontSpec Spec() const {
        return {state_.Name, state_.Height, (state_.Style & fsBold) != 0,
                (state_.Style & fsItalic) != 0, state_.Charset};
    }

    friend bool operator==(const TFont& a, const TFont& b) { return a.state_ == b.state_; }

    std::function<void()> OnChange;

private:
    struct State {
        std::string Name = "ＭＳ Ｐゴシック";
        int Height = -12;
        TColor Color = clWindowText;
        TFontStyles Style = 0;
        int Charset = DEFAULT_CHARSET;
        friend bool operator==(const State&, const State&) = default;
    };
    template <class T>
    void Change(T& field, const T& value) {
        if (field == value) return;
        field = value;
        if (OnChange) OnChange();
    }
    State state_;
};

}  // namespace gfx
