#include "inspect/contact_sheet.h"

#include "common/workbench_error.h"
#include "inspect/label_font.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace lumivert {
namespace {

constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kTile{216, 216, 216};
constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kLabel{48, 48, 96};
constexpr int kPictureLineWidth = 1024; // sheet pixels a line of pictures fills at scale 1
constexpr std::int64_t kLargestSheet = std::int64_t{1} << 27; // pixels, 384 MB of RGB

// A tile: padding, the label, a gap, the item, padding.
struct TileGeometry {
    int scale;
    int padding() const { return 2 * scale; }
    int labelHeight() const { return kLabelHeight * scale; }
    int itemTop() const { return padding() + labelHeight() + scale; }

    int width(const SheetItem& item) const {
        return std::max(itemWidth(item) * scale, labelWidth(item.label, scale)) + 2 * padding();
    }
    int height(const SheetItem& item) const {
        return itemTop() + itemHeight(item) * scale + padding();
    }
    int headingHeight(const SheetSection& section) const {
        return section.heading.empty() ? 0 : labelHeight() + 2 * padding();
    }

    static int itemWidth(const SheetItem& item) {
        return item.colours.empty() ? item.dots.width() : item.width;
    }
    static int itemHeight(const SheetItem& item) {
        return item.colours.empty() ? item.dots.height() : item.height;
    }
};

struct Placed {
    Point tile;
    int width;
    int height;
};

// Where the tiles of a section go, from `top` on; returns the section's bottom.
int layOut(const SheetSection& section, const TileGeometry& tiles, int top, int lineWidth,
           std::vector<Placed>& placed) {
    int uniformWidth = 0;
    int uniformHeight = 0;
    if (section.columns > 0) {
        for (const SheetItem& item : section.items) {
            uniformWidth = std::max(uniformWidth, tiles.width(item));
            uniformHeight = std::max(uniformHeight, tiles.height(item));
        }
    }
    int x = 0;
    int y = top + tiles.headingHeight(section);
    int lineHeight = 0;
    int inLine = 0;
    for (const SheetItem& item : section.items) {
        const int width = section.columns > 0 ? uniformWidth : tiles.width(item);
        const int height = section.columns > 0 ? uniformHeight : tiles.height(item);
        const bool full =
            section.columns > 0 ? inLine == section.columns : inLine > 0 && x + width > lineWidth;
        if (full) {
            x = 0;
            y += lineHeight;
            lineHeight = 0;
            inLine = 0;
        }
        placed.push_back({{x, y}, width, height});
        x += width;
        lineHeight = std::max(lineHeight, height);
        ++inLine;
    }
    return y + lineHeight;
}

void drawItem(Raster& raster, const SheetItem& item, const Placed& place, const TileGeometry& tiles,
              Point origin) {
    raster.fill(place.tile.x, place.tile.y, place.width, place.height, kTile);
    drawLabel(raster, place.tile.x + tiles.padding(), place.tile.y + tiles.padding(), item.label,
              tiles.scale, kLabel);
    const int s = tiles.scale;
    if (!item.colours.empty()) {
        for (int y = 0; y < item.height; ++y) {
            for (int x = 0; x < item.width; ++x) {
                raster.fill(origin.x + x * s, origin.y + y * s, s, s,
                            item.colours[static_cast<std::size_t>(y) *
                                             static_cast<std::size_t>(item.width) +
                                         static_cast<std::size_t>(x)]);
            }
        }
        return;
    }
    raster.fill(origin.x, origin.y, item.dots.width() * s, item.dots.height() * s, kPaper);
    for (int y = 0; y < item.dots.height(); ++y) {
        for (int x = 0; x < item.dots.width(); ++x) {
            if (item.dots.ink(x, y)) {
                raster.fill(origin.x + x * s, origin.y + y * s, s, s, kInk);
            }
        }
    }
}

} // namespace

ContactSheet drawContactSheet(const std::vector<SheetSection>& sections, int scale) {
    const TileGeometry tiles{scale};
    const int lineWidth = kPictureLineWidth * scale;
    std::vector<Placed> placed;
    std::vector<int> tops;
    int bottom = 0;
    for (const SheetSection& section : sections) {
        tops.push_back(bottom);
        bottom = layOut(section, tiles, bottom, lineWidth, placed);
    }
    int width = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        width = std::max(width, labelWidth(sections[i].heading, scale) + 2 * tiles.padding());
    }
    for (const Placed& place : placed) {
        width = std::max(width, place.tile.x + place.width);
    }

    if (std::int64_t{width} * bottom > kLargestSheet) {
        throw WorkbenchError("The sheet would be " + std::to_string(width) + " x " +
                             std::to_string(bottom) +
                             " pixels, too large to draw; ask for a smaller scale or fewer "
                             "characters.");
    }
    ContactSheet sheet{Raster(std::max(width, 1), std::max(bottom, 1), kBackground), {}};
    std::size_t next = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        drawLabel(sheet.raster, tiles.padding(), tops[i] + tiles.padding(), sections[i].heading,
                  scale, kInk);
        for (const SheetItem& item : sections[i].items) {
            const Placed& place = placed[next++];
            const Point origin{place.tile.x + tiles.padding(), place.tile.y + tiles.itemTop()};
            drawItem(sheet.raster, item, place, tiles, origin);
            sheet.origins.push_back(origin);
        }
    }
    return sheet;
}

} // namespace lumivert
