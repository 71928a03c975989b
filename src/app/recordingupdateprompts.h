#pragma once

#include "app/updateprompts.h"

#include <QStringList>

// Answers the update component's prompts as prepared and records what it said, for tests.
class RecordingUpdatePrompts final : public UpdatePrompts
{
public:
    bool ask(const QString& question) override
    {
        questions << question;
        return answerYes;
    }
    QString chooseFolder(const QString& fileName) override
    {
        folderRequests << fileName;
        return folder;
    }
    bool progress(qint64 received, qint64 total) override
    {
        ++progressReports;
        lastReceived = received;
        lastTotal = total;
        return !cancelDownload;
    }
    void downloadEnded() override { ++downloadsEnded; }
    void inform(const QString& text) override { informations << text; }
    void warn(const QString& text) override { warnings << text; }

    bool answerYes = true;       // the answer to every question
    QString folder;              // the chosen folder; empty cancels
    bool cancelDownload = false; // cancel at the first progress report

    QStringList questions;
    QStringList folderRequests;
    QStringList informations;
    QStringList warnings;
    int progressReports = 0;
    qint64 lastReceived = 0;
    qint64 lastTotal = 0;
    int downloadsEnded = 0;
};
