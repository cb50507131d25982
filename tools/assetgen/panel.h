// The slide-out panel's picture and the layout of what it shows.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace assetgen {

// One drawn element in panel units (origin at the panel's bottom-left corner, y upwards).
struct PanelItem {
    std::string kind; // "button" (a frame drawn on the picture), "label" (a button's text),
                      // "heading" (text naming the controls below it), "mark" (text by the track
                      // or the Tab key), "key" (a key that acts as the control)
    std::string name; // a label or a key has its control's name
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct PanelPicture {
    Canvas picture; // 512 x 2048
    std::vector<PanelItem> layout;
};

PanelPicture Panel();

// The layout as text, one item a line: kind name x1 y1 x2 y2.
std::string LayoutText(const std::vector<PanelItem>& layout);

} // namespace assetgen
