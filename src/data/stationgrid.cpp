#include "data/stationgrid.h"

#include "data/gridindicatorheader.h"
#include "data/resultsetmodel.h"
#include "data/stationdata.h"
#include "data/stationfields.h"
#include "data/stationgriddelegate.h"
#include "data/stationgridrules.h"
#include "platform/addressopener.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace {
// The grid's colours: silver title row and indicator column, a blue-grey frame, the
// line colour of an inactive caption and a pale blue for every other row.
const QColor FixedColour(192, 192, 192);
const QColor FrameColour(127, 157, 185);
const QColor LineColour(191, 205, 219);
const QColor ShadingColour(234, 238, 255);
} // namespace

StationGrid::StationGrid(StationData& data, std::function<QString()> currentTable,
                         const Links& links, QWidget* parent)
    : QTableView(parent)
    , m_data(data)
    , m_links(links)
    , m_model(new ResultSetModel(data.resultSet(), this))
    , m_indicator(new GridIndicatorHeader(this))
{
    setObjectName(QStringLiteral("RzDBGrid1"));
    setAccessibleName(QStringLiteral("Station grid"));
    setVerticalHeader(m_indicator);
    setModel(m_model);
    setItemDelegate(new StationGridDelegate(data, std::move(currentTable), links.messages, this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setSortingEnabled(false);
    setMouseTracking(true);

    QFont cellFont(QStringLiteral("Tahoma"));
    cellFont.setPixelSize(11);
    setFont(cellFont);
    QFont titleFont = cellFont;
    titleFont.setBold(true);

    QHeaderView* titles = horizontalHeader();
    titles->setFont(titleFont);
    titles->setSectionsMovable(true);
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setDefaultSectionSize(ColumnWidth);
    titles->setMouseTracking(true);
    titles->setStyleSheet(QStringLiteral("QHeaderView::section { background: %1; color: black;"
                                         " border: none; border-right: 1px solid %2;"
                                         " border-bottom: 1px solid %2; padding-left: 2px; }")
                              .arg(FixedColour.name(), FrameColour.name()));

    // Single-line rows of the font's height and a few pixels.
    const int rowHeight = QFontMetrics(cellFont).height() + 4;
    m_indicator->setDefaultSectionSize(rowHeight);
    m_indicator->setMinimumSectionSize(rowHeight);
    m_indicator->setMouseTracking(true);

    QPalette p = palette();
    p.setColor(QPalette::AlternateBase, ShadingColour);
    p.setColor(QPalette::Button, FixedColour);
    p.setColor(QPalette::Mid, FrameColour);
    setPalette(p);
    m_indicator->setPalette(p);
    setStyleSheet(
        QStringLiteral("QTableView#RzDBGrid1 { border: 1px solid %1; gridline-color: %2; }"
                       "QTableCornerButton::section { background: %3; border: none;"
                       " border-right: 1px solid %1; border-bottom: 1px solid %1; }")
            .arg(FrameColour.name(), LineColour.name(), FixedColour.name()));

    viewport()->installEventFilter(this);
    titles->viewport()->installEventFilter(this);
    m_indicator->viewport()->installEventFilter(this);
    viewport()->setMouseTracking(true);
    titles->viewport()->setMouseTracking(true);
    m_indicator->viewport()->setMouseTracking(true);

    connect(this, &QAbstractItemView::clicked, this, &StationGrid::RzDBGrid1CellClick);
    connect(titles, &QHeaderView::sectionClicked, this, [this](int logical) {
        emit titleClicked(m_model->headerData(logical, Qt::Horizontal).toString());
    });

    ResultSet& rs = data.resultSet();
    connect(&rs, &ResultSet::currentChanged, this, &StationGrid::followRecord);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_lastColumn = current.column();
                m_indicator->setCurrentRow(current.isValid() ? current.row() : -1);
                if (!m_following && current.isValid())
                    m_data.resultSet().setRecNo(current.row());
            });
}

void StationGrid::followRecord(int recNo)
{
    if (recNo < 0 || recNo >= m_model->rowCount()) {
        m_indicator->setCurrentRow(-1);
        return;
    }
    int column = currentIndex().isValid() ? currentIndex().column() : m_lastColumn;
    if (column >= m_model->columnCount() || isColumnHidden(column))
        column = 0;
    m_following = true;
    setCurrentIndex(m_model->index(recNo, column));
    m_following = false;
    scrollTo(currentIndex());
}

