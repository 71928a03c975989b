#include "data/stationgridrules.h"

#include "data/stationfields.h"

namespace StationGridRules {

namespace {
// Icon list indices; the list itself is a widget-side resource.
constexpr int PhotoPresentIcon = 5;
constexpr int NoPhotosIcon = 6;
constexpr int ReportIcon = 7;
} // namespace

CellLook cellLook(bool resultEmpty, int fieldNumber, const QString& text,
                  const std::function<bool()>& hasPhotos)
{
    if (resultEmpty)
        return {};
    if (fieldNumber == StationField::AadtReport && !text.isEmpty())
        return {ReportIcon, true, false};
    if (fieldNumber == StationField::StationNumber) {
        if (hasPhotos())
            return {PhotoPresentIcon, true, false};
        return {NoPhotosIcon, true, true};
    }
    return {};
}

CellAction cellAction(bool resultEmpty, int fieldNumber, const QString& text)
{
    if (resultEmpty)
        return CellAction::None;
    if (fieldNumber == StationField::AadtReport && !text.isEmpty())
        return CellAction::OpenReport;
    if (fieldNumber == StationField::StationNumber)
        return CellAction::RequestPhotos;
    return CellAction::None;
}

QString reportAddress(const QString& reportServer, const QString& reportName)
{
    return reportServer + QLatin1String(ReportPath) + reportName;
}

PointerLook pointerLook(int column, int row)
{
    return {row == 0, column == 1 || column == 6};
}

} // namespace StationGridRules
