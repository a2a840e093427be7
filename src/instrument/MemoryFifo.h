#pragma once
// Bounded queue of raw interferometer counts between the serial frame parser and the reading
// thread's drain routine. Both ends run on the user-interface thread, so there is no lock.
#include <array>
#include <cstdint>

class TMemoryFifo {
public:
    static constexpr int kSlots = 255;

    TMemoryFifo() = default;

    // Full: the word is dropped.
    void Put(uint32_t word);
    // Empty: all ones, nothing changes. Test Empty() first: the value equals a count of -1.
    uint32_t Get();
    void Clear();

    uint8_t Size() const { return size_; }
    // 0 is ignored. A size below the entries held keeps them (they still come out in order)
    // and refuses new ones until the queue has drained below the new size.
    void SetSize(uint8_t size);

    bool Full() const { return full_; }
    bool Empty() const { return empty_; }
    int Count() const { return count_; }

private:
    uint8_t size_ = 20;
    std::array<uint32_t, kSlots> slots_{};  // slots_[0] is always the oldest entry
    uint8_t count_ = 0;
    bool full_ = false;
    bool empty_ = true;
};
