#include "map/webenginemapbrowser.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

#include <memory>

namespace {
QString jsString(const QString& text)
{
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}
} // namespace

WebEngineMapBrowser::WebEngineMapBrowser(const QUrl& baseAddress, QWidget* parent)
    : QWebEngineView(parent)
    , m_baseAddress(baseAddress)
{
    setObjectName(QStringLiteral("WebBrowser1"));
    setAccessibleName(QStringLiteral("Station map"));
    connect(this, &QWebEngineView::loadStarted, this, [this] { m_readyState = Loading; });
    // A finished load, failed or not, leaves a document (an error page at worst).
    connect(this, &QWebEngineView::loadFinished, this, [this] {
        m_readyState = Complete;
        m_hasDocument = true;
    });
}

void WebEngineMapBrowser::navigate(const QString& address)
{
    m_readyState = Loading;
    setUrl(QUrl(address));
}

void WebEngineMapBrowser::processMessages()
{
    // The engine reports progress from its own process; wait for the next message
    // rather than spinning.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void WebEngineMapBrowser::loadDocument(const QByteArray& pageText)
{
    m_readyState = Loading;
    setContent(pageText, QStringLiteral("text/html;charset=UTF-8"), m_baseAddress);
}

QVariant WebEngineMapBrowser::evaluate(const QString& wrapped)
{
    QEventLoop loop;
    auto result = std::make_shared<QVariant>();
    auto answered = std::make_shared<bool>(false);
    QPointer<QEventLoop> waiting(&loop);
    page()->runJavaScript(wrapped, [result, answered, waiting](const QVariant& value) {
        *result = value;
        *answered = true;
        if (waiting)
            waiting->quit();
    });
    if (!*answered) {
        QTimer::singleShot(m_scriptTimeout, &loop, &QEventLoop::quit);
        // Other user input waits until the script has answered.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return *answered ? *result : QVariant();
}

ScriptOutcome WebEngineMapBrowser::runScript(const QString& script, const QString& language)
{
    if (language.compare(QLatin1String("javascript"), Qt::CaseInsensitive) != 0)
        return {false, QStringLiteral("The script language %1 is not supported").arg(language)};
    // Indirect eval runs the text in the window's global scope, and a syntax error in it
    // is caught like any other failure.
    const QString wrapped = QStringLiteral("(function(){try{(0,eval)(%1);return {ok:true};}"
                                           "catch(e){return {ok:false,error:String(e)};}})()")
                                .arg(jsString(script));
    const QVariant answer = evaluate(wrapped);
    if (!answer.isValid())
        return {false, QStringLiteral("The map page did not answer the script")};
    const QVariantMap map = answer.toMap();
    if (map.value(QStringLiteral("ok")).toBool())
        return {};
    return {false, map.value(QStringLiteral("error")).toString()};
}

bool WebEngineMapBrowser::hasHtmlDocument()
{
    if (!m_hasDocument)
        return false;
    return evaluate(QStringLiteral("document instanceof HTMLDocument")).toBool();
}

std::optional<QList<PageElement>> WebEngineMapBrowser::bodyElements(const QString& tagName,
                                                                    const QString& attributeName)
{
    if (!m_hasDocument)
        return std::nullopt;
    // A property that holds text (an input's current value) wins over the markup's
    // attribute, as the value a user sees is the one that counts.
    const QString script =
        QStringLiteral("(function(tag,name){var b=document.body;"
                       "if(!b||!b.getElementsByTagName)return null;"
                       "var list=b.getElementsByTagName(tag),out=[];"
                       "for(var i=0;i<list.length;++i){var e=list[i],v=e[name];"
                       "if(typeof v!=='string'&&typeof v!=='number'&&typeof v!=='boolean')"
                       "v=e.getAttribute(name);"
                       "out.push([String(e.id),v===null||v===undefined?'':String(v)]);}"
                       "return out;})(%1,%2)")
            .arg(jsString(tagName), jsString(attributeName));
    const QVariant answer = evaluate(script);
    if (!answer.isValid() || answer.isNull())
        return std::nullopt;
    QList<PageElement> elements;
    for (const QVariant& item : answer.toList()) {
        const QVariantList pair = item.toList();
        elements << PageElement{pair.value(0).toString(), pair.value(1).toString()};
    }
    return elements;
}
