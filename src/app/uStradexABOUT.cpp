#include "app/uStradexABOUT.h"

#include "app/version.h"
#include "platform/addressopener.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QWindow>

namespace {
QPixmap renderSvg(const QString& path, const QSize& size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent, QPoint at)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    label->move(at);
    label->adjustSize();
    return label;
}
} // namespace

TAboutBox::TAboutBox(const Config& config, AddressOpener& addresses, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , m_config(config)
    , m_addresses(addresses)
    , m_matcher(config.aboutKeySequence)
    , m_panel1(new QFrame(this))
    , m_programIcon(new QLabel(m_panel1))
    , m_productName(nullptr)
    , m_version(nullptr)
    , m_copyright(nullptr)
    , m_label1(nullptr)
    , m_image1(new QLabel(m_panel1))
    , m_okButton(new QPushButton(QStringLiteral("OK"), this))
    , m_panel2(new QFrame(this))
    , m_image2(new QLabel(m_panel2))
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setAccessibleName(QStringLiteral("About"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(317, 229);

    // Raised inner and lowered outer bevel: an etched border.
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setAccessibleName(QStringLiteral("Program information"));
    m_panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_panel1->setGeometry(20, 16, 269, 159);

    m_programIcon->setObjectName(QStringLiteral("ProgramIcon"));
    m_programIcon->setAccessibleName(QStringLiteral("Program icon"));
    m_programIcon->setGeometry(8, 12, 41, 41);
    m_programIcon->setScaledContents(true);
    m_programIcon->setPixmap(renderSvg(QStringLiteral(":/about/icon.svg"), QSize(41, 41)));

    m_productName = makeLabel(QStringLiteral("ProductName"), QStringLiteral("Korva Stradex"),
                              m_panel1, {88, 16});
    m_version =
        makeLabel(QStringLiteral("Version"), QStringLiteral("Version: 2.0.0"), m_panel1, {88, 35});
    m_copyright = makeLabel(QStringLiteral("Copyright"), config.rightsNotice, m_panel1, {88, 54});
    // One line: a notice wider than the panel is shortened, and shown whole as a tip.
    const int room = m_panel1->width() - m_copyright->x() - 4;
    m_copyright->setText(
        m_copyright->fontMetrics().elidedText(config.rightsNotice, Qt::ElideRight, room));
    m_copyright->setToolTip(config.rightsNotice);
    m_copyright->adjustSize();

    m_label1 = makeLabel(QStringLiteral("Label1"),
                         QStringLiteral("Click here for technical support"), m_panel1, {90, 72});
    m_label1->setStyleSheet(QStringLiteral("color: blue;"));
    QFont linkFont = m_label1->font();
    linkFont.setUnderline(true);
    m_label1->setFont(linkFont);
    m_label1->adjustSize();
    m_label1->setCursor(Qt::PointingHandCursor);
    m_label1->installEventFilter(this);

    // The logo keeps its own size, centred on its place.
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setAccessibleName(QStringLiteral("Korva logo"));
    m_image1->setAttribute(Qt::WA_TranslucentBackground);
    m_image1->setAlignment(Qt::AlignCenter);
    m_image1->setGeometry(72, 114, 119, 30);
    m_image1->setPixmap(renderSvg(QStringLiteral(":/about/logo.svg"), QSize(119, 30)));

    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setAccessibleName(QStringLiteral("OK"));
    m_okButton->setGeometry(111, 181, 75, 25);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setAccessibleName(QStringLiteral("Hidden picture"));
    m_panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel2->setAutoFillBackground(true);
    m_panel2->setGeometry(20, 16, 275, 200);
    m_panel2->installEventFilter(this);
    m_panel2->hide();

    m_image2->setObjectName(QStringLiteral("Image2"));
    m_image2->setAccessibleName(QStringLiteral("Hidden picture"));
    m_image2->setAlignment(Qt::AlignCenter);
    m_image2->setGeometry(16, 12, 240, 180);
    m_image2->setPixmap(QPixmap(QStringLiteral(":/about/hidden.jpg")));
    m_image2->installEventFilter(this);

    FormCreate();
}

void TAboutBox::showModal(const Config& config, AddressOpener& addresses, QWidget* parent)
{
    TAboutBox box(config, addresses, parent);
    if (const QScreen* s = parent ? parent->screen() : box.screen())
        box.move(s->geometry().center() - box.rect().center());
    box.exec();
}

void TAboutBox::FormCreate()
{
    m_keyPreview = true;
    m_matcher = AboutKeyMatcher(m_config.aboutKeySequence);
    m_version->setText(QStringLiteral("Version ") + versionString());
    m_version->setAccessibleName(m_version->text());
    m_version->adjustSize();
}

void TAboutBox::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (m_matcher.keyDown(key, modifiers)) {
        m_panel2->show();
        m_panel2->raise();
    }
}

void TAboutBox::Label1Click()
{
    m_addresses.open(QStringLiteral("mailto:") + m_config.supportMail);
}

void TAboutBox::Image2Click()
{
    m_panel2->hide();
}

void TAboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Key preview: the window sees each key press once, before the focused control.
    if (m_keyPreview && windowHandle() && m_previewedWindow != windowHandle()) {
        windowHandle()->installEventFilter(this);
        m_previewedWindow = windowHandle();
    }
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_previewedWindow && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        FormKeyDown(key->key(), key->modifiers());
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool inside = widget && widget->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && inside) {
            if (watched == m_label1)
                Label1Click();
            else if (watched == m_panel2 || watched == m_image2)
                Image2Click();
        }
    }
    return QDialog::eventFilter(watched, event);
}
