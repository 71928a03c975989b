#pragma once

#include <QColor>
#include <QWidget>

// A panel drawn as a rounded rectangle with a flat fill and a thin border, showing what
// lies behind it at its corners.
class RoundedPanel : public QWidget
{
    Q_OBJECT

public:
    explicit RoundedPanel(QWidget* parent = nullptr);

    void setFill(const QColor& fill);
    void setBorder(const QColor& border);
    void setCornerRounding(int radius);
    QColor fill() const { return m_fill; }
    QColor border() const { return m_border; }
    int cornerRounding() const { return m_radius; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill{240, 240, 240};
    QColor m_border{153, 153, 153};
    int m_radius = 10;
};
