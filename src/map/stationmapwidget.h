#pragma once

#include "map/stationlistcontroller.h"
#include "map/zarnmap.h"
#include "platform/config.h"

#include <QWidget>

#include <functional>
#include <memory>

class AadtChartWidget;
class MapBrowser;
class MessageSink;
class RadioGroupBox;
class SlidingToolPanel;
class StationData;
class StationListWidget;

// What the " Station Map" tab needs from the main window.
struct StationMapEnvironment
{
    Config config;
    MessageSink* messages = nullptr;
    StationData* data = nullptr;
    // Whether the main window shows the map tab.
    std::function<bool()> mapTabShowing;
    // The grid column that shows a field number; by default field k is column k - 1.
    std::function<int(int fieldNumber)> gridColumn;
    // For tests: a browser to use instead of the program's WebEngine browser, and a
    // connection check instead of the system's.
    MapBrowser* browser = nullptr;
    ZarnMap::ConnectionCheck connectionCheck;
};

// The content of the " Station Map" tab: the map browser and, at the right edge, the
// sliding map tools panel with the provider choice, the station list and the AADT chart.
class StationMapWidget final : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char* ProviderItems[] = {"Yahoo", "Microsoft", "Google"};

    explicit StationMapWidget(const StationMapEnvironment& environment, QWidget* parent = nullptr);
    ~StationMapWidget() override;

    // Loads the map host page (the main window's FormShow).
    void LoadMap();
    // Rebuilds the station list and the chart while the map tab shows.
    void FillStationList(int nameColumn, const QString& caption);
    // Chooses the provider item that names the current provider and disables the
    // others for the whole run (a step of the main window's FormCreate).
    void setProviderChoice();

    ZarnMap& map() { return *m_map; }
    StationListController& stationList() { return *m_rules; }
    QWidget* WebBrowser1() const { return m_browserWidget; }
    SlidingToolPanel* AdvToolPanelTab1() const { return m_toolPanelTab; }
    RadioGroupBox* AdvOfficeRadioGroup1() const { return m_providers; }
    StationListWidget* stationTV() const { return m_stationTV; }
    AadtChartWidget* Chart1() const { return m_chart; }

private:
    void stationTVClick();
    void AdvOfficeRadioGroup1Click();

    StationMapEnvironment m_env;
    QWidget* m_browserWidget = nullptr;
    MapBrowser* m_browser = nullptr;
    SlidingToolPanel* m_toolPanelTab;
    RadioGroupBox* m_providers;
    StationListWidget* m_stationTV;
    AadtChartWidget* m_chart;
    std::unique_ptr<ZarnMap> m_map;
    std::unique_ptr<StationListController> m_rules;
};