void StationGrid::layoutColumns()
{
    const int columns = m_model->columnCount();
    for (int c = 0; c < columns; ++c) {
        setColumnHidden(c, false);
        setColumnWidth(c, ColumnWidth);
    }
    if (columns >= StationField::Count) {
        setColumnHidden(StationField::column(StationField::Images), true);
        setColumnWidth(StationField::column(StationField::Location), LocationWidth);
        setColumnWidth(StationField::column(StationField::AadtReport), ReportWidth);
    }
}

QPoint StationGrid::rawCellAt(const QPoint& gridPos) const
{
    const QHeaderView* titles = horizontalHeader();
    const auto displayColumn = [&](int x) {
        const int logical = titles->logicalIndexAt(x);
        return logical < 0 ? -1 : titles->visualIndex(logical) + 1;
    };
    const QRect titleRect(titles->mapTo(this, QPoint(0, 0)), titles->size());
    const QRect indicatorRect(m_indicator->mapTo(this, QPoint(0, 0)), m_indicator->size());
    const QRect cellsRect(viewport()->mapTo(this, QPoint(0, 0)), viewport()->size());
    int column = -1;
    int row = -1;
    if (titleRect.contains(gridPos)) {
        row = 0;
        column = displayColumn(gridPos.x() - titleRect.left());
    } else if (indicatorRect.contains(gridPos)) {
        column = 0;
        const int r = rowAt(gridPos.y() - indicatorRect.top());
        row = r < 0 ? -1 : r + 1;
    } else if (cellsRect.contains(gridPos)) {
        const QPoint p = gridPos - cellsRect.topLeft();
        column = displayColumn(p.x());
        const int r = rowAt(p.y());
        row = r < 0 ? -1 : r + 1;
    } else if (gridPos.x() < cellsRect.left() && gridPos.y() < cellsRect.top() &&
               gridPos.x() >= 0 && gridPos.y() >= 0) {
        column = 0; // the corner above the indicator column
        row = 0;
    }
    if (column < 0 || row < 0)
        return {-1, -1};
    return {column, row};
}

void StationGrid::RzDBGrid1MouseMove(const QPoint& gridPos)
{
    const QPoint cell = rawCellAt(gridPos);
    const StationGridRules::PointerLook look = StationGridRules::pointerLook(cell.x(), cell.y());
    m_hintShown = look.hint;
    if (!m_hintShown)
        QToolTip::hideText();
    const Qt::CursorShape shape = look.hand ? Qt::PointingHandCursor : Qt::ArrowCursor;
    for (QWidget* w : {viewport(), horizontalHeader()->viewport(), m_indicator->viewport()})
        w->setCursor(shape);
}

void StationGrid::RzDBGrid1CellClick(const QModelIndex& index)
{
    const ResultSet& rs = m_data.resultSet();
    if (!index.isValid() || !rs.isOpen())
        return;
    const QString text = index.data(Qt::DisplayRole).toString();
    switch (StationGridRules::cellAction(rs.recordCount() == 0, index.column() + 1, text)) {
    case StationGridRules::CellAction::OpenReport:
        if (m_links.addresses)
            m_links.addresses->open(StationGridRules::reportAddress(m_links.reportServer, text));
        break;
    case StationGridRules::CellAction::RequestPhotos: {
        // The image names come from the hidden twelfth column of the clicked record.
        const QModelIndex images =
            m_model->index(index.row(), StationField::column(StationField::Images));
        emit photoRequested(text, images.data(Qt::DisplayRole).toString());
        break;
    }
    case StationGridRules::CellAction::None:
        break;
    }
}

bool StationGrid::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return QTableView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        RzDBGrid1MouseMove(widget->mapTo(this, move->position().toPoint()));
        break;
    }
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (m_hintShown)
            QToolTip::showText(help->globalPos(), QString::fromLatin1(StationGridRules::TitleHint),
                               widget);
        else
            QToolTip::hideText();
        return true;
    }
    default:
        break;
    }
    return QTableView::eventFilter(watched, event);
}
