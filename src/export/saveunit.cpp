#include "export/saveunit.h"

void SaveThread::run()
{
    QMetaObject::invokeMethod(
        m_context, [this] { (m_methods.*m_method)(); }, Qt::BlockingQueuedConnection);
}
