#include "app/dockcommands.h"

#include "platform/stradexerror.h"

QList<DockCommands::Item> DockCommands::items()
{
    return {
        {"0", "Save as HTML report", true, "html"},
        {"1", "Save as XSL report", true, "xls"},
        {"2", "Save as XML report", true, "xml"},
        {"3", "Get help", true, "help"},
        {"4", "About Stradex", true, "about"},
        {"5", "Exit Stradex", true, "exit"},
        // A spacer between the file and help commands and the view commands.
        {"", "", false, "spacer"},
        {"7", "Show data grid", true, "grid"},
        {"8", "Show station map", true, "map"},
        {"9", "Check for update", true, "update"},
    };
}

int DockCommands::commandNumber(const QString& caption)
{
    bool ok = false;
    const int number = caption.toInt(&ok, 10);
    if (!ok)
        throw StradexError(QStringLiteral("'%1' is not a valid integer value").arg(caption));
    return number;
}
