#pragma once

#include "export/exporthost.h"
#include "export/saveunit.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QThread>

class SelectionExporter;

// The three export commands. Each starts the export thread of its kind, which hands
// the kind's save method back to the user-interface thread; there the export runs.
// Requests that arrive while an export runs (inside its dialog's event loop) wait and
// run after it, in the order in which they arrived.
class ExportCommands final : public QObject, public SaveMethods
{
    Q_OBJECT

public:
    explicit ExportCommands(SelectionExporter& exporter, QObject* parent = nullptr);
    ~ExportCommands() override;

    void tbtnXMLClick();
    void tbnXLSClick();
    void tbtnHTMLClick();
    // The command dock's items 0, 1 and 2: HTML report, XLS sheet, XML packet. Returns
    // false for any other item.
    bool dockItemClick(int item);

    void SaveXML() override;
    void SaveXLS() override;
    void SaveHTML() override;

    // The export thread most recently started for the kind, while it exists; a finished
    // thread deletes itself.
    QThread* thread(ExportKind kind) const { return m_threads[int(kind)]; }

signals:
    // An export of the kind has ended, whether it wrote a file or not.
    void exportFinished(ExportKind kind, bool saved);

private:
    void start(ExportKind kind, QThread* thread);
    void save(ExportKind kind);

    SelectionExporter& m_exporter;
    QPointer<QThread> m_threads[3];
    QList<QPointer<QThread>> m_live; // every thread not yet freed
    bool m_running = false;
    QQueue<ExportKind> m_waiting;
};
