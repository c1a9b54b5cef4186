#pragma once
// How the chart is drawn, as opposed to where: what the screen, the exports and the
// printout choose differently. The renderer takes it as given and asks the canvas nothing.

#include "document/FontDesc.h"
#include "document/GridLayout.h"

namespace solvena {

// How a level edge ends at the bottom. The metafile output has always drawn its
// vertical edges one pixel shorter; documents that embed those files rely on the look.
enum class EdgeStyle { Full, ShortBottom };

struct RenderOptions {
    bool withHeader = false;          // the header caption and the column numbers
    FontDesc headerFont;              // of those two
    FontDesc gridFont;                // of the names and the level labels
    bool namesRightAligned = false;
    EdgeStyle edges = EdgeStyle::Full;
};

// The options of a grid: its font and its name alignment.
inline RenderOptions renderOptionsFor(const GridLayout& layout, const FontDesc& headerFont,
                                      bool withHeader, EdgeStyle edges = EdgeStyle::Full)
{
    return RenderOptions{withHeader, headerFont, layout.gridFont, layout.namesRightAligned, edges};
}

}  // namespace solvena
