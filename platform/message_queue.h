// The window messages the main loop handles, queued in arrival order (platform::state.Queue).
#pragma once

#include <optional>

#include "platform/message.h"

namespace platform {

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
