// SPDX-License-Identifier: GPL-3.0-or-later
// A request to stop a run at its next safe point: from "Annulla", Ctrl+C or the system.
#pragma once

#include <atomic>
#include <stdexcept>

namespace calvorin {

enum class StopCause : int { None, User, Interrupt, Terminate };

// Set from the user's answer or from a signal handler, read by the run between two units of work. The
// first cause stays: a later request does not change why the run stopped.
class StopRequest {
  public:
    // Safe to call from a signal handler or another thread.
    void Request(StopCause cause) noexcept {
        int none = static_cast<int>(StopCause::None);
        cause_.compare_exchange_strong(none, static_cast<int>(cause));
    }
    bool Requested() const noexcept { return Cause() != StopCause::None; }
    StopCause Cause() const noexcept { return static_cast<StopCause>(cause_.load()); }
    // Before each run: a stop asked after the last one ended does not reach the next.
    void Clear() noexcept { cause_.store(static_cast<int>(StopCause::None)); }

  private:
    static_assert(std::atomic<int>::is_always_lock_free, "read and written by signal handlers");
    std::atomic<int> cause_{static_cast<int>(StopCause::None)};
};

// Thrown at a safe point once a stop was requested; each step takes it as any other failure, so its
// temporaries go and the previous files stay.
class RunStopped : public std::runtime_error {
  public:
    explicit RunStopped(StopCause cause);
};

}  // namespace calvorin
