#include "platform/message_queue.h"

#include <deque>

#include "base/way_out.h"
#include "platform/platform.h"

namespace platform {

namespace {
std::deque<Message> queue; // waiting messages, oldest first
bool closeForQuit = false; // the close message for base::QuitRequested has been posted
} // namespace

int (*WindowProcedure)(const Message& message) = nullptr;

void InstallWindowProcedure(int (*procedure)(const Message& message)) {
    WindowProcedure = procedure;
}

void PostMessage(const Message& message) {
    queue.push_back(message);
}

void SendMessage(const Message& message) {
    if (WindowProcedure) WindowProcedure(message);
}

bool PeekMessage() {
    platform::PumpEvents();
    // A signal ends the game as closing its window does.
    if (base::QuitRequested && !closeForQuit) PostMessage(Message{MessageKind::Close});
    closeForQuit = base::QuitRequested;
    return !queue.empty();
}

std::optional<Message> TakeMessage() {
    if (queue.empty()) return std::nullopt;
    Message message = queue.front();
    queue.pop_front();
    return message;
}

void PostQuitMessage() {
    PostMessage(Message{MessageKind::Quit});
}

void ClearMessages() {
    queue.clear();
}

} // namespace platform
