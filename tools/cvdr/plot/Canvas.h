// A cairo drawing surface for one image file: PNG (pixels), SVG or PDF
// (vector, one point per pixel of the requested size).
#ifndef CVDR_PLOT_CANVAS_H
#define CVDR_PLOT_CANVAS_H

#include <cairo.h>

#include <optional>
#include <string>

namespace cvdr::plot {

enum class ImageFormat { kPng, kSvg, kPdf };

// By the file's extension, without regard to case; none for any other.
std::optional<ImageFormat> ImageFormatOf(const std::string& path);

class Canvas {
public:
    // Throws std::runtime_error when the surface cannot be made (for SVG and
    // PDF that includes a file that cannot be created).
    Canvas(ImageFormat format, const std::string& path, int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Context() const { return m_context; }

    // Completes the file; throws when drawing or writing failed.
    void Finish();

private:
    void Check(cairo_status_t status) const;

    ImageFormat m_format;
    std::string m_path;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_context = nullptr;
};

// Frees the font and glyph caches that cairo and fontconfig keep for the
// whole process. Call once no canvas is left, before the process ends, so
// that leak checkers see only what the program itself holds.
void ReleaseDrawingCaches();

}  // namespace cvdr::plot

#endif
