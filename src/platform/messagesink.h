#pragma once

#include <QString>

#include <functional>

// Shows the program's messages to the user: plain boxes with an OK button.
class MessageSink
{
public:
    virtual ~MessageSink() = default;

    // A plain message box with an OK button.
    virtual void message(const QString& text) = 0;
    // An information box with an OK button.
    virtual void information(const QString& text) = 0;
    // The standard error dialog that reports a failed operation.
    virtual void error(const QString& text) = 0;
};

// Runs an event handler; an error it raises is shown in the error dialog and ends
// the handler, and the program goes on. Returns false when the handler failed.
bool runGuarded(MessageSink& sink, const std::function<void()>& handler);
