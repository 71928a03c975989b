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

// An export thread: its body asks the user-interface thread to run one save method and
// waits until that method has returned. `context`, an object of the user-interface
// thread, must outlive the thread; when it is deleted before the call ran, the call is
// dropped and the thread ends.
class SaveThread : public QThread
{
    Q_OBJECT

protected:
    using Method = void (SaveMethods::*)();

    SaveThread(QObject* context, SaveMethods& methods, Method method)
        : m_context(context)
        , m_methods(methods)
        , m_method(method)
    {
    }

    void run() final;

private:
    QObject* m_context;
    SaveMethods& m_methods;
    Method m_method;
};

class TSaveXMLThread final : public SaveThread
{
    Q_OBJECT

public:
    TSaveXMLThread(QObject* context, SaveMethods& methods)
        : SaveThread(context, methods, &SaveMethods::SaveXML)
    {
    }
};

class TSaveXLSThread final : public SaveThread
{
    Q_OBJECT

public:
    TSaveXLSThread(QObject* context, SaveMethods& methods)
        : SaveThread(context, methods, &SaveMethods::SaveXLS)
    {
    }
};

class TSaveHTMLThread final : public SaveThread
{
    Q_OBJECT

public:
    TSaveHTMLThread(QObject* context, SaveMethods& methods)
        : SaveThread(context, methods, &SaveMethods::SaveHTML)
    {
    }
};
