#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

class AddressOpener;
class MessageSink;
class PhotoLoader;

// The photo viewer's state and rules: which photos of which station it steps through,
// what its labels and progress bar read, and how the panel is placed and dragged.
class PhotoViewer final
{
public:
    static constexpr int DesignProgressPosition = 50;
    static constexpr int DesignProgressMaximum = 100;

    PhotoViewer(const QString& photoServer, PhotoLoader& loader, MessageSink& messages,
                AddressOpener& addresses);

    // The grid's photo request. Returns true when the panel is to be placed and shown;
    // a station without names only gets the message and changes nothing else.
    bool open(const QString& station, const QString& imageNames);
    // Previous and Next; each returns whether it changed anything.
    bool previous();
    bool next();
    // Hides the panel and clears the picture; the photo list and indices stay.
    void close();
    // Full View and a double click on the photo.
    void fullView();

    void downloadProgressed(qint64 received, qint64 total);
    void downloadCompleted();

    // Dragging by the panel's surface, pointer positions in panel coordinates.
    void press(const QPoint& pointer);
    // How far the panel moves for a pointer movement: nothing unless dragging.
    QPoint dragOffset(const QPoint& pointer) const;
    void release();

    // The panel's left edge when it opens: round(gw / 2) + gl - round(pw / 2), halves
    // rounded to the even neighbour.
    static int placedLeft(int gridWidth, int gridPanelLeft, int panelWidth);
    // n / 2 rounded to the nearest integer, halves to the even neighbour.
    static int halfRoundedEven(int n);

    bool showing() const { return m_showing; }
    const QStringList& photos() const { return m_photos; }
    int count() const { return m_count; }
    int currentIndex() const { return m_currentIndex; }
    int backIndex() const { return m_backIndex; }
    const QString& currentAddress() const { return m_currentAddress; }
    const QString& stationCaption() const { return m_stationCaption; }
    const QString& countCaption() const { return m_countCaption; }
    int progressPosition() const { return m_progressPosition; }
    int progressMaximum() const { return m_progressMaximum; }
    bool dragging() const { return m_dragging; }
    QPoint pressPoint() const { return m_pressPoint; }

    static QString noPictureMessage(const QString& station);

private:
    QString addressOf(int index) const;
    void setCountCaption(int index);

    QString m_photoServer;
    PhotoLoader& m_loader;
    MessageSink& m_messages;
    AddressOpener& m_addresses;

    bool m_showing = false;
    QStringList m_photos;
    int m_count = 0;
    int m_currentIndex = 0;
    int m_backIndex = 0;
    QString m_currentAddress;
    QString m_stationCaption;
    QString m_countCaption;
    int m_progressPosition = DesignProgressPosition;
    int m_progressMaximum = DesignProgressMaximum;
    bool m_dragging = false;
    QPoint m_pressPoint;
};
