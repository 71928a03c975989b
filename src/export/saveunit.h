#pragma once

#include <QThread>

// The main-window methods that the export threads run on the user-interface thread.
class SaveMethods
{
public:
    virtual ~SaveMethods() = default;
    virtual void SaveXML() = 0;
    virtual void SaveXLS() = 0;
    virtual void SaveHTML() = 0;
};

// An export thread: its body asks the user-interface thread to run the kind's save
// method and waits until that method has returned. `context`, an object of the
// user-interface thread, must outlive the thread; when it is deleted before the call
// ran, the call is dropped and the thread ends.
class TSaveXMLThread final : public QThread
{
    Q_OBJECT

public:
    TSaveXMLThread(QObject* context, SaveMethods& methods)
        : m_context(context)
        , m_methods(methods)
    {
    }

protected:
    void run() override;

private:
    QObject* m_context;
    SaveMethods& m_methods;
};

class TSaveXLSThread final : public QThread
{
    Q_OBJECT

public:
    TSaveXLSThread(QObject* context, SaveMethods& methods)
        : m_context(context)
        , m_methods(methods)
    {
    }

protected:
    void run() override;

private:
    QObject* m_context;
    SaveMethods& m_methods;
};

class TSaveHTMLThread final : public QThread
{
    Q_OBJECT

public:
    TSaveHTMLThread(QObject* context, SaveMethods& methods)
        : m_context(context)
        , m_methods(methods)
    {
    }

protected:
    void run() override;

private:
    QObject* m_context;
    SaveMethods& m_methods;
};
