#include "photos/photoviewer.h"

#include "photos/imagenames.h"
#include "photos/photoloader.h"
#include "platform/addressopener.h"
#include "platform/messagesink.h"

#include <algorithm>
#include <limits>

namespace {
int clampedToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}
} // namespace

PhotoViewer::PhotoViewer(const QString& photoServer, PhotoLoader& loader, MessageSink& messages,
                         AddressOpener& addresses)
    : m_photoServer(photoServer)
    , m_loader(loader)
    , m_messages(messages)
    , m_addresses(addresses)
{
}

QString PhotoViewer::noPictureMessage(const QString& station)
{
    return QStringLiteral("There is no picture for station: ") + station;
}

bool PhotoViewer::open(const QString& station, const QString& imageNames)
{
    m_photos = ImageNames::split(imageNames);
    m_count = int(m_photos.size());
    if (m_count == 0) {
        m_messages.message(noPictureMessage(station));
        return false;
    }
    const QString address = addressOf(0);
    m_currentIndex = 0;
    m_backIndex = 0;
    m_stationCaption = QStringLiteral("Station ") + station;
    m_loader.load(address);
    m_currentAddress = address;
    setCountCaption(0);
    m_showing = true;
    return true;
}

bool PhotoViewer::previous()
{
    if (m_backIndex < 0 || m_count == 0)
        return false;
    // Right after an open the back index is 0 too, so the first Previous reloads the
    // first photo and only then stops.
    const int k = m_backIndex;
    m_currentAddress = addressOf(k);
    m_loader.load(m_currentAddress);
    m_currentIndex = k;
    setCountCaption(k);
    --m_backIndex;
    return true;
}

bool PhotoViewer::next()
{
    if (m_currentIndex >= m_count - 1)
        return false;
    const int k = ++m_currentIndex;
    m_currentAddress = addressOf(k);
    // While a download runs the loader would drop the load anyway; the labels move on.
    if (!m_loader.downloading())
        m_loader.load(m_currentAddress);
    setCountCaption(k);
    m_backIndex = k - 1;
    return true;
}

void PhotoViewer::close()
{
    m_showing = false;
    m_loader.clear();
}

void PhotoViewer::fullView()
{
    m_addresses.open(m_currentAddress);
}

void PhotoViewer::downloadProgressed(qint64 received, qint64 total)
{
    // A progress bar keeps its position within its range: the position is set first,
    // against the range of the previous download, and the new maximum then applies.
    m_progressPosition = std::min(clampedToInt(received), m_progressMaximum);
    m_progressMaximum = clampedToInt(total);
    m_progressPosition = std::min(m_progressPosition, m_progressMaximum);
}

void PhotoViewer::downloadCompleted()
{
    m_progressPosition = 0;
}

void PhotoViewer::press(const QPoint& pointer)
{
    m_dragging = true;
    m_pressPoint = pointer;
}

QPoint PhotoViewer::dragOffset(const QPoint& pointer) const
{
    return m_dragging ? pointer - m_pressPoint : QPoint();
}

void PhotoViewer::release()
{
    m_dragging = false;
}

int PhotoViewer::halfRoundedEven(int n)
{
    const int down = n >> 1; // floor(n / 2), also for negative n
    return (n & 1) && (down & 1) ? down + 1 : down;
}

int PhotoViewer::placedLeft(int gridWidth, int gridPanelLeft, int panelWidth)
{
    return halfRoundedEven(gridWidth) + gridPanelLeft - halfRoundedEven(panelWidth);
}

QString PhotoViewer::addressOf(int index) const
{
    return ImageNames::photoAddress(m_photoServer, m_photos.at(index));
}

void PhotoViewer::setCountCaption(int index)
{
    m_countCaption = QStringLiteral("Images %1 of %2").arg(index + 1).arg(m_count);
}
