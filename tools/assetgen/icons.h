// The small overlay pictures: seat buttons, first-player buttons, the strength knob and
// the menu tab.
#pragma once

#include "tools/assetgen/canvas.h"

namespace assetgen {

Canvas ComputerButton(); // "pc.bmp": a monitor on a light tile
Canvas PersonButton();   // "ember.bmp": head and shoulders on a light tile
Canvas MarkedButton();   // "jelol.bmp": a lit green socket with a tick
Canvas EmptyButton();    // "ures.bmp": an empty socket on a dimmer tile
Canvas StrengthKnob();   // "iq.bmp": a brass slider knob
Canvas MenuTab();        // "menujel.bmp": an arrow and "Menu" on walnut

} // namespace assetgen
