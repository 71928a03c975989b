#pragma once

#include "map/mapbrowser.h"

#include <QUrl>
#include <QWebEngineView>

// The program's map browser: a QWebEngineView behind the browser operations of the map.
// Scripts run synchronously: each waits for its result in a local event loop.
class WebEngineMapBrowser final : public QWebEngineView, public MapBrowser
{
    Q_OBJECT

public:
    // baseAddress is the address the loaded page text counts as coming from.
    explicit WebEngineMapBrowser(const QUrl& baseAddress, QWidget* parent = nullptr);

    void navigate(const QString& address) override;
    void setFullScreen(bool on) override { m_fullScreen = on; }
    bool fullScreen() const { return m_fullScreen; }
    int readyState() const override { return m_readyState; }
    void processMessages() override;
    bool hasDocument() const override { return m_hasDocument; }
    bool hasHtmlDocument() override;
    void loadDocument(const QByteArray& pageText) override;
    ScriptOutcome runScript(const QString& script, const QString& language) override;
    std::optional<QList<PageElement>> bodyElements(const QString& tagName,
                                                   const QString& attributeName) override;

    // How long a script may take before it counts as failed.
    void setScriptTimeout(int milliseconds) { m_scriptTimeout = milliseconds; }

private:
    // Runs a wrapped script and returns its result object; an invalid value when the
    // page did not answer.
    QVariant evaluate(const QString& wrapped);

    QUrl m_baseAddress;
    int m_readyState = Uninitialized;
    bool m_hasDocument = false;
    bool m_fullScreen = false;
    int m_scriptTimeout = 10000;
};
