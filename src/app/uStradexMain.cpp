#include "app/uStradexMain.h"

#include "app/commanddock.h"
#include "app/dockcommands.h"
#include "app/dockitem.h"
#include "app/qtupdateprompts.h"
#include "app/uStradexABOUT.h"
#include "app/updatecheck.h"
#include "app/version.h"
#include "app/webupdate.h"
#include "data/areanavigator.h"
#include "data/areatree.h"
#include "data/filterbar.h"
#include "data/resultsetmodel.h"
#include "data/stationdata.h"
#include "data/stationfields.h"
#include "data/stationgrid.h"
#include "export/exportcommands.h"
#include "export/htmlreportwriter.h"
#include "export/selectionexporter.h"
#include "map/stationmapwidget.h"
#include "photos/photopanel.h"
#include "platform/addressopener.h"
#include "platform/imagelist.h"
#include "platform/messagesink.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

static void initDockResource()
{
    Q_INIT_RESOURCE(dock);
}

namespace {

QPixmap logoPicture()
{
    QImage image(213, 45, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/app/logo.svg"));
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

TfrmMainStradex::TfrmMainStradex(const MainWindowEnvironment& environment, QWidget* parent)
    : QMainWindow(parent)
    , m_env(environment)
    , m_data(new StationData(this))
{
    setObjectName(QStringLiteral("frmMainStradex"));
    setWindowTitle(QString::fromLatin1(DesignCaption));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    buildLayout();
    buildParts();
    setMinimumSize(1050, 700);
    resize(DesignClientWidth, DesignClientHeight);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    connectHandlers();
    FormCreate();
}

TfrmMainStradex::~TfrmMainStradex()
{
    // Export threads still waiting are released before the exporter goes.
    delete m_exportCommands;
    m_exportCommands = nullptr;
}

// The map, the photo viewer, the exports and the update check.
void TfrmMainStradex::buildParts()
{
    StationMapEnvironment map;
    map.config = m_env.config;
    map.messages = m_env.messages;
    map.data = m_data;
    map.mapTabShowing = [this] { return m_pages->currentIndex() == MapTab; };
    map.browser = m_env.mapBrowser;
    map.connectionCheck = m_env.connectionCheck;
    m_stationMap = new StationMapWidget(map);
    m_mapContainer->layout()->addWidget(m_stationMap);

    m_photoPanel = new PhotoPanel(m_env.config.photoServer, *m_env.messages, *m_env.addresses, this);
    m_photoPanel->setPlacementWidgets(m_grid, m_pnlGrid);

    m_exporter = std::make_unique<SelectionExporter>(*this);
    m_exporter->setHtmlReportWriter([this](const QString& path) {
        HtmlReportWriter::forProgram(m_env.config, currentTable(), m_data->resultSet().recordCount())
            .WriteHtmlReport(path, m_data->stationQuery());
    });
    m_exportCommands = new ExportCommands(*m_exporter, this);

    UpdatePrompts* prompts = m_env.updatePrompts;
    if (!prompts) {
        m_ownPrompts = std::make_unique<QtUpdatePrompts>(this);
        prompts = m_ownPrompts.get();
    }
    WebUpdate1 = new WebUpdate(*prompts, this);
    WebUpdate1->setSettings(updateCheckSettings(m_env.config));
}

void TfrmMainStradex::guarded(const std::function<void()>& handler)
{
    runGuarded(*m_env.messages, handler);
}

// ---------------------------------------------------------------------------------------
// Layout

void TfrmMainStradex::buildLayout()
{
    m_splitter1 = new QSplitter(Qt::Horizontal);
    m_splitter1->setObjectName(QStringLiteral("Splitter1"));
    m_splitter1->setAccessibleName(QStringLiteral("Area panel splitter"));
    m_splitter1->setHandleWidth(4);
    m_splitter1->setChildrenCollapsible(false);
    m_splitter1->addWidget(buildTreePanel());
    m_splitter1->addWidget(buildGridPanel());
    m_splitter1->setStretchFactor(0, 0);
    m_splitter1->setStretchFactor(1, 1);
    m_splitter1->setSizes({TreePanelWidth, DesignClientWidth - TreePanelWidth - 4});
    setCentralWidget(m_splitter1);
    buildStatusBar();
}

QWidget* TfrmMainStradex::buildTreePanel()
{
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("PnlTreeview"));
    panel->setAccessibleName(QStringLiteral("Area panel"));
    panel->setMinimumWidth(120);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(2);

    auto* logo = new QLabel;
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setAccessibleName(QStringLiteral("Stradex"));
    logo->setPixmap(logoPicture());
    logo->setAlignment(Qt::AlignCenter);
    logo->setFixedHeight(45);
    column->addWidget(logo);

    m_AADTCB = new QComboBox;
    m_AADTCB->setObjectName(QStringLiteral("AADTCB"));
    m_AADTCB->setAccessibleName(QStringLiteral("Table choice"));
    column->addWidget(m_AADTCB);

    m_TV = new AreaNavigator;
    column->addWidget(m_TV, 1);
    return panel;
}

QWidget* TfrmMainStradex::buildGridPanel()
{
    auto* panel = new QWidget;
    m_pnlGrid = panel;
    panel->setObjectName(QStringLiteral("pnlGrid"));
    panel->setAccessibleName(QStringLiteral("Station views"));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_filterBar = new FilterBar(*m_data, *m_env.messages, [this] { return currentTable(); });
    column->addWidget(m_filterBar);

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("AdvPageControl1"));
    m_pages->setAccessibleName(QStringLiteral("Views"));
    m_pages->setIconSize(QSize(ImageList::IconSize, ImageList::IconSize));

    auto* datasheet = new QWidget;
    datasheet->setObjectName(QStringLiteral("datasheet"));
    datasheet->setAccessibleName(QStringLiteral("Data Grid"));
    auto* gridLayout = new QVBoxLayout(datasheet);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    m_grid = new StationGrid(*m_data, [this] { return currentTable(); },
                             {m_env.addresses, m_env.config.reportServer, m_env.messages});
    gridLayout->addWidget(m_grid);
    m_pages->addTab(datasheet, ImageList::icon(ImageList::Grid), QStringLiteral(" Data Grid"));

    auto* mapsheet = new QWidget;
    mapsheet->setObjectName(QStringLiteral("mapsheet"));
    mapsheet->setAccessibleName(QStringLiteral("Station Map"));
    auto* mapLayout = new QVBoxLayout(mapsheet);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    m_mapContainer = new QWidget;
    m_mapContainer->setObjectName(QStringLiteral("mapContainer"));
    m_mapContainer->setAccessibleName(QStringLiteral("Station map"));
    auto* containerLayout = new QHBoxLayout(m_mapContainer);
    containerLayout->setContentsMargins(0, 0, 0, 0);
    containerLayout->setSpacing(0);
    mapLayout->addWidget(m_mapContainer);
    m_pages->addTab(mapsheet, ImageList::icon(ImageList::Map), QStringLiteral(" Station Map"));
    m_pages->setCurrentIndex(GridTab);

    auto* header = new QWidget;
    header->setObjectName(QStringLiteral("pnlHeader"));
    header->setAccessibleName(QStringLiteral("Commands"));
    header->setMinimumHeight(CommandDock::ItemSize + 12);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    m_dock = new CommandDock;
    initDockResource();
    for (const DockCommands::Item& item : DockCommands::items())
        m_dock->addItem(item.caption, item.hint, item.enabled,
                        QStringLiteral(":/dock/%1.svg").arg(item.picture));
    m_dock->setSelectedIndex(DockCommands::StartItem);
    m_dock->hide(); // shown with the window
    headerLayout->addWidget(m_dock);

    m_splitter2 = new QSplitter(Qt::Vertical);
    m_splitter2->setObjectName(QStringLiteral("Splitter2"));
    m_splitter2->setAccessibleName(QStringLiteral("Command dock splitter"));
    m_splitter2->setHandleWidth(3);
    m_splitter2->setChildrenCollapsible(false);
    m_splitter2->addWidget(m_pages);
    m_splitter2->addWidget(header);
    m_splitter2->setStretchFactor(0, 1);
    m_splitter2->setStretchFactor(1, 0);
    m_splitter2->setSizes({DesignClientHeight - HeaderPanelHeight, HeaderPanelHeight});
    column->addWidget(m_splitter2, 1);
    return panel;
}

void TfrmMainStradex::buildStatusBar()
{
    const int widths[] = {160, 350, 200, 350};
    const char* texts[] = {"Number of records:", "Query Time:", "Tool Tip Hint:", "Save Status:"};
    auto* bar = new QStatusBar;
    bar->setObjectName(QStringLiteral("sbMain"));
    bar->setAccessibleName(QStringLiteral("Status bar"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(StatusBarHeight);
    bar->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(QString::fromLatin1(texts[i]));
        panel->setObjectName(QStringLiteral("sbMainPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAccessibleName(QStringLiteral("Status panel %1").arg(i));
        bar->addWidget(panel);
        m_panels << panel;
    }
    setStatusBar(bar);
}

void TfrmMainStradex::connectHandlers()
{
    connect(m_data, &StationData::queryRan, this, [this](int count) {
        setPanelText(0, QueryComposer::stationCountText(count));
        layoutGridColumns();
    });
    connect(m_TV, &AreaNavigator::nodeChanged, this,
            [this](QTreeWidgetItem* node) { guarded([&] { TVChange(node); }); });
    connect(m_TV, &AreaNavigator::navigatorClicked, this,
            [this] { guarded([this] { TVClick(); }); });
    // Only the user's choice of a table counts as a change.
    connect(m_AADTCB, &QComboBox::activated, this, [this] { guarded([this] { TVClick(); }); });
    connect(m_filterBar->goSpBtn(), &QToolButton::clicked, this,
            [this] { guarded([this] { goSpBtnClick(); }); });
    connect(m_grid, &StationGrid::titleClicked, this,
            [this](const QString& field) { guarded([&] { RzDBGrid1TitleClick(field); }); });
    connect(m_dock, &CommandDock::itemClicked, this,
            [this](int index) { guarded([&] { AdvSmoothDock1ItemClick(index); }); });
    connect(m_dock, &CommandDock::itemHovered, this, &TfrmMainStradex::AdvSmoothDock1ItemHover);
    connect(m_grid, &StationGrid::photoRequested, m_photoPanel, &PhotoPanel::openPhotos);
    connect(WebUpdate1, &WebUpdate::statusReported, this, &TfrmMainStradex::WebUpdate1Status);
}

// ---------------------------------------------------------------------------------------
// Shared state

QString TfrmMainStradex::currentTable() const
{
    return m_AADTCB->currentText();
}

QString TfrmMainStradex::selectedNodeText() const
{
    return m_TV->selectedText();
}

QString TfrmMainStradex::panelText(int panel) const
{
    return m_panels.at(panel)->text();
}

void TfrmMainStradex::setPanelText(int panel, const QString& text)
{
    m_panels.at(panel)->setText(text);
}

void TfrmMainStradex::runQuery(const QString& statement)
{
    m_data->runQuery(statement);
}

void TfrmMainStradex::layoutGridColumns()
{
    m_grid->layoutColumns();
}

// ---------------------------------------------------------------------------------------
// Creation, showing and closing

void TfrmMainStradex::FormCreate()
{
    guarded([this] {
        // 1. The station database.
        m_data->open(m_env.databasePath);
        // 2. The table choice, on its first table.
        m_AADTCB->addItems(m_data->tableCatalog());
        m_AADTCB->setCurrentIndex(0);
        // 3. Shading of every other grid row.
        m_grid->setRowShading(true);
        // 4. The area navigator, from the current table.
        m_TV->build(AreaTree::build(*m_data, currentTable()));
        // 5. Selecting the root loads all counties; an error here ends the creation.
        QTreeWidgetItem* root = m_TV->root();
        {
            const QSignalBlocker blocker(m_TV);
            m_TV->setCurrentItem(root);
        }
        TVChange(root);
        // 6. The filter bar's columns: the field names at the grid positions it offers.
        QStringList fields;
        for (int position : FilterBarState::ColumnPositions)
            fields << m_grid->resultModel()->headerData(position - 1, Qt::Horizontal).toString();
        m_filterBar->fillColumns(fields);
        // 7. The photo viewer's labels.
        clearPhotoViewerLabels();
        // 8. The map provider choice.
        selectMapProvider();
        // 9. The grid's column layout.
        layoutGridColumns();
        // 10. The version in the caption.
        setWindowTitle(windowTitle() + versionStringWithPrefix());
    });
}

void TfrmMainStradex::clearPhotoViewerLabels()
{
    m_photoPanel->clearLabels();
}

void TfrmMainStradex::selectMapProvider()
{
    m_stationMap->setProviderChoice();
}

void TfrmMainStradex::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TfrmMainStradex::FormShow()
{
    guarded([this] {
        LoadMap();
        if (m_dock->isHidden())
            m_dock->show();
    });
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

// ---------------------------------------------------------------------------------------
// Area navigator, filter bar and grid

QString TfrmMainStradex::composeArea(const QTreeWidgetItem* node)
{
    const AreaKind kind = AreaNavigator::kindOf(node);
    const QString municipality = kind == AreaKind::Municipality ? node->text(0) : QString();
    return m_data->composer().composeArea(currentTable(), kind, AreaNavigator::countyOf(node),
                                          municipality);
}

void TfrmMainStradex::TVChange(QTreeWidgetItem* node)
{
    if (!node)
        return;
    runQuery(composeArea(node));
    m_filterBar->reset();
    FillStationList(StationField::column(StationField::StationNumber), node->text(0));
}

void TfrmMainStradex::TVClick()
{
    m_filterBar->reset();
    QTreeWidgetItem* node = m_TV->currentItem();
    if (!node)
        return;
    runQuery(composeArea(node));
    FillStationList(StationField::column(StationField::StationNumber), node->text(0));
}

void TfrmMainStradex::goSpBtnClick()
{
    const FilterBarState& filter = m_filterBar->state();
    runQuery(m_data->composer().composeFilter(selectedNodeText(), filter.columnText(),
                                              filter.operatorText(), filter.valueText()));
    FillStationList(StationField::column(StationField::StationNumber),
                    QStringLiteral(" query result"));
}

void TfrmMainStradex::RzDBGrid1TitleClick(const QString& fieldName)
{
    runQuery(m_data->composer().composeTitleSort(fieldName));
}

// ---------------------------------------------------------------------------------------
// Command dock

void TfrmMainStradex::AdvSmoothDock1ItemClick(int index)
{
    switch (DockCommands::commandNumber(m_dock->item(index)->caption())) {
    case DockCommands::HtmlExport:
        tbtnHTMLClick();
        break;
    case DockCommands::XlsExport:
        tbnXLSClick();
        break;
    case DockCommands::XmlExport:
        tbtnXMLClick();
        break;
    case DockCommands::Manual:
        m_env.addresses->open(m_env.config.reportServer + QLatin1String(DockCommands::ManualPath));
        break;
    case DockCommands::About:
        openAboutBox();
        break;
    case DockCommands::Exit:
        close();
        break;
    case DockCommands::ShowGrid:
        m_pages->setCurrentIndex(GridTab);
        break;
    case DockCommands::ShowMap:
        m_pages->setCurrentIndex(MapTab);
        break;
    case DockCommands::Update:
        checkForUpdate();
        break;
    default:
        break;
    }
}

void TfrmMainStradex::AdvSmoothDock1ItemHover(int index)
{
    setPanelText(2, m_dock->item(index)->hint());
}

// ---------------------------------------------------------------------------------------
// Map, exports, about box and update check

void TfrmMainStradex::FillStationList(int nameColumn, const QString& caption)
{
    m_stationMap->FillStationList(nameColumn, caption);
}

void TfrmMainStradex::LoadMap()
{
    m_stationMap->LoadMap();
}

void TfrmMainStradex::tbtnHTMLClick()
{
    m_exportCommands->tbtnHTMLClick();
}

void TfrmMainStradex::tbnXLSClick()
{
    m_exportCommands->tbnXLSClick();
}

void TfrmMainStradex::tbtnXMLClick()
{
    m_exportCommands->tbtnXMLClick();
}

void TfrmMainStradex::openAboutBox()
{
    TAboutBox::showModal(m_env.config, *m_env.addresses, this);
}

void TfrmMainStradex::checkForUpdate()
{
    WebUpdate1->doUpdate();
}

void TfrmMainStradex::WebUpdate1Status(const QString& statusText, int statusCode, int errorCode)
{
    Q_UNUSED(statusText);
    Q_UNUSED(errorCode);
    showUpdateStatus(*m_env.messages, statusCode);
}

// ---------------------------------------------------------------------------------------
// What the export routine needs

ResultSet& TfrmMainStradex::resultSet()
{
    return m_data->resultSet();
}

void TfrmMainStradex::setBusyCursor(bool busy)
{
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void TfrmMainStradex::focusCommandDock()
{
    m_dock->setFocus();
}

SaveDialog& TfrmMainStradex::saveDialog()
{
    return *m_env.saveDialog;
}

MessageSink& TfrmMainStradex::messages()
{
    return *m_env.messages;
}

QList<int> TfrmMainStradex::visibleGridColumns() const
{
    const QHeaderView* header = m_grid->horizontalHeader();
    QList<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns << logical;
    }
    return columns;
}
