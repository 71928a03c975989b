#include "app/uSplash.h"

#include "app/version.h"

#include <QPainter>
#include <QShowEvent>
#include <QSvgRenderer>

namespace {
QPixmap splashPicture()
{
    QPixmap picture(400, 300);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/app/splash.svg"));
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}
} // namespace

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_imgSplash(new QLabel(this))
    , m_version(new QLabel(QStringLiteral("Version"), this))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Splash"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFont(QFont(QStringLiteral("Tahoma")));
    resize(400, 300);

    m_imgSplash->setObjectName(QStringLiteral("imgSplash"));
    m_imgSplash->setAccessibleName(QStringLiteral("Stradex"));
    const QPixmap picture = splashPicture();
    m_imgSplash->setPixmap(picture);
    m_imgSplash->resize(picture.size());
    m_imgSplash->move(0, 0);

    m_version->setObjectName(QStringLiteral("Version"));
    m_version->setAccessibleName(QStringLiteral("Version"));
    QFont versionFont(QStringLiteral("Tahoma"));
    versionFont.setPixelSize(16);
    m_version->setFont(versionFont);
    m_version->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    m_version->move(262, 266);

    FormCreate();
    // Centred on the screen.
    if (const QScreen* s = screen())
        move(s->geometry().center() - rect().center());
}

void TfrmSplash::FormCreate()
{
    m_version->setText(QStringLiteral("Version ") + versionString());
    m_version->adjustSize();
}

void TfrmSplash::FormActivate()
{
    m_imgSplash->move(0, 0);
    setFixedSize(m_imgSplash->width(), m_imgSplash->height());
}

void TfrmSplash::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormActivate();
}
