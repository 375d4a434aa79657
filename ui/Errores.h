#pragma once
// The error box, and the guard that brings an exception to it before it leaves a handler.

#include <exception>
#include <utility>

// A critical message with the error's text, in the user's language where the error is one the
// link raises without a text of its own.
void Muestra_Error(const std::exception& error);

// Wraps a handler so that an exception it raises is shown in the error box and goes no
// further: Qt's event code is built without exception support, so an exception unwinding
// through it would skip its clean-ups (the event being delivered is never freed, guards are
// never released).
template <typename Manejador> auto Atrapa(Manejador manejador) {
    return [manejador = std::move(manejador)]() {
        try {
            manejador();
        } catch (const std::exception& error) {
            Muestra_Error(error);
        }
    };
}
