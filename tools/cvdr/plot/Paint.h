// Small drawing helpers on a cairo context: colours, lines, boxes and text.
#ifndef CVDR_PLOT_PAINT_H
#define CVDR_PLOT_PAINT_H

#include <cairo.h>

#include <cstdint>
#include <string>

#include "plot/PlotGeometry.h"

namespace cvdr::plot {

struct Colour {
    double red;
    double green;
    double blue;
};

inline constexpr Colour kInk{0.15, 0.15, 0.15};
inline constexpr Colour kMutedInk{0.42, 0.42, 0.42};
inline constexpr Colour kGrid{0.90, 0.90, 0.90};
inline constexpr Colour kFrame{0.75, 0.75, 0.75};
inline constexpr Colour kInvalidShade{0.55, 0.55, 0.55};  // over invalid stretches, at kInvalidShadeAlpha
inline constexpr double kInvalidShadeAlpha = 0.25;
inline constexpr Colour kTriggerMark{0.85, 0.45, 0.0};

// A Windows COLORREF (0x00BBGGRR).
Colour FromColorRef(uint32_t colorRef);

void SetColour(cairo_t* cr, const Colour& colour, double alpha = 1.0);
void FillRect(cairo_t* cr, const Rect& rect, const Colour& colour, double alpha = 1.0);
// A one-pixel line between pixel centres, crisp on raster images.
void HairLine(cairo_t* cr, double x0, double y0, double x1, double y1, const Colour& colour);

enum class Align { kLeft, kCenter, kRight };

struct TextStyle {
    double size = 11.0;
    bool bold = false;
    Colour colour = kInk;
    Align align = Align::kLeft;
};

// Draws UTF-8 text with its baseline at y; `x` is its left, centre or right.
void DrawText(cairo_t* cr, const std::string& text, double x, double y, const TextStyle& style);

// Width of the text in the style.
double TextWidth(cairo_t* cr, const std::string& text, const TextStyle& style);

// The text cut (with "…") to fit `width`.
std::string FitText(cairo_t* cr, const std::string& text, double width, const TextStyle& style);

}  // namespace cvdr::plot

#endif
