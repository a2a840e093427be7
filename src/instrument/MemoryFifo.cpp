#include "instrument/MemoryFifo.h"

#include <algorithm>

void TMemoryFifo::Put(uint32_t word) {
    // The count test guards the array even if the flags were left over from a larger size.
    if (full_ || count_ >= size_ || count_ >= kSlots) return;
    slots_[count_] = word;
    ++count_;
    full_ = count_ >= size_;
    empty_ = false;
}

uint32_t TMemoryFifo::Get() {
    if (empty_ || count_ == 0) return 0xFFFFFFFFu;
    const uint32_t word = slots_[0];
    std::copy(slots_.begin() + 1, slots_.begin() + count_, slots_.begin());
    --count_;
    empty_ = count_ == 0;
    full_ = count_ >= size_;
    return word;
}

void TMemoryFifo::Clear() {
    count_ = 0;
    full_ = false;
    empty_ = true;
}

void TMemoryFifo::SetSize(uint8_t size) {
    if (size == 0) return;
    size_ = size;
    full_ = count_ >= size_;
}
