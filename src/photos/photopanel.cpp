#include "photos/photopanel.h"

#include "photos/webimage.h"
#include "platform/imagelist.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

namespace {

// Draws push buttons as if they never had the focus, so that they show no focus
// rectangle while they stay reachable from the keyboard.
class NoFocusRectStyle final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_PushButton || element == CE_PushButtonBevel ||
            element == CE_PushButtonLabel) {
            if (auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                QStyleOptionButton copy(*button);
                copy.state &= ~State_HasFocus;
                QProxyStyle::drawControl(element, &copy, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_FrameFocusRect)
            return;
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

QPixmap greyed(const QPixmap& source)
{
    QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int light = 96 + qGray(line[x]) * 5 / 8;
            line[x] = qRgba(light, light, light, qAlpha(line[x]));
        }
    }
    return QPixmap::fromImage(image);
}

QIcon previousIcon()
{
    QIcon icon;
    const auto mirrored = [](int index) {
        return QPixmap::fromImage(ImageList::pixmap(index).toImage().mirrored(true, false));
    };
    icon.addPixmap(mirrored(ImageList::NextEnabled), QIcon::Normal);
    icon.addPixmap(mirrored(ImageList::NextDisabled), QIcon::Disabled);
    return icon;
}

QIcon nextIcon()
{
    QIcon icon;
    icon.addPixmap(ImageList::pixmap(ImageList::NextEnabled), QIcon::Normal);
    icon.addPixmap(ImageList::pixmap(ImageList::NextDisabled), QIcon::Disabled);
    return icon;
}

QIcon closeIcon()
{
    QPixmap cross(ImageList::IconSize, ImageList::IconSize);
    cross.fill(Qt::transparent);
    {
        QPainter painter(&cross);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(22, 84, 190), 3.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        painter.setPen(QPen(QColor(120, 170, 240), 1.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(4, 4), QPointF(12, 12));
        painter.drawLine(QPointF(12, 4), QPointF(4, 12));
    }
    QIcon icon;
    icon.addPixmap(cross, QIcon::Normal);
    icon.addPixmap(greyed(cross), QIcon::Disabled);
    return icon;
}

// The default size of a button without a size of its own.
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

} // namespace

PhotoPanel::PhotoPanel(const QString& photoServer, MessageSink& messages, AddressOpener& addresses,
                       QWidget* mainWindow)
    : RoundedPanel(mainWindow)
    , m_Label6(new QLabel(QStringLiteral("Label6"), this))
    , m_Label5(new QLabel(QStringLiteral("Label5"), this))
    , m_RzBitBtn2(new QPushButton(this))
    , m_Panel1(new QFrame(this))
    , m_WebImage1(new WebImage(m_Panel1))
    , m_RzBitBtn1(new QPushButton(QStringLiteral("Previous"), this))
    , m_rzBtnNext(new QPushButton(QStringLiteral("Next"), this))
    , m_pb(new QProgressBar(this))
    , m_fullviewBtn(new QPushButton(QStringLiteral("Full View"), this))
    , m_viewer(photoServer, *m_WebImage1, messages, addresses)
{
    setObjectName(QStringLiteral("AdvSmoothPanel1"));
    setAccessibleName(QStringLiteral("Photo viewer"));
    setGeometry(DesignLeft, DesignTop, DesignWidth, DesignHeight);
    setFill(QColor(240, 240, 240));
    setBorder(QColor(153, 153, 153));
    setCornerRounding(10);
    setCursor(Qt::SizeAllCursor);

    QFont labelFont(QStringLiteral("Tahoma"));
    labelFont.setPixelSize(11);
    const auto setUpLabel = [&](QLabel* label, const char* name, const QString& accessible, int x) {
        label->setObjectName(QLatin1String(name));
        label->setAccessibleName(accessible);
        label->setFont(labelFont);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
        label->setPalette(palette);
        label->move(x, 14);
        label->adjustSize();
    };
    setUpLabel(m_Label6, "Label6", QStringLiteral("Station"), 29);
    setUpLabel(m_Label5, "Label5", QStringLiteral("Image count"), 312);

    auto* focusless = new NoFocusRectStyle;
    focusless->setParent(this);

    m_RzBitBtn2->setObjectName(QStringLiteral("RzBitBtn2"));
    m_RzBitBtn2->setAccessibleName(QStringLiteral("Close"));
    m_RzBitBtn2->setToolTip(QStringLiteral("Close"));
    m_RzBitBtn2->setIcon(closeIcon());
    m_RzBitBtn2->setGeometry(602, 8, 31, ButtonHeight);
    m_RzBitBtn2->setStyle(focusless);

    m_Panel1->setObjectName(QStringLiteral("Panel1"));
    m_Panel1->setAccessibleName(QStringLiteral("Photo frame"));
    m_Panel1->setFrameShape(QFrame::NoFrame);
    m_Panel1->setAutoFillBackground(true);
    QPalette black = m_Panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_Panel1->setPalette(black);
    m_Panel1->setGeometry(28, 39, 603, 415);

    m_WebImage1->setObjectName(QStringLiteral("WebImage1"));
    m_WebImage1->setAccessibleName(QStringLiteral("Photo"));
    m_WebImage1->setGeometry(1, 1, 601, 413);

    m_RzBitBtn1->setObjectName(QStringLiteral("RzBitBtn1"));
    m_RzBitBtn1->setAccessibleName(QStringLiteral("Previous"));
    m_RzBitBtn1->setIcon(previousIcon());
    m_RzBitBtn1->setGeometry(28, 470, ButtonWidth, ButtonHeight);
    m_RzBitBtn1->setStyle(focusless);

    m_rzBtnNext->setObjectName(QStringLiteral("rzBtnNext"));
    m_rzBtnNext->setAccessibleName(QStringLiteral("Next"));
    m_rzBtnNext->setIcon(nextIcon());
    // The picture stands to the right of the caption.
    m_rzBtnNext->setLayoutDirection(Qt::RightToLeft);
    m_rzBtnNext->setGeometry(109, 470, ButtonWidth, ButtonHeight);
    m_rzBtnNext->setStyle(focusless);

    m_pb->setObjectName(QStringLiteral("pb"));
    m_pb->setAccessibleName(QStringLiteral("Download progress"));
    m_pb->setTextVisible(false);
    m_pb->setGeometry(198, 474, 343, 17);
    showProgress();

    m_fullviewBtn->setObjectName(QStringLiteral("fullviewBtn"));
    m_fullviewBtn->setAccessibleName(QStringLiteral("Full View"));
    m_fullviewBtn->setGeometry(560, 470, ButtonWidth, ButtonHeight);

    // Only the panel's own surface drags it.
    for (QWidget* child : findChildren<QWidget*>())
        child->setCursor(Qt::ArrowCursor);

    connect(m_RzBitBtn1, &QPushButton::clicked, this, &PhotoPanel::RzBitBtn1Click);
    connect(m_rzBtnNext, &QPushButton::clicked, this, &PhotoPanel::rzBtnNextClick);
    connect(m_RzBitBtn2, &QPushButton::clicked, this, &PhotoPanel::RzBitBtn2Click);
    connect(m_fullviewBtn, &QPushButton::clicked, this, &PhotoPanel::WebImage1DblClick);
    connect(m_WebImage1, &WebImage::doubleClicked, this, &PhotoPanel::WebImage1DblClick);
    connect(m_WebImage1, &WebImage::downloadProgressed, this,
            &PhotoPanel::WebImage1DownLoadProgress);
    connect(m_WebImage1, &WebImage::downloadCompleted, this,
            &PhotoPanel::WebImage1DownLoadComplete);

    hide();
}

