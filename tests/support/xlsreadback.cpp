#include "support/xlsreadback.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTest>

QJsonObject readXlsBack(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(STRADEX_TEST_DATA "/export/readxls.py"), path});
    if (!python.waitForFinished(300000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("xlrd could not read %1: %2")
                                    .arg(path, QString::fromUtf8(python.readAllStandardError()))),
                     __FILE__, __LINE__);
        return {};
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(python.readAllStandardOutput(), &error);
    if (error.error != QJsonParseError::NoError) {
        QTest::qFail(qPrintable(error.errorString()), __FILE__, __LINE__);
        return {};
    }
    return doc.object();
}

QString fileTypeOf(const QString& path)
{
    QProcess file;
    file.start(QStringLiteral("file"), {QStringLiteral("-b"), path});
    file.waitForFinished();
    return QString::fromUtf8(file.readAllStandardOutput()).trimmed();
}
