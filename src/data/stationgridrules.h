#pragma once

#include <QString>

#include <functional>

// The station grid's rules: how a data cell looks, what a click on it does, and the
// hint and pointer over the grid. Cells are named by their field number (1 to 12).
namespace StationGridRules {

constexpr const char* TitleHint =
    "Click column header to sort data in ascending or descending order";
// The text colour of a station without photos: red, green and blue 128.
constexpr unsigned GreyTextRgb = 0x808080;
constexpr const char* ReportPath = "/zarnweb/Report/";

struct CellLook
{
    int icon = -1;            // index in the icon list, -1 for none
    bool textShifted = false; // the text starts right of a square as wide as the cell is high
    bool greyText = false;

    bool operator==(const CellLook&) const = default;
};

// The look of a data cell. hasPhotos runs the photo test; it is asked only for a
// station-number cell of a non-empty result.
CellLook cellLook(bool resultEmpty, int fieldNumber, const QString& text,
                  const std::function<bool()>& hasPhotos);

enum class CellAction
{
    None,
    OpenReport,
    RequestPhotos
};

// What a left click on a data cell does.
CellAction cellAction(bool resultEmpty, int fieldNumber, const QString& text);

// The report page of a report cell: the report server's base address, the report
// folder and the cell's text.
QString reportAddress(const QString& reportServer, const QString& reportName);

struct PointerLook
{
    bool hint = false; // the sort hint is shown
    bool hand = false; // the hand pointer is shown

    bool operator==(const PointerLook&) const = default;
};

// The hint and pointer for a grid cell in raw numbering: column 0 is the indicator
// column and data columns count display positions from 1; row 0 is the title row;
// -1 means that the pointer is over no cell.
PointerLook pointerLook(int column, int row);

} // namespace StationGridRules
