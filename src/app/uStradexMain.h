#pragma once

#include "export/exporthost.h"
#include "platform/config.h"

#include <QLabel>
#include <QList>
#include <QMainWindow>

#include <functional>
#include <memory>

class AddressOpener;
class AreaNavigator;
class CommandDock;
class ExportCommands;
class FilterBar;
class MapBrowser;
class MessageSink;
class PhotoPanel;
class SelectionExporter;
class StationMapWidget;
class UpdatePrompts;
class WebUpdate;
class QComboBox;
class QSplitter;
class QTabWidget;
class QTreeWidgetItem;
class SaveDialog;
class StationData;
class StationGrid;

// What the main window needs from outside: the configuration, the desktop seams and
// the path of the station database file.
struct MainWindowEnvironment
{
    Config config;
    MessageSink* messages = nullptr;
    AddressOpener* addresses = nullptr;
    SaveDialog* saveDialog = nullptr;
    QString databasePath;
    // The update component's questions to the user; the window's own dialogs when null.
    UpdatePrompts* updatePrompts = nullptr;
    // For tests: a map browser instead of the embedded WebEngine one, and a connection
    // check instead of the system's.
    MapBrowser* mapBrowser = nullptr;
    std::function<bool()> connectionCheck;
};

// The program's one main window: it owns the controls and the shared station data, lays
// them out, and its handlers hand the work to the logic classes.
class TfrmMainStradex final : public QMainWindow, public ExportHost
{
    Q_OBJECT

public:
    static constexpr const char* DesignCaption = "Korva Traffic Monitoring Station Database ";
    static constexpr int DesignClientWidth = 1251;
    static constexpr int DesignClientHeight = 721;
    static constexpr int TreePanelWidth = 215;
    static constexpr int HeaderPanelHeight = 93;
    static constexpr int StatusBarHeight = 19;
    static constexpr int GridTab = 0;
    static constexpr int MapTab = 1;

    explicit TfrmMainStradex(const MainWindowEnvironment& environment, QWidget* parent = nullptr);
    ~TfrmMainStradex() override;

    const MainWindowEnvironment& environment() const { return m_env; }
    StationData& stationData() const { return *m_data; }

    // The controls that the other views use.
    QComboBox* AADTCB() const { return m_AADTCB; }
    AreaNavigator* TV() const { return m_TV; }
    StationGrid* RzDBGrid1() const { return m_grid; }
    FilterBar* pnlSearch() const { return m_filterBar; }
    QTabWidget* AdvPageControl1() const { return m_pages; }
    // The " Station Map" tab's content: an empty container with a layout for the map.
    QWidget* mapContainer() const { return m_mapContainer; }
    CommandDock* AdvSmoothDock1() const { return m_dock; }
    QSplitter* Splitter1() const { return m_splitter1; }
    QSplitter* Splitter2() const { return m_splitter2; }

    // The current table: the table choice's text.
    QString currentTable() const;
    // The text of the navigator's selected node.
    QString selectedNodeText() const;

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text) override;

    // What the export routine needs of the window.
    ResultSet& resultSet() override;
    void setBusyCursor(bool busy) override;
    void focusCommandDock() override;
    SaveDialog& saveDialog() override;
    MessageSink& messages() override;
    QList<int> visibleGridColumns() const override;

    StationMapWidget* stationMap() const { return m_stationMap; }
    PhotoPanel* AdvSmoothPanel1() const { return m_photoPanel; }
    ExportCommands* exportCommands() const { return m_exportCommands; }

    // The query runner: reloads the result set from the statement; the grid's columns
    // are laid out and panel 0 shows the count. A rejected statement raises its error.
    void runQuery(const QString& statement);
    // Lays out the grid's columns as after every load.
    void layoutGridColumns();

    // Event handlers. Each raises its error to the caller; the connections show it.
    void TVChange(QTreeWidgetItem* node);
    void TVClick();
    void goSpBtnClick();
    void RzDBGrid1TitleClick(const QString& fieldName);
    void AdvSmoothDock1ItemClick(int index);
    void AdvSmoothDock1ItemHover(int index);

    // The station list and chart refresh, from the grid column nameColumn (0-based),
    // under the caption. The map view fills it; until then there is nothing to refresh.
    void FillStationList(int nameColumn, const QString& caption);
    // Loads the map host page into the browser; filled by the map view.
    void LoadMap();

    // Dock commands that the export, about and update parts fill.
    void tbtnHTMLClick();
    void tbnXLSClick();
    void tbtnXMLClick();
    void openAboutBox();
    void checkForUpdate();
    // The update component's status reports.
    void WebUpdate1Status(const QString& statusText, int statusCode, int errorCode);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildParts();
    QWidget* buildTreePanel();
    QWidget* buildGridPanel();
    void buildStatusBar();
    void connectHandlers();
    // Runs a handler; an error it raises is shown once and ends the handler.
    void guarded(const std::function<void()>& handler);

    void FormCreate();
    void FormShow();
    void FormClose();
    // Creation steps that other views fill: the photo viewer's labels and the map
    // provider choice.
    void clearPhotoViewerLabels();
    void selectMapProvider();

    QString composeArea(const QTreeWidgetItem* node);

    MainWindowEnvironment m_env;
    StationData* m_data;
    QComboBox* m_AADTCB = nullptr;
    AreaNavigator* m_TV = nullptr;
    StationGrid* m_grid = nullptr;
    FilterBar* m_filterBar = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_mapContainer = nullptr;
    CommandDock* m_dock = nullptr;
    QSplitter* m_splitter1 = nullptr;
    QSplitter* m_splitter2 = nullptr;
    QList<QLabel*> m_panels;
    QWidget* m_pnlGrid = nullptr;
    StationMapWidget* m_stationMap = nullptr;
    PhotoPanel* m_photoPanel = nullptr;
    std::unique_ptr<UpdatePrompts> m_ownPrompts;
    WebUpdate* WebUpdate1 = nullptr;
    std::unique_ptr<SelectionExporter> m_exporter;
    ExportCommands* m_exportCommands = nullptr;
    bool m_shown = false;
};
