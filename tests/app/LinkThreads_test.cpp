// The owner of the link's threads: the events exist while it lives, and its shutdown asks each
// kind of thread to end and waits for them while the user-interface thread keeps handling the
// hand-offs they make, before the events go.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <thread>

#include "app/LinkThreads.h"
#include "foundations/SharedGlobals.h"
#include "platform/Sync.h"

TEST(LinkThreads, ShutdownEndsEveryKindBeforeTheEventsGo) {
    ResetSharedGlobals();
    std::atomic<bool> loaderAsked{false}, ended{false};
    std::thread worker;
    {
        LinkThreads threads;
        for (platform::ManualResetEvent* e :
             {MeteoDataEvent, MeteoQuitEvent, ComCheckEvent, SampleEvent, ReadQuitEvent, ProgramLoadEvent})
            ASSERT_NE(e, nullptr);
        EXPECT_EQ(ReadWaitHandles[0], SampleEvent);
        threads.MakeCardSemaphore();
        ASSERT_NE(CardSemaphore, nullptr);

        // A reading thread that, once told to quit, hands one last thing to this thread.
        platform::ManualResetEvent* quit = ReadQuitEvent;
        worker = std::thread([&, quit] {
            quit->wait();
            QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::BlockingQueuedConnection);
            ended = true;
        });
        threads.Watch(LinkThreadKind::Reading, [&] { return !ended.load(); });
        threads.Watch(LinkThreadKind::Loader, [] { return false; }, [&] { loaderAsked = true; });

        EXPECT_TRUE(threads.Stop(5000));
        EXPECT_TRUE(loaderAsked.load());
        EXPECT_TRUE(ended.load());
        EXPECT_TRUE(ReadingStopped.load());
        EXPECT_TRUE(MeteoStopped.load());
        EXPECT_TRUE(SignalMonitorStopped.load());
        EXPECT_TRUE(MeteoQuitEvent->isSet());
    }
    worker.join();
    EXPECT_EQ(SampleEvent, nullptr);
    EXPECT_EQ(ReadQuitEvent, nullptr);
    EXPECT_EQ(CardSemaphore, nullptr);
    EXPECT_EQ(ReadWaitHandles[0], nullptr);
    ResetSharedGlobals();
}
