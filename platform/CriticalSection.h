// A re-entrant critical section whose setup reports failure as an HRESULT.
#pragma once
#include <windows.h>

namespace trevik {

class CriticalSection {
public:
    CriticalSection() noexcept;
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    // S_OK, or E_OUTOFMEMORY when the platform cannot set the section up.
    HRESULT Setup() noexcept;
    // Destroys a section that was set up; does nothing otherwise.
    void Destroy() noexcept;
    bool IsSetUp() const noexcept { return setUp_; }

    void Enter() noexcept { EnterCriticalSection(&section_); }
    void Leave() noexcept { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
    bool setUp_ = false;
};

// Holds a critical section entered for the lifetime of the guard.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) noexcept : section_(section) { section_.Enter(); }
    ~CriticalSectionLock() { section_.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& section_;
};

}  // namespace trevik
