#include "instrument/OdczytSygnaluPomiarowego.h"

#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "platform/Sync.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>

TEST(SignalSources, SerialStartsTheStreamAndCardHoldsTheSemaphore) {
    struct Link : ICommandLink {
        std::string sent;
        std::mutex m;
        void SendCommandByte(uint8_t b) override {
            std::lock_guard<std::mutex> l(m);
            sent.push_back(static_cast<char>(b));
        }
    } link;
    bool receiving = false;
    SerialSignalSource serial(link, [] { return 17; }, [] { return true; }, [&] { receiving = true; });
    serial.BeginMonitoring();
    EXPECT_TRUE(receiving);
    EXPECT_EQ(link.sent, "S");
    EXPECT_EQ(serial.SampleSignalLevel(), 17);

    platform::BinarySemaphore sem;
    CardSemaphore = &sem;
    CardSignalSource card(link, [] { return uint8_t(33); }, [] { return false; });
    ASSERT_TRUE(sem.acquire());  // the environment thread is inside an exchange
    std::atomic<int> level{-1};
    std::thread t([&] { level = card.SampleSignalLevel(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(level.load(), -1);
    sem.release();
    t.join();
    EXPECT_EQ(level.load(), 33);
    EXPECT_EQ(link.sent, "S\x8F");
    EXPECT_TRUE(sem.acquire(std::chrono::milliseconds(0)));  // released again
    CardSemaphore = nullptr;
}

TEST(SignalSources, LinkSourceFollowsTheInterfaceMode) {
    InterfaceMode = 1;
    instrument::SetLink({});  // the link chosen by the setting
    EXPECT_TRUE(MakeLinkSignalSource()->FollowsReadiness());
    InterfaceMode = 0;
    instrument::SetLink({});  // the link chosen by the setting
    EXPECT_FALSE(MakeLinkSignalSource()->FollowsReadiness());
    instrument::ResetLink();
}
