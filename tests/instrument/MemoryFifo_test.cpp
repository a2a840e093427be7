#include <gtest/gtest.h>

#include "instrument/MemoryFifo.h"

TEST(MemoryFifo, NewQueueIsEmptyAndReadsAllOnes) {
    TMemoryFifo f;
    EXPECT_EQ(f.Size(), 20);
    EXPECT_TRUE(f.Empty());
    EXPECT_FALSE(f.Full());
    EXPECT_EQ(f.Get(), 0xFFFFFFFFu);
    EXPECT_TRUE(f.Empty());
}

TEST(MemoryFifo, TwentyFirstPutIsDroppedAndTheRestComeOutInOrder) {
    TMemoryFifo f;
    for (uint32_t i = 1; i <= 21; ++i) f.Put(i * 10);
    EXPECT_TRUE(f.Full());
    EXPECT_EQ(f.Count(), 20);
    for (uint32_t i = 1; i <= 20; ++i) {
        EXPECT_EQ(f.Get(), i * 10);
        EXPECT_FALSE(f.Full());
    }
    EXPECT_TRUE(f.Empty());
    EXPECT_EQ(f.Get(), 0xFFFFFFFFu);
}

TEST(MemoryFifo, ClearEmptiesAndAcceptsAgain) {
    TMemoryFifo f;
    for (int i = 0; i < 20; ++i) f.Put(7);
    f.Clear();
    EXPECT_TRUE(f.Empty());
    EXPECT_FALSE(f.Full());
    EXPECT_EQ(f.Get(), 0xFFFFFFFFu);
    f.Put(0xFFFFFFFFu);  // a count of -1 is a value like any other
    EXPECT_FALSE(f.Empty());
    EXPECT_EQ(f.Get(), 0xFFFFFFFFu);
    EXPECT_TRUE(f.Empty());
}

TEST(MemoryFifo, SizeBounds) {
    struct Case { uint8_t size; int accepted; };
    for (const Case c : {Case{1, 1}, Case{2, 2}, Case{255, 255}}) {
        TMemoryFifo f;
        f.SetSize(c.size);
        for (int i = 0; i < 300; ++i) f.Put(static_cast<uint32_t>(i));
        EXPECT_EQ(f.Count(), c.accepted) << int(c.size);
        EXPECT_TRUE(f.Full());
        for (int i = 0; i < c.accepted; ++i) EXPECT_EQ(f.Get(), static_cast<uint32_t>(i));
        EXPECT_TRUE(f.Empty());
    }
    TMemoryFifo f;
    f.SetSize(0);
    EXPECT_EQ(f.Size(), 20);
}

TEST(MemoryFifo, ShrinkingBelowTheCountKeepsEntriesAndRefusesNewOnes) {
    TMemoryFifo f;
    f.SetSize(255);
    for (uint32_t i = 0; i < 255; ++i) f.Put(i);
    f.SetSize(5);
    EXPECT_TRUE(f.Full());
    f.Put(999);  // no room: must not go past the slots
    EXPECT_EQ(f.Count(), 255);
    EXPECT_EQ(f.Get(), 0u);
    EXPECT_TRUE(f.Full());  // 254 held, still above the new size
    f.Put(999);
    EXPECT_EQ(f.Count(), 254);
    for (uint32_t i = 1; i < 251; ++i) EXPECT_EQ(f.Get(), i);
    EXPECT_EQ(f.Count(), 4);
    EXPECT_FALSE(f.Full());
    f.Put(999);
    EXPECT_TRUE(f.Full());
    for (uint32_t i = 251; i < 255; ++i) EXPECT_EQ(f.Get(), i);
    EXPECT_EQ(f.Get(), 999u);
    EXPECT_TRUE(f.Empty());
}
