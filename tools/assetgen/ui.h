// The look shared by the overlay pictures, the help page and the splash: dark walnut
// panels, light raised buttons and cream lettering.
#pragma once

#include <string>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/text.h"

namespace assetgen {

namespace colours {
inline const Rgb kWalnut = Hex(0x3B2415);     // panel wood, mid tone
inline const Rgb kWell = Hex(0x1E120A);       // recess behind a button picture
inline const Rgb kCream = Hex(0xF3E3C3);      // lettering on dark wood
inline const Rgb kInk = Hex(0x3A2414);        // lettering on light faces
inline const Rgb kFaceTop = Hex(0xF6DDAE);    // raised button, top of its face
inline const Rgb kFaceBottom = Hex(0xD9AE6E); // raised button, bottom of its face
inline const Rgb kBrass = Hex(0xD8A54A);
inline const Rgb kGreen = Hex(0x2E7D3A);
} // namespace colours

// An axis-aligned box in canvas pixels.
struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Dark walnut with its grain running vertically (`seed` varies the figure).
void WalnutBackground(Canvas& c, Box area, float pixelsPerUnit, std::uint32_t seed);

// A raised light button face with a dark outline and a soft shadow below it.
void RaisedFace(Canvas& c, Box box, float radius, float scale);
// A sunken well that a separately drawn button picture sits in.
void Well(Canvas& c, Box box, float radius, float scale);

// Draws one line of text centred on (cx, cy) (the middle of its capital letters) and
// returns the box of its ink; with `shadow` a soft dark copy lies under it.
Box CentredText(Canvas& c, _TTF_Font* font, const std::string& text, float cx, float cy, Rgb colour,
                bool shadow = false);
// The same with the line box's left edge at x and the baseline at y.
Box TextAt(Canvas& c, _TTF_Font* font, const std::string& text, float x, float baseline,
           Rgb colour);

// A key of the keyboard: a small dark cap with the key's name on it in cream, centred on
// (cx, cy); `scale` is pixels per unit of the picture's design. Returns the cap's box.
Box KeyCap(Canvas& c, _TTF_Font* font, const std::string& name, float cx, float cy, float scale);

struct Point {
    float x = 0, y = 0;
};

// A grid of hollows with four pieces on the corners of a square, joined by a red line: the
// picture of a win, in the emblem and on the help page.
struct GridSquare {
    Point first;                // canvas position of grid point (0, 0)
    float stepX = 0, stepY = 0; // from one grid point to the next along each axis
    int side = 0;               // points along each axis
    float hollowRadius = 0;
    Rgb hollow;
    float lineHalfWidth = 0;
    float pieceRadius = 0;
    bool light = true;
};
void DrawGridSquare(Canvas& c, const GridSquare& grid, const int corners[4][2]);

// The game's emblem: four pieces on the corners of a tilted square on a small board.
void Emblem(Canvas& c, float cx, float cy, float size);

// A wooden playing piece seen from above, for pictures: light or dark.
void PieceDisc(Canvas& c, float cx, float cy, float radius, bool light);

} // namespace assetgen
