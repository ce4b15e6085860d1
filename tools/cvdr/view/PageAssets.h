// The parts of the `cvdr view` page that cvdr carries inside itself: the
// page's template, script and style from this folder, and the chart library
// with its style as Debian's libjs-dygraphs installs them. They are read at
// build time (EmbedFiles.cmake).
#ifndef CVDR_VIEW_PAGE_ASSETS_H
#define CVDR_VIEW_PAGE_ASSETS_H

#include <string_view>

namespace cvdr::view {

std::string_view PageTemplate();  // page.html
std::string_view PageScript();    // view.js
std::string_view PageStyle();     // view.css
std::string_view ChartLibrary();  // dygraph.min.js
std::string_view ChartStyle();    // dygraph.min.css

// The text without a closing line that points a browser at a source map file
// ("//# sourceMappingURL=..." or "/*# sourceMappingURL=... */"): the page
// refers to no other file.
std::string_view WithoutSourceMap(std::string_view text);

}  // namespace cvdr::view

#endif
