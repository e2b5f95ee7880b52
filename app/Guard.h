#pragma once
// Every handler of ours runs through guard(): an error that nothing handled ends in the error
// box, and the program carries on with the state the failed operation left. No exception is let
// out into Qt's own frames.

#include "app/MessageText.h"
#include "app/Messages.h"
#include "data/Errors.h"

#include <exception>
#include <utility>

namespace kavelon {

// Shows an escaped error in the error box (the "." rule applied).
inline void showErrorBox(const QString& message) {
    messages().errorBox(withErrorBoxPeriod(message));
}

template <class Handler> void guard(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const Error& e) {
        showErrorBox(e.message());
    } catch (const std::exception& e) {
        showErrorBox(QString::fromLocal8Bit(e.what()));
    }
}

// A slot that runs a window's handler through the guard:
// connect(Button1, &QPushButton::clicked, this, guarded(this, &TForm1::Button1Click));
template <class Window> auto guarded(Window* window, void (Window::*handler)()) {
    return [window, handler] { guard([&] { (window->*handler)(); }); };
}

} // namespace kavelon
