// A window message: what the platform posts for the main loop and the window procedure.
#pragma once

#include <cstdint>

namespace platform {

enum class MessageKind { Close, Destroy, Size, KeyDown, KeyUp, Quit };

struct Message {
    MessageKind kind = MessageKind::Quit;
    std::uint32_t key = 0; // virtual-key code for KeyDown and KeyUp
    int width = 0;         // new client size for Size
    int height = 0;
    bool repeat = false; // a KeyDown the system repeats while the key is held
    bool ctrl = false;   // a KeyDown with Ctrl held
    bool shift = false;  // a KeyDown with Shift held
};

} // namespace platform
