#pragma once

#include <QObject>

#include <atomic>
#include <functional>

class QThread;

// Runs one piece of work on a thread of its own. What the work tells arrives
// at the starting thread as ordinary queued signals and a stop is a flag the
// work reads, so the starting thread never waits for it and never runs a
// nested event loop. The work must leave alone what the starting thread uses
// meanwhile (the cookbook's connection above all); it leaves its result in
// memory that the starting thread reads after finished().
class BackgroundJob : public QObject {
    Q_OBJECT
public:
    // What the work is given.
    class Control {
    public:
        // Passes on how far the work has come; false once a stop was asked.
        bool progress(int done, int total) const;
        bool stopRequested() const;

    private:
        friend class BackgroundJob;
        explicit Control(BackgroundJob& job)
            : m_job(job)
        {
        }
        BackgroundJob& m_job;
    };
    using Work = std::function<void(const Control&)>;

    explicit BackgroundJob(QObject* parent = nullptr);
    // Asks a running work to stop and waits for it: what it reads lives at
    // least as long as the job.
    ~BackgroundJob() override;

    // False while an earlier work has not finished.
    bool start(Work work);
    void requestStop();
    // From start() until finished() is emitted.
    bool isRunning() const { return m_thread != nullptr; }

signals:
    // Only the latest figures: reports made faster than the starting thread
    // takes them are merged into one.
    void progress(int done, int total);
    // After the last progress; the work's result may now be read.
    void finished();

private:
    void deliverProgress();
    void threadEnded();

    QThread* m_thread = nullptr;
    std::atomic<bool> m_stop { false };
    std::atomic<bool> m_progressPosted { false };
    std::atomic<quint64> m_latest { 0 };
};
