#include "module/PerUserRegistration.h"

#include <atomic>

namespace trevik {
namespace {

// Every write stores true, so relaxed order is enough.
std::atomic<bool> perUserRegistration{false};

}  // namespace

bool PerUserRegistration()
{
    return perUserRegistration.load(std::memory_order_relaxed);
}

void EnablePerUserRegistration()
{
    perUserRegistration.store(true, std::memory_order_relaxed);
}

}  // namespace trevik
