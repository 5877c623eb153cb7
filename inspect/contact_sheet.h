#pragma once

#include "inspect/dot_matrix.h"
#include "inspect/raster.h"

#include <string>
#include <utility>
#include <vector>

namespace lumivert {

// A contact sheet: tiles in lines, each a label over a glyph or a picture, in sections that
// may start with a heading line. Every dot or pixel is `scale` x `scale` pixels, the labels
// too. A glyph's cell shows as white paper with black ink on the grey of its tile.
struct SheetItem {
    std::string label; // drawn with the label font (digits, capitals, '-', '.')
    DotMatrix dots;    // a glyph; or
    int width = 0;     // a picture: width x height colours, row by row from the top
    int height = 0;
    std::vector<Rgb> colours;

    static SheetItem glyph(std::string label, DotMatrix dots) {
        SheetItem item;
        item.label = std::move(label);
        item.dots = std::move(dots);
        return item;
    }
    static SheetItem picture(std::string label, int width, int height, std::vector<Rgb> colours) {
        SheetItem item;
        item.label = std::move(label);
        item.width = width;
        item.height = height;
        item.colours = std::move(colours);
        return item;
    }
};

struct SheetSection {
    std::string heading; // none when empty
    std::vector<SheetItem> items;
    // Glyphs go this many to a line, all tiles of the section as large as its largest;
    // pictures (columns 0) go on a line while it stays narrower than the sheet.
    int columns = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct ContactSheet {
    Raster raster{0, 0, {}};
    // Where each item's dot (0, 0) or pixel (0, 0) lies, section after section.
    std::vector<Point> origins;
};

// Throws WorkbenchError, drawing nothing, when the sheet would have more than 2^27 pixels.
ContactSheet drawContactSheet(const std::vector<SheetSection>& sections, int scale);

} // namespace lumivert
