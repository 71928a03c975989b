#include "app/fonts.h"

#include <QDir>
#include <QFontDatabase>

void registerProgramFonts()
{
    static const bool done = [] {
        const QStringList fonts = QDir(QStringLiteral(":/fonts")).entryList(QDir::Files);
        for (const QString& f : fonts)
            QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/") + f);
        return true;
    }();
    Q_UNUSED(done);
}
