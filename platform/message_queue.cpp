#include "platform/message_queue.h"

#include <deque>

#include "platform/platform.h"

namespace platform {

namespace {
std::deque<Message> queue; // waiting messages, oldest first
}

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
