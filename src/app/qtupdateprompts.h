#pragma once

#include "app/updateprompts.h"

#include <QPointer>
#include <QProgressDialog>
#include <QWidget>

// The update component's prompts as message boxes, a folder dialog and a progress dialog.
class QtUpdatePrompts final : public UpdatePrompts
{
public:
    explicit QtUpdatePrompts(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }
    ~QtUpdatePrompts() override;
    void setParent(QWidget* parent) { m_parent = parent; }

    bool ask(const QString& question) override;
    QString chooseFolder(const QString& fileName) override;
    bool progress(qint64 received, qint64 total) override;
    void downloadEnded() override;
    void inform(const QString& text) override;
    void warn(const QString& text) override;

private:
    QPointer<QWidget> m_parent;
    QPointer<QProgressDialog> m_progress;
};
