#include "app/qtupdateprompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

namespace {
const QString Title = QStringLiteral("Stradex update");
}

QtUpdatePrompts::~QtUpdatePrompts()
{
    delete m_progress;
}

bool QtUpdatePrompts::ask(const QString& question)
{
    return QMessageBox::question(m_parent, Title, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

QString QtUpdatePrompts::chooseFolder(const QString& fileName)
{
    // The download folder where the user has one, else the home folder.
    QString start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (!QDir(start).exists())
        start = QDir::homePath();
    return QFileDialog::getExistingDirectory(
        m_parent, QStringLiteral("Choose the folder for %1").arg(fileName), start);
}

bool QtUpdatePrompts::progress(qint64 received, qint64 total)
{
    if (!m_progress) {
        m_progress =
            new QProgressDialog(QStringLiteral("Downloading the new version of Stradex..."),
                                QStringLiteral("Cancel"), 0, 0, m_parent);
        m_progress->setWindowTitle(Title);
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(500);
    }
    // QProgressDialog counts in int; kilobytes keep large files in range.
    if (total > 0)
        m_progress->setMaximum(int(total / 1024) + 1);
    m_progress->setValue(int(received / 1024));
    return !m_progress->wasCanceled();
}

void QtUpdatePrompts::downloadEnded()
{
    delete m_progress;
}

void QtUpdatePrompts::inform(const QString& text)
{
    QMessageBox::information(m_parent, Title, text, QMessageBox::Ok);
}

void QtUpdatePrompts::warn(const QString& text)
{
    QMessageBox::warning(m_parent, Title, text, QMessageBox::Ok);
}
