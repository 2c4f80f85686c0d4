#include "classroom/classlink.h"

ClassLink::ClassLink(std::string server, QString computer, QObject *parent)
    : QObject(parent)
    , m_worker(new QObject)
    , m_server(std::make_unique<ClassServer>(std::move(server), std::move(computer)))
{
    m_thread.setObjectName(QStringLiteral("palcomir-class-server"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

ClassLink::~ClassLink()
{
    // The connection is closed on the thread that made it, after the job
    // under way; the jobs still waiting are passed over.
    m_closing = true;
    QMetaObject::invokeMethod(
        m_worker, [this] { m_server.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}
