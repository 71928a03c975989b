#include "app/uStradexMain.h"

#include "app/version.h"
#include "data/resultsetmodel.h"
#include "data/stationdata.h"
#include "data/stationfields.h"
#include "platform/messagesink.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStatusBar>
#include <QVBoxLayout>

TfrmMainStradex::TfrmMainStradex(const MainWindowEnvironment& environment, QWidget* parent)
    : QMainWindow(parent)
    , m_env(environment)
    , m_data(new StationData(this))
    , m_model(new ResultSetModel(m_data->resultSet(), this))
    , m_AADTCB(new QComboBox)
    , m_grid(new QTableView)
{
    setObjectName(QStringLiteral("frmMainStradex"));
    setWindowTitle(QString::fromLatin1(DesignCaption));
    setMinimumSize(1050, 700);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    buildLayout();
    connect(m_data, &StationData::queryRan, this, [this](int count) {
        setPanelText(0, QueryComposer::stationCountText(count));
        layoutGridColumns();
    });
    FormCreate();
}

TfrmMainStradex::~TfrmMainStradex() = default;

void TfrmMainStradex::buildLayout()
{
    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    auto* left = new QWidget;
    left->setObjectName(QStringLiteral("PnlTreeview"));
    left->setFixedWidth(215);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    m_AADTCB->setObjectName(QStringLiteral("AADTCB"));
    m_AADTCB->setAccessibleName(QStringLiteral("Table choice"));
    leftLayout->addWidget(m_AADTCB);
    leftLayout->addStretch();
    row->addWidget(left);

    m_grid->setObjectName(QStringLiteral("RzDBGrid1"));
    m_grid->setAccessibleName(QStringLiteral("Station grid"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    row->addWidget(m_grid, 1);
    setCentralWidget(central);

    const int widths[] = {160, 350, 200, 350};
    const char* texts[] = {"Number of records:", "Query Time:", "Tool Tip Hint:", "Save Status:"};
    auto* bar = new QStatusBar;
    bar->setObjectName(QStringLiteral("sbMain"));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(QString::fromLatin1(texts[i]));
        panel->setFixedWidth(widths[i]);
        panel->setAccessibleName(QStringLiteral("Status panel %1").arg(i));
        bar->addWidget(panel);
        m_panels << panel;
    }
    setStatusBar(bar);
}

QString TfrmMainStradex::panelText(int panel) const
{
    return m_panels.at(panel)->text();
}

void TfrmMainStradex::setPanelText(int panel, const QString& text)
{
    m_panels.at(panel)->setText(text);
}

void TfrmMainStradex::FormCreate()
{
    runGuarded(*m_env.messages, [this] {
        m_data->open(m_env.databasePath);
        m_AADTCB->addItems(m_data->tableCatalog());
        m_AADTCB->setCurrentIndex(0);
        m_grid->setAlternatingRowColors(true);
        QueryComposer& composer = m_data->composer();
        m_data->runQuery(composer.composeArea(m_AADTCB->currentText(), AreaKind::AllCounties, {}, {}));
        layoutGridColumns();
        setWindowTitle(windowTitle() + versionStringWithPrefix());
    });
}

void TfrmMainStradex::layoutGridColumns()
{
    const int columns = m_model->columnCount();
    for (int c = 0; c < columns; ++c) {
        m_grid->setColumnHidden(c, false);
        m_grid->setColumnWidth(c, 100);
    }
    if (columns >= StationField::Count) {
        m_grid->setColumnHidden(StationField::column(StationField::Images), true);
        m_grid->setColumnWidth(StationField::column(StationField::Location), 300);
        m_grid->setColumnWidth(StationField::column(StationField::AadtReport), 200);
    }
}

void TfrmMainStradex::FormClose()
{
    m_data->resultSet().close();
}

void TfrmMainStradex::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}
