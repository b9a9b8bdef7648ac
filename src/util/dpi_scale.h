// Pixel counts of the 96-DPI design at a display's DPI. The window's layout,
// the skin's metrics and the fonts are written for 96 DPI; at any other DPI
// every count goes through one DpiScale, so that at 96 DPI nothing differs.
#pragma once

#include <climits>
#include <cstdint>

namespace velmora {

inline constexpr int kDesignDpi = 96;

class DpiScale {
public:
    // A DPI of 0 or less (a failed query) counts as the design's.
    constexpr explicit DpiScale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

    constexpr int dpi() const { return dpi_; }

    // `pixels` of the design at this DPI, rounded to the nearest pixel
    // (halves away from zero, as MulDiv rounds).
    constexpr int operator()(int pixels) const { return mulDiv(pixels, dpi_, kDesignDpi); }

    // Back from this DPI to the design's pixels. For DPIs of 96 and above
    // it undoes operator() exactly: unscale(s(x)) == x.
    constexpr int unscale(int pixels) const { return mulDiv(pixels, kDesignDpi, dpi_); }

    // A font's height of `pixels` at 96 DPI, at this DPI with its size
    // rounded towards zero: a font grows a whole pixel at a time and never
    // beyond the scale, so a caption that fits its control at 96 DPI still
    // fits it where the control's size is rounded to the nearest pixel.
    // (The system derives its own fonts from points the same way: 8 points
    // are 11 pixels at 96 DPI and 16 at 144.)
    constexpr int fontHeight(int pixels) const {
        return static_cast<int>(static_cast<std::int64_t>(pixels) * dpi_ / kDesignDpi);
    }

    // The width of a line drawn `pixels` wide at 96 DPI: whole multiples of
    // it only, never less than one pixel, so that a hairline stays one
    // sharp pixel at 150 % instead of becoming a blurred or doubled one.
    constexpr int line(int pixels) const {
        const int n = pixels * (dpi_ / kDesignDpi);
        return n > 0 ? n : 1;
    }

    // value * numerator / denominator (denominator > 0), rounded to the
    // nearest integer with halves away from zero; 64-bit inside, so no
    // product overflows, and a result beyond int is held at its limit.
    static constexpr int mulDiv(int value, int numerator, int denominator) {
        const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
        const std::int64_t half = denominator / 2;
        const std::int64_t q = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
        if (q > INT_MAX) return INT_MAX;
        if (q < INT_MIN) return INT_MIN;
        return static_cast<int>(q);
    }

    friend constexpr bool operator==(DpiScale, DpiScale) = default;

private:
    int dpi_;
};

}  // namespace velmora
