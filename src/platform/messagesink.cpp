#include "platform/messagesink.h"

#include "platform/stradexerror.h"

#include <exception>

bool runGuarded(MessageSink& sink, const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const StradexError& e) {
        sink.error(e.message());
    } catch (const std::exception& e) {
        sink.error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
