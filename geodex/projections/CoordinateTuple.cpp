#include "geodex/projections/CoordinateTuple.h"

#include <cstring>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define GEODEX_RECYCLE_TUPLES 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GEODEX_RECYCLE_TUPLES 0
#endif
#endif
#ifndef GEODEX_RECYCLE_TUPLES
#define GEODEX_RECYCLE_TUPLES 1
#endif

namespace Orvale::Geodex {

#if GEODEX_RECYCLE_TUPLES
namespace {

// Every recycled block has this size, enough for each tuple class (the largest is 1 040 bytes), so a
// block freed by one tuple class serves any other. Larger objects go straight to the heap.
constexpr std::size_t kBlockSize = 1088;
// A thread keeps at most this many free blocks (about 280 kB); further ones go back to the heap.
constexpr int kMaxFreeBlocks = 256;

struct FreeBlock {
    FreeBlock* next;
};

// Constant-initialised and trivially destructible, so it can be read at any moment of the thread's
// life, also while the thread's destructors run.
struct FreeList {
    FreeBlock* head;
    int count;
    bool releaseArmed;  // the thread's FreeListRelease exists
    bool closed;        // the thread is ending: free blocks at once
};
thread_local FreeList freeList = {nullptr, 0, false, false};

// Returns the thread's free blocks to the heap when the thread ends (the main thread's at exit).
struct FreeListRelease {
    ~FreeListRelease() {
        freeList.closed = true;
        while (freeList.head) {
            FreeBlock* block = freeList.head;
            freeList.head = block->next;
            ::operator delete(block);
        }
        freeList.count = 0;
    }
};

void armRelease() {
    static thread_local FreeListRelease release;
    (void)release;
    freeList.releaseArmed = true;
}

}  // namespace

void* CoordinateTuple::operator new(std::size_t size) {
    if (size > kBlockSize) return ::operator new(size);
    if (FreeBlock* block = freeList.head) {
        freeList.head = block->next;
        --freeList.count;
        return block;
    }
    return ::operator new(kBlockSize);
}

void CoordinateTuple::operator delete(void* block, std::size_t size) noexcept {
    if (block == nullptr) return;
    if (size > kBlockSize || freeList.closed || freeList.count >= kMaxFreeBlocks) {
        ::operator delete(block);
        return;
    }
    if (!freeList.releaseArmed) armRelease();
    FreeBlock* const free = ::new (block) FreeBlock{freeList.head};
    freeList.head = free;
    ++freeList.count;
}
#else
void* CoordinateTuple::operator new(std::size_t size) { return ::operator new(size); }
void CoordinateTuple::operator delete(void* block, std::size_t) noexcept { ::operator delete(block); }
#endif

CoordinateTuple::CoordinateTuple(int type) : coordinateType_(type) {
    errorMessage_[0] = '\0';
    warningMessage_[0] = '\0';
}

CoordinateTuple::CoordinateTuple(int type, const char* warning) : CoordinateTuple(type) {
    setWarning(warning);
}

CoordinateTuple::~CoordinateTuple() = default;

int CoordinateTuple::coordinateType() const { return coordinateType_; }
const char* CoordinateTuple::errorMessage() const { return errorMessage_; }
const char* CoordinateTuple::warningMessage() const { return warningMessage_; }

void CoordinateTuple::setWarning(const char* text) {
    // Copies at most kMessageSize − 1 characters and terminates (no padding of the unused rest).
    std::size_t length = 0;
    if (text)
        while (length < kMessageSize - 1 && text[length] != '\0') ++length;
    if (length > 0) std::memcpy(warningMessage_, text, length);
    warningMessage_[length] = '\0';
}

}  // namespace Orvale::Geodex
