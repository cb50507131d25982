// The window messages the main loop handles, queued in arrival order.
#pragma once

#include <cstdint>
#include <optional>

namespace shell {

enum class MessageKind { Close, Destroy, Size, KeyDown, KeyUp, Quit };

struct Message {
    MessageKind kind = MessageKind::Quit;
    std::uint32_t key = 0; // virtual-key code for KeyDown and KeyUp
    int width = 0;         // new client size for Size
    int height = 0;
};

void PostMessage(const Message& message);
// Pumps the platform, then tells whether a message waits (without taking it).
bool PeekMessage();
std::optional<Message> TakeMessage();
void PostQuitMessage();
void ClearMessages();

} // namespace shell
