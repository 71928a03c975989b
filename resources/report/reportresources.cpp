#include "reportresources.h"

#include <QtGlobal>

void registerReportResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(report_assets);
        return true;
    }();
    Q_UNUSED(registered);
}
