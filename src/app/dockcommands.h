#pragma once

#include <QList>
#include <QString>

// The command dock's items and the rule that turns an item's caption into the command
// it runs.
namespace DockCommands {

enum Command : int
{
    HtmlExport = 0,
    XlsExport = 1,
    XmlExport = 2,
    Manual = 3,
    About = 4,
    Exit = 5,
    ShowGrid = 7,
    ShowMap = 8,
    Update = 9,
};

struct Item
{
    QString caption; // not shown; the item's command number
    QString hint;
    bool enabled = true;
    QString picture; // resource name of the item's picture
};

// The item that the dock starts with selected.
constexpr int StartItem = 5;
// The manual's path on the report server.
constexpr const char* ManualPath = "/zarnweb/Report/Stradex.pdf";

// The ten items, in dock order.
QList<Item> items();

// The command number of a caption, in decimal. A caption that is not a number raises
// an error naming it.
int commandNumber(const QString& caption);

} // namespace DockCommands
