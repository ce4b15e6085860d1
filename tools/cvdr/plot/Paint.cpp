#include "plot/Paint.h"

#include <cmath>

namespace cvdr::plot {
namespace {

void UseFont(cairo_t* cr, const TextStyle& style) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, style.size);
}

// Drops the last UTF-8 character.
void PopCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty()) text.pop_back();
}

}  // namespace

Colour FromColorRef(uint32_t colorRef) {
    return {static_cast<double>(colorRef & 0xFF) / 255.0, static_cast<double>((colorRef >> 8) & 0xFF) / 255.0,
            static_cast<double>((colorRef >> 16) & 0xFF) / 255.0};
}

void SetColour(cairo_t* cr, const Colour& colour, double alpha) {
    cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, alpha);
}

void FillRect(cairo_t* cr, const Rect& rect, const Colour& colour, double alpha) {
    SetColour(cr, colour, alpha);
    cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
    cairo_fill(cr);
}

void HairLine(cairo_t* cr, double x0, double y0, double x1, double y1, const Colour& colour) {
    SetColour(cr, colour);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, std::floor(x0) + 0.5, std::floor(y0) + 0.5);
    cairo_line_to(cr, std::floor(x1) + 0.5, std::floor(y1) + 0.5);
    cairo_stroke(cr);
}

double TextWidth(cairo_t* cr, const std::string& text, const TextStyle& style) {
    UseFont(cr, style);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

void DrawText(cairo_t* cr, const std::string& text, double x, double y, const TextStyle& style) {
    const double width = style.align == Align::kLeft ? 0.0 : TextWidth(cr, text, style);
    UseFont(cr, style);
    SetColour(cr, style.colour);
    cairo_move_to(cr,
                  x - (style.align == Align::kCenter  ? width / 2
                       : style.align == Align::kRight ? width
                                                      : 0.0),
                  y);
    cairo_show_text(cr, text.c_str());
    cairo_new_path(cr);
}

std::string FitText(cairo_t* cr, const std::string& text, double width, const TextStyle& style) {
    if (TextWidth(cr, text, style) <= width) return text;
    std::string cut = text;
    while (!cut.empty() && TextWidth(cr, cut + "\u2026", style) > width) PopCharacter(cut);
    return cut.empty() ? std::string() : cut + "\u2026";
}

}  // namespace cvdr::plot
