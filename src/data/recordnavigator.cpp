#include "data/recordnavigator.h"

#include "data/resultset.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {

enum class Arrow
{
    First,
    Prior,
    Next,
    Last
};

// A triangle pointing left or right, with a bar for First and Last.
QIcon arrowIcon(Arrow arrow)
{
    QIcon icon;
    for (const auto& [mode, colour] : {std::pair{QIcon::Normal, QColor(30, 60, 110)},
                                       std::pair{QIcon::Disabled, QColor(160, 160, 160)}}) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const bool left = arrow == Arrow::First || arrow == Arrow::Prior;
        QPainterPath path;
        const qreal tip = left ? 4.5 : 11.5;
        const qreal base = left ? 10.5 : 5.5;
        path.moveTo(tip, 8);
        path.lineTo(base, 3);
        path.lineTo(base, 13);
        path.closeSubpath();
        p.fillPath(path, colour);
        if (arrow == Arrow::First)
            p.fillRect(QRectF(2.5, 3, 1.5, 10), colour);
        if (arrow == Arrow::Last)
            p.fillRect(QRectF(12, 3, 1.5, 10), colour);
        p.end();
        icon.addPixmap(pm, mode);
    }
    return icon;
}

} // namespace

RecordNavigator::RecordNavigator(ResultSet& resultSet, QWidget* parent)
    : QWidget(parent)
    , m_resultSet(resultSet)
    , m_first(new QToolButton)
    , m_prior(new QToolButton)
    , m_next(new QToolButton)
    , m_last(new QToolButton)
{
    setObjectName(QStringLiteral("RzDBNavigator1"));
    setAccessibleName(QStringLiteral("Record navigator"));
    setFixedWidth(DesignWidth);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const struct
    {
        QToolButton* button;
        Arrow arrow;
        const char* name;
        const char* hint;
    } buttons[] = {{m_first, Arrow::First, "nbFirst", "First record"},
                   {m_prior, Arrow::Prior, "nbPrior", "Prior record"},
                   {m_next, Arrow::Next, "nbNext", "Next record"},
                   {m_last, Arrow::Last, "nbLast", "Last record"}};
    for (const auto& b : buttons) {
        b.button->setObjectName(QString::fromLatin1(b.name));
        b.button->setAccessibleName(QString::fromLatin1(b.hint));
        b.button->setToolTip(QString::fromLatin1(b.hint));
        b.button->setIcon(arrowIcon(b.arrow));
        b.button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b.button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(b.button);
    }
    // Gradient buttons without a border of their own.
    setStyleSheet(QStringLiteral(
        "QToolButton { border: 1px solid #a0b4cc; border-left: none;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdfdff, stop:1 #c9d7ea); }"
        "QToolButton#nbFirst { border-left: 1px solid #a0b4cc; }"
        "QToolButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #fff8e0, stop:1 #ffd98a); }"
        "QToolButton:pressed { background: #ffc94a; }"
        "QToolButton:disabled { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #f6f6f6, stop:1 #dedede); }"));

    connect(m_first, &QToolButton::clicked, this, [this] { m_resultSet.first(); });
    connect(m_prior, &QToolButton::clicked, this,
            [this] { m_resultSet.setRecNo(m_resultSet.recNo() - 1); });
    connect(m_next, &QToolButton::clicked, this,
            [this] { m_resultSet.setRecNo(m_resultSet.recNo() + 1); });
    connect(m_last, &QToolButton::clicked, this,
            [this] { m_resultSet.setRecNo(m_resultSet.recordCount() - 1); });
    connect(&m_resultSet, &ResultSet::currentChanged, this, &RecordNavigator::updateButtons);
    connect(&m_resultSet, &ResultSet::reset, this, &RecordNavigator::updateButtons);
    updateButtons();
}

void RecordNavigator::updateButtons()
{
    const int rec = m_resultSet.recNo();
    const int last = m_resultSet.recordCount() - 1;
    const bool any = m_resultSet.isOpen() && last >= 0 && rec >= 0;
    m_first->setEnabled(any && rec > 0);
    m_prior->setEnabled(any && rec > 0);
    m_next->setEnabled(any && rec < last);
    m_last->setEnabled(any && rec < last);
}
