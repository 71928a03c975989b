#include "platform/qtseams.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace {
QString boxTitle()
{
    return QCoreApplication::applicationName().trimmed();
}
} // namespace

void QtMessageSink::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, boxTitle(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

void QtMessageSink::information(const QString& text)
{
    QMessageBox::information(m_parent, boxTitle(), text, QMessageBox::Ok);
}

void QtMessageSink::error(const QString& text)
{
    QMessageBox::critical(m_parent, boxTitle(), text, QMessageBox::Ok);
}

void DesktopAddressOpener::open(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

QString QtSaveDialog::qtFilter(const QString& filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}

bool QtSaveDialog::run(const SaveDialogOptions& options)
{
    QFileDialog dialog(m_parent, options.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(options.defaultSuffix);
    const QStringList filters = qtFilter(options.filter).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    if (options.filterIndex >= 1 && options.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(options.filterIndex - 1));
    if (!m_fileName.isEmpty())
        dialog.selectFile(m_fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    m_fileName = dialog.selectedFiles().constFirst();
    return true;
}
