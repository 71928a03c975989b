#include "export/atomicfile.h"

#include "platform/stradexerror.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

void writeFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write)
{
    const QFileInfo target(path);
    const QString folder = QDir::toNativeSeparators(target.absolutePath());
    if (!target.absoluteDir().exists())
        throw StradexError(QStringLiteral("the folder \"%1\" does not exist").arg(folder));
    if (target.isDir())
        throw StradexError(QStringLiteral("a folder of that name exists"));
    // The owner's write permission, not the process's: a file marked read-only is left
    // alone even by a user whom the system would let replace it.
    if (target.exists() && !(target.permissions() & QFileDevice::WriteOwner))
        throw StradexError(QStringLiteral("the file is read-only"));

    QSaveFile file(path);
    // Unbuffered, so that a write the disk takes only in part fails at once: through
    // the device's own buffer a short write can go unnoticed until after the commit.
    // The writers hand over large blocks anyway.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw StradexError(file.errorString());
    write(file); // on an error the unfinished temporary file is removed with `file`
    if (file.error() != QFileDevice::NoError || !file.commit())
        throw StradexError(file.errorString());
}
