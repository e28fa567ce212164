// Work on a thread of its own, heard through queued signals.
#include "core/job/BackgroundJob.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

class TestBackgroundJob : public QObject {
    Q_OBJECT

private slots:
    // Reports come on the starting thread, merged, the last one before
    // finished(); the work runs elsewhere and its result is seen afterwards.
    void progressAndResult()
    {
        BackgroundJob job;
        QList<std::pair<int, int>> heard;
        bool onStarter = true;
        connect(&job, &BackgroundJob::progress, this, [&](int done, int total) {
            onStarter = onStarter && QThread::currentThread() == thread();
            heard.append({ done, total });
        });
        QSignalSpy finished(&job, &BackgroundJob::finished);
        QThread* worker = nullptr;
        // Checked here: a test failing on the worker thread could not stop there.
        bool unstopped = true;
        constexpr int Steps = 100000;
        QVERIFY(job.start([&](const BackgroundJob::Control& c) {
            worker = QThread::currentThread();
            for (int i = 1; i <= Steps; ++i)
                unstopped = c.progress(i, Steps) && unstopped;
        }));
        QVERIFY(job.isRunning());
        // Refused while the first runs.
        QVERIFY(!job.start([](const BackgroundJob::Control&) {}));
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.size(), 1);
        QVERIFY(!job.isRunning());
        QVERIFY(worker && worker != thread());
        QVERIFY(onStarter);
        QVERIFY(unstopped);
        QVERIFY(!heard.isEmpty());
        QVERIFY(heard.size() < Steps);
        QCOMPARE(heard.last(), std::make_pair(Steps, Steps));
        // Ready for the next work.
        bool stopAsked = true;
        QVERIFY(job.start([&](const BackgroundJob::Control& c) { stopAsked = c.stopRequested(); }));
        QVERIFY(finished.wait(60000));
        QVERIFY(!stopAsked);
    }

    // A stop asked from the starting thread, or by destroying the job, is
    // seen by the work; the destructor returns only once it has ended.
    void stop_data()
    {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("requestStop") << false;
        QTest::newRow("destroyed") << true;
    }
    void stop()
    {
        QFETCH(bool, destroy);
        auto job = std::make_unique<BackgroundJob>();
        QSignalSpy finished(job.get(), &BackgroundJob::finished);
        std::atomic<bool> started { false }, ended { false };
        QVERIFY(job->start([&](const BackgroundJob::Control& c) {
            started = true;
            while (c.progress(0, 1))
                QThread::msleep(1);
            ended = c.stopRequested();
        }));
        QTRY_VERIFY_WITH_TIMEOUT(started, 60000);
        if (destroy) {
            job.reset();
            QVERIFY(ended);
            return;
        }
        job->requestStop();
        QVERIFY(finished.wait(60000));
        QVERIFY(ended);
    }
};

QTEST_MAIN(TestBackgroundJob)
#include "tst_backgroundjob.moc"
