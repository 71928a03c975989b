#pragma once

#include "photos/photoviewer.h"
#include "photos/roundedpanel.h"

#include <QPointer>

class AddressOpener;
class MessageSink;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class WebImage;

// The floating photo viewer over the main window (AdvSmoothPanel1): shows one station's
// photos one at a time with Previous, Next, Full View and close, follows each download
// with its progress bar, and is dragged by its surface. Its rules live in PhotoViewer.
class PhotoPanel final : public RoundedPanel
{
    Q_OBJECT

public:
    static constexpr int DesignLeft = 324;
    static constexpr int DesignTop = 131;
    static constexpr int DesignWidth = 657;
    static constexpr int DesignHeight = 507;

    // The panel is made hidden, at its design place, as a child of the main window.
    PhotoPanel(const QString& photoServer, MessageSink& messages, AddressOpener& addresses,
               QWidget* mainWindow);
    ~PhotoPanel() override;

    // The widgets whose geometry centres the panel when it opens: the station grid (its
    // width) and the grid's containing panel (its left edge, in the main window).
    void setPlacementWidgets(const QWidget* grid, const QWidget* gridPanel);

    // Empties the station and count labels of their design texts.
    void clearLabels();

    const PhotoViewer& viewer() const { return m_viewer; }
    WebImage* webImage() const { return m_WebImage1; }

public slots:
    // The grid's photo request: the station number and its image-names text.
    void openPhotos(const QString& stationNumber, const QString& imageNames);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void RzBitBtn1Click();
    void rzBtnNextClick();
    void RzBitBtn2Click();
    void WebImage1DblClick();
    void WebImage1DownLoadProgress(qint64 received, qint64 total);
    void WebImage1DownLoadComplete();
    void AdvSmoothPanel1MouseDown(const QPoint& pointer);
    void AdvSmoothPanel1MouseMove(const QPoint& pointer);
    void AdvSmoothPanel1MouseUp();

    void showCaptions();
    void showProgress();
    int placedLeft() const;

    QLabel* m_Label6;
    QLabel* m_Label5;
    QPushButton* m_RzBitBtn2;
    QFrame* m_Panel1;
    WebImage* m_WebImage1;
    QPushButton* m_RzBitBtn1;
    QPushButton* m_rzBtnNext;
    QProgressBar* m_pb;
    QPushButton* m_fullviewBtn;
    PhotoViewer m_viewer;
    QPointer<const QWidget> m_grid;
    QPointer<const QWidget> m_gridPanel;
};
