#include "platform/recordingseams.h"

#include <QFileInfo>

bool RecordingSaveDialog::run(const SaveDialogOptions& options)
{
    runs << options;
    if (answer.isEmpty())
        return false;
    m_fileName = answer;
    if (QFileInfo(answer).suffix().isEmpty() && !options.defaultSuffix.isEmpty())
        m_fileName += QLatin1Char('.') + options.defaultSuffix;
    return true;
}
