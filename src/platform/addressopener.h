#pragma once

#include <QString>

// Opens an address (a web page, a document, a mailto: link) with the desktop's
// handler for it, without waiting.
class AddressOpener
{
public:
    virtual ~AddressOpener() = default;
    virtual void open(const QString& address) = 0;
};
