#include "map/stationmapwidget.h"

#include "data/stationdata.h"
#include "map/aadtchartwidget.h"
#include "map/radiogroupbox.h"
#include "map/slidingtoolpanel.h"
#include "map/stationlistwidget.h"
#include "map/webenginemapbrowser.h"
#include "platform/messagesink.h"

#include <QVBoxLayout>

StationMapWidget::StationMapWidget(const StationMapEnvironment& environment, QWidget* parent)
    : QWidget(parent)
    , m_env(environment)
    , m_toolPanelTab(new SlidingToolPanel(QStringLiteral("Map Tools")))
    , m_providers(new RadioGroupBox(QStringLiteral("Map Provider"),
                                    {ProviderItems[0], ProviderItems[1], ProviderItems[2]}, 3))
    , m_stationTV(new StationListWidget)
    , m_chart(new AadtChartWidget)
{
    setObjectName(QStringLiteral("mapsheetContent"));
    setAccessibleName(QStringLiteral("Station map"));

    if (m_env.browser) {
        m_browser = m_env.browser;
        m_browserWidget = new QWidget;
        m_browserWidget->setObjectName(QStringLiteral("WebBrowser1"));
    } else {
        auto* web = new WebEngineMapBrowser(
            QUrl(m_env.config.reportServer + QStringLiteral("/zarnweb/Report/")));
        m_browser = web;
        m_browserWidget = web;
    }

    m_toolPanelTab->setObjectName(QStringLiteral("AdvToolPanelTab1"));
    m_toolPanelTab->setAccessibleName(QStringLiteral("Map tools"));
    m_toolPanelTab->panel()->setObjectName(QStringLiteral("AdvToolPanel2"));
    m_toolPanelTab->setPanelWidths(225, 250);
    m_toolPanelTab->setSlideDuration(100);
    m_toolPanelTab->setMainWidget(m_browserWidget);

    m_providers->setObjectName(QStringLiteral("AdvOfficeRadioGroup1"));
    m_providers->setFixedHeight(37);
    m_providers->setItemIndex(0);
    m_chart->setFixedHeight(257);
    m_toolPanelTab->toolLayout()->addWidget(m_providers);
    m_toolPanelTab->toolLayout()->addWidget(m_stationTV, 1);
    m_toolPanelTab->toolLayout()->addWidget(m_chart);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolPanelTab);

    m_map =
        std::make_unique<ZarnMap>(m_env.config, *m_browser, *m_env.messages, m_env.connectionCheck);
    auto showMarker = [this](const StationMarker& station) { m_map->ShowStationMarker(station); };
    m_rules = std::make_unique<StationListController>(
        m_env.data->resultSet(), *m_stationTV, *m_chart, showMarker,
        m_env.mapTabShowing ? m_env.mapTabShowing
                            : std::function<bool()>([this] { return isVisible(); }),
        m_env.gridColumn);

    connect(m_stationTV, &StationListWidget::nodeClicked, this, &StationMapWidget::stationTVClick);
    connect(m_chart, &AadtChartWidget::clicked, this, &StationMapWidget::stationTVClick);
    connect(m_stationTV, &StationListWidget::pointerMoved, this, [this](int node) {
        runGuarded(*m_env.messages, [&] { m_rules->stationTVMouseMove(node); });
    });
    connect(m_chart, &AadtChartWidget::pointerMoved, this, [this](int bar) {
        runGuarded(*m_env.messages, [&] { m_rules->Chart1MouseMove(bar); });
    });
    connect(m_providers, &RadioGroupBox::clicked, this,
            &StationMapWidget::AdvOfficeRadioGroup1Click);
}

StationMapWidget::~StationMapWidget() = default;

void StationMapWidget::LoadMap()
{
    m_map->LoadMap();
}

void StationMapWidget::FillStationList(int nameColumn, const QString& caption)
{
    m_rules->FillStationList(nameColumn, caption);
}

void StationMapWidget::setProviderChoice()
{
    for (int i = 0; i < m_providers->count(); ++i) {
        if (m_providers->itemText(i).compare(m_map->providerName(), Qt::CaseInsensitive) == 0) {
            m_providers->setItemIndex(i);
            break;
        }
    }
    m_providers->setItemEnabled(1, false);
    m_providers->setItemEnabled(2, false);
}

void StationMapWidget::stationTVClick()
{
    runGuarded(*m_env.messages, [this] { m_rules->stationTVClick(); });
}

void StationMapWidget::AdvOfficeRadioGroup1Click()
{
    runGuarded(*m_env.messages,
               [this] { m_map->AdvOfficeRadioGroup1Click(m_providers->selectedText()); });
}
