#include "platform/message_queue.h"

#include "base/way_out.h"
#include "platform/platform.h"
#include "platform/state.h"

namespace platform {

int (*WindowProcedure)(const Message& message) = nullptr;

void InstallWindowProcedure(int (*procedure)(const Message& message)) {
    WindowProcedure = procedure;
}

void PostMessage(const Message& message) {
    state.Queue.push_back(message);
}

void SendMessage(const Message& message) {
    if (WindowProcedure) WindowProcedure(message);
}

bool PeekMessage() {
    platform::PumpEvents();
    // A signal ends the game as closing its window does.
    if (base::QuitRequested && !state.CloseForQuit) PostMessage(Message{MessageKind::Close});
    state.CloseForQuit = base::QuitRequested;
    return !state.Queue.empty();
}

std::optional<Message> TakeMessage() {
    if (state.Queue.empty()) return std::nullopt;
    Message message = state.Queue.front();
    state.Queue.pop_front();
    return message;
}

void PostQuitMessage() {
    PostMessage(Message{MessageKind::Quit});
}

void ClearMessages() {
    state.Queue.clear();
}

} // namespace platform
