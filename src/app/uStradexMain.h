#pragma once

#include "platform/config.h"

#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QTableView>

class AddressOpener;
class MessageSink;
class SaveDialog;
class ResultSetModel;
class StationData;

// What the main window needs from outside: the configuration, the desktop seams and
// the path of the station database file.
struct MainWindowEnvironment
{
    Config config;
    MessageSink* messages = nullptr;
    AddressOpener* addresses = nullptr;
    SaveDialog* saveDialog = nullptr;
    QString databasePath;
};

// The program's one main window: it owns the controls and the shared station data,
// and its handlers hand the work to the logic classes.
class TfrmMainStradex final : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr const char* DesignCaption = "Korva Traffic Monitoring Station Database ";

    explicit TfrmMainStradex(const MainWindowEnvironment& environment, QWidget* parent = nullptr);
    ~TfrmMainStradex() override;

    StationData& stationData() const { return *m_data; }
    QComboBox* AADTCB() const { return m_AADTCB; }
    QTableView* RzDBGrid1() const { return m_grid; }
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);

    // Lays out the grid's columns as after every load.
    void layoutGridColumns();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void buildLayout();

    MainWindowEnvironment m_env;
    StationData* m_data;
    ResultSetModel* m_model;
    QComboBox* m_AADTCB;
    QTableView* m_grid;
    QList<QLabel*> m_panels;
};
