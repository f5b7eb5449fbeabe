#include "platform/mupdf/FitzContext.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace qpmupdf {

namespace {

// The books of one context's allocator. A context is used by one thread at a time, but a page run
// sets refusing from the watching thread, hence the atomics.
struct MemoryAccount
{
    size_t cap = 0;
    std::atomic<size_t> used{0};
    std::atomic<bool> refusing{false};
    bool uncounted = false;
    // When the cap refuses a request, MuPDF empties its cache and asks again for the same size
    // until it gets the memory or there is nothing left to free. A refusal counts as final once
    // MuPDF goes on with a different request (or never asks again).
    size_t pendingRefusal = 0;
    size_t finalRefusals = 0;
};

// Every block starts with its size and whether it counts, in a header that keeps the block's
// alignment.
struct alignas(alignof(std::max_align_t)) BlockHeader
{
    size_t size;
    bool counted;
};

void noteRequest(MemoryAccount* account, size_t request, bool refused)
{
    if (account->pendingRefusal && account->pendingRefusal != request)
        ++account->finalRefusals;
    account->pendingRefusal = refused ? request : 0;
}

// Takes growth bytes for a block of request bytes from the account; false when the cap refuses.
bool take(MemoryAccount* account, size_t growth, size_t request)
{
    if (account->refusing)
        return false;
    if (account->uncounted || growth == 0)
        return true;
    const size_t before = account->used.fetch_add(growth);
    const bool refused = before + growth > account->cap || before + growth < before;
    if (refused)
        account->used.fetch_sub(growth);
    noteRequest(account, request, refused);
    return !refused;
}

void give(MemoryAccount* account, const BlockHeader* header)
{
    if (header->counted)
        account->used.fetch_sub(header->size);
}

void* allocate(void* user, size_t size)
{
    auto* account = static_cast<MemoryAccount*>(user);
    if (size > SIZE_MAX - sizeof(BlockHeader) || !take(account, size, size))
        return nullptr;
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (!header) {
        if (!account->uncounted)
            account->used.fetch_sub(size);
        return nullptr;
    }
    header->size = size;
    header->counted = !account->uncounted;
    return header + 1;
}

void release(void* user, void* block)
{
    if (!block)
        return;
    auto* header = static_cast<BlockHeader*>(block) - 1;
    give(static_cast<MemoryAccount*>(user), header);
    std::free(header);
}

void* reallocate(void* user, void* block, size_t size)
{
    if (!block)
        return allocate(user, size);
    auto* account = static_cast<MemoryAccount*>(user);
    auto* header = static_cast<BlockHeader*>(block) - 1;
    const size_t old = header->size;
    const bool counted = header->counted;
    if (size > SIZE_MAX - sizeof(BlockHeader))
        return nullptr;
    // A block keeps its kind: an uncounted one grows uncounted.
    if (size > old && account->refusing)
        return nullptr;
    if (counted && size > old && !take(account, size - old, size))
        return nullptr;
    auto* moved = static_cast<BlockHeader*>(std::realloc(header, sizeof(BlockHeader) + size));
    if (!moved) {
        if (counted && size > old)
            account->used.fetch_sub(size - old);
        return nullptr;
    }
    if (counted && size < old)
        account->used.fetch_sub(old - size);
    moved->size = size;
    return moved + 1;
}

MemoryAccount* accountOf(fz_context* ctx)
{
    if (!ctx || ctx->alloc.malloc != allocate)
        return nullptr;
    return static_cast<MemoryAccount*>(ctx->alloc.user);
}

void quiet(void*, const char* message)
{
    static const bool show = std::getenv("QP_MUPDF_DEBUG") != nullptr;
    if (show)
        std::fprintf(stderr, "mupdf: %s\n", message);
}

} // namespace

void ContextDeleter::operator()(fz_context* ctx) const
{
    MemoryAccount* account = accountOf(ctx);
    fz_drop_context(ctx);
    delete account;
}

ContextPtr newContext(size_t cap)
{
    auto* account = new MemoryAccount;
    account->cap = cap;
    const fz_alloc_context allocator = {account, allocate, reallocate, release};
    fz_context* ctx = fz_new_context(&allocator, nullptr, FZ_STORE_DEFAULT);
    if (!ctx) {
        delete account;
        return nullptr;
    }
    fz_set_warning_callback(ctx, quiet, nullptr);
    fz_set_error_callback(ctx, quiet, nullptr);
    return ContextPtr(ctx);
}

size_t memoryInUse(fz_context* ctx)
{
    MemoryAccount* account = accountOf(ctx);
    return account ? account->used.load() : 0;
}

size_t memoryCapOf(fz_context* ctx)
{
    MemoryAccount* account = accountOf(ctx);
    return account ? account->cap : memoryCap;
}

size_t capRefusals(fz_context* ctx)
{
    MemoryAccount* account = accountOf(ctx);
    if (!account)
        return 0;
    return account->finalRefusals + (account->pendingRefusal ? 1 : 0);
}

bool chargeMemory(fz_context* ctx, size_t bytes)
{
    MemoryAccount* account = accountOf(ctx);
    if (!account)
        return true;
    if (account->uncounted)
        return !account->refusing;
    return take(account, bytes, bytes);
}

void releaseMemory(fz_context* ctx, size_t bytes)
{
    if (MemoryAccount* account = accountOf(ctx))
        account->used.fetch_sub(bytes);
}

UncountedMemory::UncountedMemory(fz_context* ctx)
    : m_ctx(ctx)
{
    if (MemoryAccount* account = accountOf(m_ctx))
        account->uncounted = true;
}

UncountedMemory::~UncountedMemory()
{
    if (MemoryAccount* account = accountOf(m_ctx))
        account->uncounted = false;
}

void refuseMemory(fz_context* ctx, bool refuse)
{
    if (MemoryAccount* account = accountOf(ctx))
        account->refusing = refuse;
}

} // namespace qpmupdf
