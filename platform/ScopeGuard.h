// Runs an action when a scope ends, on every path: for what is given back
// without a handle of its own, such as a thread setting.
#pragma once
#include <utility>

namespace trevik {

template <class Action>
class ScopeGuard {
public:
    explicit ScopeGuard(Action action) noexcept : action_(std::move(action)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard() { action_(); }

private:
    Action action_;
};

}  // namespace trevik
