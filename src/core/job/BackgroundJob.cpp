#include "core/job/BackgroundJob.h"

#include <QThread>

bool BackgroundJob::Control::progress(int done, int total) const
{
    BackgroundJob& job = m_job;
    job.m_latest.store((quint64(quint32(done)) << 32) | quint32(total), std::memory_order_relaxed);
    // One event on its way at a time: the starting thread is never flooded.
    if (!job.m_progressPosted.exchange(true))
        QMetaObject::invokeMethod(&job, &BackgroundJob::deliverProgress, Qt::QueuedConnection);
    return !stopRequested();
}

bool BackgroundJob::Control::stopRequested() const
{
    return m_job.m_stop.load(std::memory_order_relaxed);
}

BackgroundJob::BackgroundJob(QObject* parent)
    : QObject(parent)
{
}

BackgroundJob::~BackgroundJob()
{
    if (!m_thread)
        return;
    m_stop = true;
    m_thread->wait();
    delete m_thread;
}

bool BackgroundJob::start(Work work)
{
    if (m_thread)
        return false;
    m_stop = false;
    m_progressPosted = false;
    m_thread = QThread::create([this, work = std::move(work)] { work(Control(*this)); });
    // Emitted on the worker thread, so heard here as a queued event.
    connect(m_thread, &QThread::finished, this, &BackgroundJob::threadEnded);
    m_thread->start();
    return true;
}

void BackgroundJob::requestStop()
{
    m_stop = true;
}

void BackgroundJob::deliverProgress()
{
    m_progressPosted = false;
    const quint64 latest = m_latest.load(std::memory_order_relaxed);
    emit progress(int(quint32(latest >> 32)), int(quint32(latest)));
}

void BackgroundJob::threadEnded()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    emit finished();
}
