#include "shell/message_queue.h"

#include <deque>

#include "shell/platform.h"

namespace shell {

namespace {
std::deque<Message> queue; // waiting messages, oldest first
}

void PostMessage(const Message& message) { queue.push_back(message); }

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

void PostQuitMessage() { PostMessage(Message{MessageKind::Quit}); }

void ClearMessages() { queue.clear(); }

} // namespace shell
