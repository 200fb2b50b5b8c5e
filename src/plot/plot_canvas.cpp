#include "plot/plot_canvas.h"

#include <map>
#include <string>

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <fontconfig/fontconfig.h>

namespace korvel {

namespace {
constexpr double pngScale = 2; // pixels per unit

cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length)
{
    try {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    } catch (...) { // no exception may cross the drawing library
        return CAIRO_STATUS_NO_MEMORY;
    }
    return CAIRO_STATUS_SUCCESS;
}

// The drawing library numbers the page's group and the images after a count of
// every surface the process has made ("surface7", "image12"); they are
// renumbered from 1 in the order they first appear.
void renumberIds(std::string& svg)
{
    for (const std::string kind : {"surface", "image"}) {
        std::map<std::string, std::string> renamed; // the count as written, the count from 1
        for (const std::string& head : {"id=\"" + kind, "#" + kind})
            for (std::size_t at = svg.find(head); at != std::string::npos; at = svg.find(head, at + 1)) {
                const std::size_t digits = at + head.size();
                const std::size_t end = svg.find_first_not_of("0123456789", digits);
                if (end == std::string::npos || end == digits)
                    continue;
                const auto found = renamed.emplace(svg.substr(digits, end - digits), std::to_string(renamed.size() + 1));
                svg.replace(digits, end - digits, found.first->second);
            }
    }
}

cairo_surface_t* surfaceFor(PlotFormat format, std::string& bytes, double width, double height)
{
    switch (format) {
    case PlotFormat::Pdf:
        return cairo_pdf_surface_create_for_stream(appendToString, &bytes, width, height);
    case PlotFormat::Png:
        return cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(width * pngScale),
                                          static_cast<int>(height * pngScale));
    default:
        cairo_surface_t* svg = cairo_svg_surface_create_for_stream(appendToString, &bytes, width, height);
        cairo_svg_surface_set_document_unit(svg, CAIRO_SVG_UNIT_PX);
        return svg;
    }
}
} // namespace

void writeFigure(std::ostream& out, PlotFormat format, double width, double height,
                 const std::function<void(cairo_t*)>& draw)
{
    if (!out)
        return;
    std::string bytes;
    cairo_surface_t* surface = surfaceFor(format, bytes, width, height);
    cairo_t* cr = cairo_create(surface);
    if (format == PlotFormat::Png)
        cairo_scale(cr, pngScale, pngScale);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    draw(cr);
    bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (format == PlotFormat::Png && drawn)
        drawn = cairo_surface_write_to_png_stream(surface, appendToString, &bytes) == CAIRO_STATUS_SUCCESS;
    cairo_surface_finish(surface);
    drawn = drawn && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    cairo_debug_reset_static_data(); // no cairo object is left: its caches and the fonts' are emptied
    FcFini();
    if (!drawn) {
        out.setstate(std::ios::failbit);
        return;
    }
    if (format == PlotFormat::Svg)
        renumberIds(bytes);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush();
}

} // namespace korvel
