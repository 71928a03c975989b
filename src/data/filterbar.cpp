#include "data/filterbar.h"

#include "data/querycomposer.h"
#include "data/recordnavigator.h"
#include "data/stationdata.h"
#include "platform/messagesink.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QSvgRenderer>
#include <QToolButton>

static void initFilterBarResource()
{
    Q_INIT_RESOURCE(filterbar);
}

namespace {

QPixmap executePicture()
{
    initFilterBarResource();
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/filter/execute.svg"));
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap greyCopy(const QPixmap& source)
{
    QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int g = 96 + qGray(line[x]) * 5 / 8;
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return QPixmap::fromImage(image);
}

// Replaces the entries only when they differ, so that the user's typing and the
// list's scroll position are left alone otherwise.
void showEntries(QComboBox* box, const QStringList& entries)
{
    bool same = box->count() == entries.size();
    for (int i = 0; same && i < entries.size(); ++i)
        same = box->itemText(i) == entries.at(i);
    if (same)
        return;
    box->clear();
    box->addItems(entries);
}

} // namespace

FilterBar::FilterBar(StationData& data, MessageSink& messages,
                     std::function<QString()> currentTable, QWidget* parent)
    : QWidget(parent)
    , m_data(data)
    , m_messages(messages)
    , m_currentTable(std::move(currentTable))
    , m_label(new QLabel(QStringLiteral("Filter : "), this))
    , m_columns(new QComboBox(this))
    , m_operators(new QComboBox(this))
    , m_values(new QComboBox(this))
    , m_go(new QToolButton(this))
    , m_navigator(new RecordNavigator(data.resultSet(), this))
{
    setObjectName(QStringLiteral("pnlSearch"));
    setAccessibleName(QStringLiteral("Filter bar"));
    setFixedHeight(DesignHeight);

    m_label->move(19, 10);
    m_label->setMinimumHeight(21);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label->adjustSize();

    m_columns->setObjectName(QStringLiteral("columnsCB"));
    m_columns->setAccessibleName(QStringLiteral("Filter column"));
    m_columns->setGeometry(59, 10, 145, m_columns->sizeHint().height());
    m_columns->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key

    m_operators->setObjectName(QStringLiteral("operatorsCB"));
    m_operators->setAccessibleName(QStringLiteral("Filter operator"));
    m_operators->setGeometry(215, 10, 81, m_operators->sizeHint().height());

    m_values->setObjectName(QStringLiteral("valuesCB"));
    m_values->setAccessibleName(QStringLiteral("Filter value"));
    m_values->setEditable(true);
    m_values->setInsertPolicy(QComboBox::NoInsert);
    // What the user types is what the filter compares with: no completion that would
    // silently change a typed number into a longer one.
    m_values->setCompleter(nullptr);
    m_values->setGeometry(300, 10, 145, m_values->sizeHint().height());

    m_go->setObjectName(QStringLiteral("goSpBtn"));
    m_go->setAccessibleName(QStringLiteral("Execute query"));
    m_go->setToolTip(QStringLiteral("Execute query"));
    m_go->setAutoRaise(true);
    QIcon picture;
    const QPixmap normal = executePicture();
    picture.addPixmap(normal, QIcon::Normal);
    picture.addPixmap(greyCopy(normal), QIcon::Disabled);
    m_go->setIcon(picture);
    m_go->setIconSize(QSize(32, 32));
    m_go->setGeometry(461, 4, 39, 37);

    m_navigator->setFixedHeight(25);

    // Only the user's picks and typing drive the state; setting a box from the program
    // raises none of these.
    connect(m_columns, &QComboBox::activated, this, [this] { columnsCBChange(); });
    connect(m_operators, &QComboBox::activated, this, [this] { operatorsCBChange(); });
    connect(m_values, &QComboBox::activated, this,
            [this] { valuesCBChange(m_values->currentText()); });
    connect(m_values->lineEdit(), &QLineEdit::textEdited, this, &FilterBar::valuesCBChange);

    m_state.reset();
    showState();
}

void FilterBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_navigator->move(width() - RecordNavigator::DesignWidth - 4,
                      (height() - m_navigator->height()) / 2);
}

void FilterBar::fillColumns(const QStringList& fieldNames)
{
    m_state.fillColumns(fieldNames);
    m_state.reset();
    showState();
}

void FilterBar::reset()
{
    m_state.reset();
    showState();
}

void FilterBar::columnsCBChange()
{
    const int index = m_columns->currentIndex();
    runGuarded(m_messages, [&] {
        try {
            m_state.chooseColumn(
                index,
                [this](const QString& name) -> std::optional<FieldType> {
                    const ResultSet& rs = m_data.resultSet();
                    const int i = rs.fieldIndex(name);
                    if (i < 0)
                        return std::nullopt;
                    return rs.field(i).type;
                },
                [this](const QString& column) {
                    return m_data.lookupColumn(QueryComposer::distinctValuesStatement(
                        column, m_currentTable(), m_data.composer().areaClause()));
                });
        } catch (...) {
            showState();
            throw;
        }
        showState();
    });
}

void FilterBar::operatorsCBChange()
{
    m_state.chooseOperator(m_operators->currentIndex());
    showState();
}

void FilterBar::valuesCBChange(const QString& text)
{
    m_state.editValue(text);
    showState();
}

void FilterBar::showState()
{
    const QSignalBlocker columnsBlocker(m_columns);
    const QSignalBlocker operatorsBlocker(m_operators);
    const QSignalBlocker valuesBlocker(m_values);

    showEntries(m_columns, m_state.columns());
    m_columns->setCurrentIndex(m_state.columnIndex());

    showEntries(m_operators, m_state.operators());
    m_operators->setCurrentIndex(m_state.operatorIndex());
    m_operators->setEnabled(m_state.operatorsEnabled());

    showEntries(m_values, m_state.values());
    if (m_values->currentText() != m_state.valueText()) {
        const int i = m_values->findText(m_state.valueText(), Qt::MatchExactly);
        m_values->setCurrentIndex(i);
        m_values->setEditText(m_state.valueText());
    }
    m_values->setEnabled(m_state.valuesEnabled());

    m_go->setEnabled(m_state.executeEnabled());
}
