#include "image/workbench.h"

namespace lumivert {

void Workbench::reset() {
    generateMode = 0;
    regionMap = RegionMap::standard();
    image.fill();
}

} // namespace lumivert
