#pragma once

#include <QList>
#include <QString>

class MessageSink;
class ResultSet;
class SaveDialog;

// The three kinds of export, numbered as the program refers to them.
enum class ExportKind : int
{
    Xml = 0,
    Xls = 1,
    Html = 2
};

// What the export routine needs of the main window.
class ExportHost
{
public:
    virtual ~ExportHost() = default;

    // The result set behind the grid: the rows to export, in the grid's order.
    virtual ResultSet& resultSet() = 0;
    // Status panels: 1 shows the duration of the last export, 3 its state.
    virtual void setPanelText(int panel, const QString& text) = 0;
    // The busy (hourglass) cursor over the window while true, the default cursor
    // otherwise. It is switched on before the save dialog opens; the dialog, a window of
    // its own, keeps the ordinary pointer.
    virtual void setBusyCursor(bool busy) = 0;
    // Gives the keyboard focus to the command dock.
    virtual void focusCommandDock() = 0;
    virtual SaveDialog& saveDialog() = 0;
    virtual MessageSink& messages() = 0;
    // The result-set columns of the grid's visible columns, in their display order.
    virtual QList<int> visibleGridColumns() const = 0;
};
