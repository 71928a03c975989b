#pragma once

#include <QAbstractButton>

class QSvgRenderer;

// One picture button of the command dock. Its caption is not shown: it is the item's
// command number. The dock positions and sizes it and handles the pointer for it.
class DockItem final : public QAbstractButton
{
    Q_OBJECT

public:
    DockItem(const QString& caption, const QString& hint, const QString& pictureFile,
             QWidget* parent = nullptr);

    const QString& caption() const { return m_caption; }
    const QString& hint() const { return m_hint; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    QString m_hint;
    QSvgRenderer* m_picture;
};
