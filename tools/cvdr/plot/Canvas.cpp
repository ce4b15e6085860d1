#include "plot/Canvas.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <fontconfig/fontconfig.h>

#include <stdexcept>

#include "platform/TextConversion.h"

namespace cvdr::plot {

std::optional<ImageFormat> ImageFormatOf(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::nullopt;
    const std::string extension = platform::AsciiUpper(std::string_view(path).substr(dot + 1));
    if (extension == "PNG") return ImageFormat::kPng;
    if (extension == "SVG") return ImageFormat::kSvg;
    if (extension == "PDF") return ImageFormat::kPdf;
    return std::nullopt;
}

Canvas::Canvas(ImageFormat format, const std::string& path, int width, int height)
    : m_format(format), m_path(path) {
    switch (format) {
        case ImageFormat::kPng:
            m_surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
            break;
        case ImageFormat::kSvg:
            m_surface = cairo_svg_surface_create(path.c_str(), width, height);
            break;
        case ImageFormat::kPdf:
            m_surface = cairo_pdf_surface_create(path.c_str(), width, height);
            break;
    }
    m_context = cairo_create(m_surface);
    if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS) {
        const cairo_status_t status = cairo_surface_status(m_surface);
        cairo_destroy(m_context);
        cairo_surface_destroy(m_surface);
        throw std::runtime_error("cannot write " + path + ": " + cairo_status_to_string(status));
    }
}

Canvas::~Canvas() {
    cairo_destroy(m_context);
    cairo_surface_destroy(m_surface);
}

void Canvas::Check(cairo_status_t status) const {
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + m_path + ": " + cairo_status_to_string(status));
    }
}

void Canvas::Finish() {
    Check(cairo_status(m_context));
    if (m_format == ImageFormat::kPng) {
        cairo_surface_flush(m_surface);
        Check(cairo_surface_write_to_png(m_surface, m_path.c_str()));
        return;
    }
    cairo_surface_finish(m_surface);
    Check(cairo_surface_status(m_surface));
}

void ReleaseDrawingCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace cvdr::plot
