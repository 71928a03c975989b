#pragma once

#include "map/mapbrowser.h"

#include <QHash>
#include <QStringList>

// A browser for map tests: records what the map asks of it and answers from prepared
// state. Its ready state climbs by one each time messages are processed.
class FakeMapBrowser final : public MapBrowser
{
public:
    void navigate(const QString& address) override
    {
        calls << QStringLiteral("navigate ") + address;
        state = Loading;
    }
    void setFullScreen(bool on) override { calls << QStringLiteral("fullScreen %1").arg(on); }
    int readyState() const override { return state; }
    void processMessages() override
    {
        ++messageRuns;
        if (state < Complete)
            ++state;
    }
    bool hasDocument() const override { return document; }
    bool hasHtmlDocument() override { return html; }
    void loadDocument(const QByteArray& pageText) override
    {
        calls << QStringLiteral("load");
        loaded << pageText;
    }
    ScriptOutcome runScript(const QString& script, const QString& language) override
    {
        calls << QStringLiteral("script ") + script;
        languages << language;
        if (failingScripts.contains(script))
            return {false, failure};
        return {};
    }
    std::optional<QList<PageElement>> bodyElements(const QString& tagName,
                                                   const QString& attributeName) override
    {
        calls << QStringLiteral("elements %1 %2").arg(tagName, attributeName);
        if (!body)
            return std::nullopt;
        return elements.value(tagName);
    }

    // Prepared state.
    int state = Uninitialized;
    bool document = true;
    bool html = true;
    bool body = true;
    QStringList failingScripts;
    QString failure = QStringLiteral("ReferenceError: getMapAttributes is not defined");
    QHash<QString, QList<PageElement>> elements; // by upper-case tag name

    // What happened.
    QStringList calls;
    QStringList languages;
    QList<QByteArray> loaded;
    int messageRuns = 0;
};
