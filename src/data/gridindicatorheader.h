#pragma once

#include <QHeaderView>

// The station grid's indicator column: a narrow vertical header that marks the
// current record with a small arrow.
class GridIndicatorHeader final : public QHeaderView
{
    Q_OBJECT

public:
    static constexpr int Width = 11;

    explicit GridIndicatorHeader(QWidget* parent = nullptr);

    void setCurrentRow(int row);
    int currentRow() const { return m_currentRow; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sizeHint() const override;

private:
    int m_currentRow = -1;
};
