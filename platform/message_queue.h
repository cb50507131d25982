// The window messages the main loop handles, queued in arrival order (platform::state.Queue).
#pragma once

#include <cstdint>
#include <optional>

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

// The program's window procedure, installed at start-up; SendMessage hands messages to it.
extern int (*WindowProcedure)(const Message& message);
void InstallWindowProcedure(int (*procedure)(const Message& message));

void PostMessage(const Message& message);
// Handles the message before returning, through WindowProcedure; nothing when none is set.
void SendMessage(const Message& message);
// Pumps the platform, then tells whether a message waits (without taking it).
bool PeekMessage();
std::optional<Message> TakeMessage();
void PostQuitMessage();
// Forgets every waiting message.
void ClearMessages();

} // namespace platform
