#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One element of a page as the attribute reader sees it: its id and the value of the
// attribute asked for (empty when the element has no such attribute).
struct PageElement
{
    QString id;
    QString attributeValue;
};

// How a script run ended: ok, or failed with the browser's description of the failure.
struct ScriptOutcome
{
    bool ok = true;
    QString error;
};

// The operations the map needs of an embedded browser: navigate, report the ready
// state, hold a document, load page text into it, run a script and read elements.
class MapBrowser
{
public:
    // Ready states, from nothing loaded to a complete document.
    enum ReadyState : int
    {
        Uninitialized = 0,
        Loading = 1,
        Loaded = 2,
        Interactive = 3,
        Complete = 4,
    };

    virtual ~MapBrowser() = default;

    virtual void navigate(const QString& address) = 0;
    virtual void setFullScreen(bool on) = 0;
    virtual int readyState() const = 0;
    // Lets the user-interface message queue run once, waiting for a message when none
    // is pending, so that the browser can make progress.
    virtual void processMessages() = 0;

    // Whether the browser holds a document at all, and whether it is an HTML document.
    virtual bool hasDocument() const = 0;
    virtual bool hasHtmlDocument() = 0;
    // Replaces the document's content with page text (8-bit, no byte-order mark).
    virtual void loadDocument(const QByteArray& pageText) = 0;

    // Runs a script in the document's window.
    virtual ScriptOutcome runScript(const QString& script, const QString& language) = 0;

    // The elements below the body whose tag name is tagName (upper case), in document
    // order, each with its id and the value of attributeName; nothing when the document
    // has no body that can be searched.
    virtual std::optional<QList<PageElement>> bodyElements(const QString& tagName,
                                                           const QString& attributeName) = 0;
};
