// One thread kept for the whole run, to share a loop with the thread that
// calls. It sleeps between loops: waking it costs a few microseconds, where
// a thread started for each loop costs tens, and on a busy machine often
// milliseconds, since the system first queues a new thread on the core of
// the thread that starts it, which is busy with the loop. The caller never
// waits for the spare thread to wake: a loop that the spare thread has not
// picked up by the time the caller is done is taken back from it.
#pragma once

#include <functional>

namespace tesmora {

// Runs work(false) on the calling thread and, when the spare thread is free
// (not sharing another caller's loop) and picks the loop up in time,
// work(true) on the spare thread at the same time. Returns, or rethrows
// what work(false) threw, once work(false) has returned and work(true),
// if it started, too: work(false) must make work(true) return soon when it
// throws. work(true) must not throw. Without a second core only work(false)
// runs.
void shareWithSpareThread(const std::function<void(bool onSpare)>& work);

}  // namespace tesmora
