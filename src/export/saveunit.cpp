#include "export/saveunit.h"

#include <functional>

namespace {

void runOnContextThread(QObject* context, const std::function<void()>& method)
{
    QMetaObject::invokeMethod(context, method, Qt::BlockingQueuedConnection);
}

} // namespace

void TSaveXMLThread::run()
{
    runOnContextThread(m_context, [this] { m_methods.SaveXML(); });
}

void TSaveXLSThread::run()
{
    runOnContextThread(m_context, [this] { m_methods.SaveXLS(); });
}

void TSaveHTMLThread::run()
{
    runOnContextThread(m_context, [this] { m_methods.SaveHTML(); });
}
