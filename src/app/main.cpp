// Stradex: browse the traffic-count stations of the road agency.

#include "app/fonts.h"
#include "app/provisioning.h"
#include "app/uSplash.h"
#include "app/uStradexMain.h"
#include "dbresource.h"
#include "platform/qtseams.h"
#include "platform/stradexerror.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QThread>

#include <memory>

int main(int argc, char** argv)
{
    Q_UNUSED(argc);
    // The program takes no arguments; only the program name reaches Qt.
    int qtArgc = 1;
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(qtArgc, argv);
    registerProgramFonts();

    // 1. The splash, on screen before any slow work begins.
    auto splash = std::make_unique<TfrmSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    // 2-7. A fresh copy of the embedded station database in the data folder.
    const QString localData = DataFolder::localDataFolder();
    HeldDataFile heldDatabase;
    try {
        heldDatabase = provisionStationDatabase(stationDatabaseResource(), localData);
    } catch (const StradexError& e) {
        QMessageBox::critical(splash.get(), QStringLiteral("Stradex"), e.message());
        return 1;
    }

    // 8-10. The application object and the main window, created hidden.
    QApplication::setApplicationName(QStringLiteral("Korva Zarn Station Database 2008 "));
    QtMessageSink messages;
    DesktopAddressOpener addresses;
    QtSaveDialog saveDialog;
    std::unique_ptr<TfrmMainStradex> mainWindow;
    QString startError;
    try {
        MainWindowEnvironment env{Config::defaults(), &messages, &addresses, &saveDialog,
                                  DataFolder::stationDatabaseFileFor(localData)};
        mainWindow = std::make_unique<TfrmMainStradex>(env);
        messages.setParent(mainWindow.get());
    } catch (const std::exception& e) {
        startError = QString::fromLocal8Bit(e.what());
    }

    // 11. Hold the splash, then hand over to the message loop.
    QApplication::processEvents();
    QThread::msleep(3000);
    splash.reset();
    int rc = 0;
    if (mainWindow) {
        // Maximised also where no window manager does it (a bare virtual display).
        if (const QScreen* screen = mainWindow->screen())
            mainWindow->setGeometry(screen->availableGeometry());
        mainWindow->showMaximized();
        rc = QApplication::exec();
    }
    if (!startError.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Stradex"), startError);
        rc = 1;
    }
    return rc;
}
