#pragma once

#include "platform/addressopener.h"
#include "platform/messagesink.h"
#include "platform/savedialog.h"

#include <QPointer>
#include <QWidget>

// Message boxes owned by a parent window.
class QtMessageSink final : public MessageSink
{
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text) override;
    void information(const QString& text) override;
    void error(const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};

// Opens addresses with QDesktopServices.
class DesktopAddressOpener final : public AddressOpener
{
public:
    void open(const QString& address) override;
};

// The save dialog on QFileDialog.
class QtSaveDialog final : public SaveDialog
{
public:
    explicit QtSaveDialog(QWidget* parent = nullptr) : m_parent(parent) {}

    bool run(const SaveDialogOptions& options) override;
    QString fileName() const override { return m_fileName; }
    void clearFileName() override { m_fileName.clear(); }

    // "XML File|*xml" becomes "XML File (*xml)".
    static QString qtFilter(const QString& filter);

private:
    QPointer<QWidget> m_parent;
    QString m_fileName;
};