PhotoPanel::~PhotoPanel() = default;

void PhotoPanel::setPlacementWidgets(const QWidget* grid, const QWidget* gridPanel)
{
    m_grid = grid;
    m_gridPanel = gridPanel;
}

void PhotoPanel::clearLabels()
{
    m_Label6->clear();
    m_Label5->clear();
}

void PhotoPanel::openPhotos(const QString& stationNumber, const QString& imageNames)
{
    if (!m_viewer.open(stationNumber, imageNames))
        return;
    showCaptions();
    move(placedLeft(), y());
    show();
    raise();
}

int PhotoPanel::placedLeft() const
{
    QWidget* window = parentWidget();
    const int gridWidth = m_grid ? m_grid->width() : (window ? window->width() : 0);
    int gridPanelLeft = 0;
    if (m_gridPanel && window)
        gridPanelLeft = window->mapFromGlobal(m_gridPanel->mapToGlobal(QPoint())).x();
    return PhotoViewer::placedLeft(gridWidth, gridPanelLeft, width());
}

void PhotoPanel::RzBitBtn1Click()
{
    if (m_viewer.previous())
        showCaptions();
}

void PhotoPanel::rzBtnNextClick()
{
    if (m_viewer.next())
        showCaptions();
}

void PhotoPanel::RzBitBtn2Click()
{
    m_viewer.close();
    hide();
}

void PhotoPanel::WebImage1DblClick()
{
    m_viewer.fullView();
}

void PhotoPanel::WebImage1DownLoadProgress(qint64 received, qint64 total)
{
    m_viewer.downloadProgressed(received, total);
    showProgress();
}

void PhotoPanel::WebImage1DownLoadComplete()
{
    m_viewer.downloadCompleted();
    showProgress();
}

void PhotoPanel::showCaptions()
{
    m_Label6->setText(m_viewer.stationCaption());
    m_Label6->adjustSize();
    m_Label5->setText(m_viewer.countCaption());
    m_Label5->adjustSize();
}

void PhotoPanel::showProgress()
{
    // A range of 0 to 0 would make the bar a busy indicator; an unannounced size shows
    // an empty bar instead.
    m_pb->setRange(0, qMax(1, m_viewer.progressMaximum()));
    m_pb->setValue(m_viewer.progressPosition());
}

void PhotoPanel::mousePressEvent(QMouseEvent* event)
{
    // Presses that child controls pass on (labels, the frame) are not on the surface.
    const QPoint pointer = event->position().toPoint();
    if (childAt(pointer)) {
        event->ignore();
        return;
    }
    AdvSmoothPanel1MouseDown(pointer);
}

void PhotoPanel::mouseMoveEvent(QMouseEvent* event)
{
    AdvSmoothPanel1MouseMove(event->position().toPoint());
}

void PhotoPanel::mouseReleaseEvent(QMouseEvent*)
{
    AdvSmoothPanel1MouseUp();
}

void PhotoPanel::AdvSmoothPanel1MouseDown(const QPoint& pointer)
{
    m_viewer.press(pointer);
}

void PhotoPanel::AdvSmoothPanel1MouseMove(const QPoint& pointer)
{
    const QPoint offset = m_viewer.dragOffset(pointer);
    if (!offset.isNull())
        move(pos() + offset);
}

void PhotoPanel::AdvSmoothPanel1MouseUp()
{
    m_viewer.release();
}
