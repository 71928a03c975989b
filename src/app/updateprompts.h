#pragma once

#include <QString>
#include <QtGlobal>

// The update component's own conversation with the user: its question, the folder
// choice, the download's progress and its reports. The texts come from the component.
class UpdatePrompts
{
public:
    virtual ~UpdatePrompts() = default;

    // A yes/no question; true is yes.
    virtual bool ask(const QString& question) = 0;
    // The folder to save the file fileName in; the empty text cancels.
    virtual QString chooseFolder(const QString& fileName) = 0;
    // Progress of the download (total is -1 when unknown); false cancels it.
    virtual bool progress(qint64 received, qint64 total) = 0;
    // The download has ended, whatever its outcome.
    virtual void downloadEnded() = 0;
    // A report of the outcome.
    virtual void inform(const QString& text) = 0;
    // A report of a failure.
    virtual void warn(const QString& text) = 0;
};
