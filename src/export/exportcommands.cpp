#include "export/exportcommands.h"

#include "export/selectionexporter.h"

#include <QCoreApplication>

ExportCommands::ExportCommands(SelectionExporter& exporter, QObject* parent)
    : QObject(parent)
    , m_exporter(exporter)
{
}

ExportCommands::~ExportCommands()
{
    // A thread may still be waiting for its call on this object: dropping the call
    // releases it. The loop covers a thread that posts its call only now.
    for (const QPointer<QThread>& t : std::as_const(m_live)) {
        if (!t)
            continue;
        while (!t->wait(10))
            QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
        delete t.data();
    }
}

void ExportCommands::start(ExportKind kind, QThread* thread)
{
    // Finished threads are freed; the reference only ever names the latest one.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_live.removeAll(nullptr);
    m_live << thread;
    m_threads[int(kind)] = thread;
    thread->start();
}

void ExportCommands::tbtnXMLClick()
{
    start(ExportKind::Xml, new TSaveXMLThread(this, *this));
}

void ExportCommands::tbnXLSClick()
{
    start(ExportKind::Xls, new TSaveXLSThread(this, *this));
}

void ExportCommands::tbtnHTMLClick()
{
    start(ExportKind::Html, new TSaveHTMLThread(this, *this));
}

bool ExportCommands::dockItemClick(int item)
{
    switch (item) {
    case 0:
        tbtnHTMLClick();
        return true;
    case 1:
        tbnXLSClick();
        return true;
    case 2:
        tbtnXMLClick();
        return true;
    default:
        return false;
    }
}

void ExportCommands::SaveXML()
{
    save(ExportKind::Xml);
}

void ExportCommands::SaveXLS()
{
    save(ExportKind::Xls);
}

void ExportCommands::SaveHTML()
{
    save(ExportKind::Html);
}

void ExportCommands::save(ExportKind kind)
{
    if (m_running) {
        m_waiting.enqueue(kind);
    } else {
        m_running = true;
        m_waiting.enqueue(kind);
        while (!m_waiting.isEmpty()) {
            const ExportKind next = m_waiting.dequeue();
            bool saved = false;
            try {
                saved = m_exporter.ExportSelection(next);
            } catch (...) {
                m_running = false;
                m_waiting.clear();
                throw;
            }
            emit exportFinished(next, saved);
        }
        m_running = false;
    }
    // The thread's body ends as soon as this returns; this only marks it as done.
    if (QThread* t = m_threads[int(kind)])
        t->requestInterruption();
}
