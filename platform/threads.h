// Starting a thread can fail (a process or user thread limit, memory). Every thread of ours is
// started through a ThreadStarter, so that the failure is a return value the caller plans for,
// and so that tests can refuse any one start.
#pragma once

#include <functional>
#include <thread>

namespace mirvane::platform {

// Starts `body` on a new thread and returns it; a thread that is not joinable when the system
// refuses one, and `body` is then destroyed without having run. Never throws.
using ThreadStarter = std::function<std::jthread(std::function<void()> body)>;

// The system's own starter.
std::jthread StartThread(std::function<void()> body) noexcept;

// Qt's image operations (scaling, format conversion, large fills) split their work over Qt's
// global thread pool and wait for it, and a pool thread that fails to start is never noticed:
// the wait would never end. So the pool's threads are started here, once, before any image work,
// and kept for the whole run. False when one could not be started; the program must then do no
// image work, and must not wait for the pool at exit either. Call before the application object
// exists, on the main thread.
bool StartImageThreads();

}  // namespace mirvane::platform
