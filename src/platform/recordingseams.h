#pragma once

#include "platform/addressopener.h"
#include "platform/messagesink.h"
#include "platform/savedialog.h"

#include <QStringList>

// Seams that record what the program asked of the desktop, for tests.
class RecordingMessageSink final : public MessageSink
{
public:
    void message(const QString& text) override { messages << text; }
    void information(const QString& text) override { informations << text; }
    void error(const QString& text) override { errors << text; }

    QStringList messages;
    QStringList informations;
    QStringList errors;
};

class RecordingAddressOpener final : public AddressOpener
{
public:
    void open(const QString& address) override { opened << address; }

    QStringList opened;
};

// Answers the save dialog with a prepared path, or cancels when the path is empty.
class RecordingSaveDialog final : public SaveDialog
{
public:
    bool run(const SaveDialogOptions& options) override;
    QString fileName() const override { return m_fileName; }
    void clearFileName() override
    {
        m_fileName.clear();
        ++clears;
    }

    QString answer;                 // what the user types; empty cancels
    QList<SaveDialogOptions> runs;  // the options of every run
    int clears = 0;

private:
    QString m_fileName;
};
