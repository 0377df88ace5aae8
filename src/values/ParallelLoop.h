// Loops over many independent elements, shared between this thread and
// helper threads when there are enough elements to pay for them.
//
// Only routines without side effects may run this way: the helpers call
// them at the same time as this thread, in no particular order. What a
// caller sees is what a loop in order gives: every element computed by the
// same routine (so the same bits), and of the elements that raise an
// error, the error of the first.
#pragma once

#include <functional>

namespace tesmora {

// Below this many elements everything runs on the calling thread.
inline constexpr int kParallelElements = 1 << 15;

// Calls block(begin, end) once for each of consecutive blocks covering
// [0, count). The calling thread polls for a stop between its blocks (a
// stop ends the loop after the helpers have finished their current
// block). When blocks throw, the exception of the block that starts first
// is rethrown once every thread has finished; blocks after it may not
// have run.
void forEachBlock(int count, const std::function<void(int begin, int end)>& block);

}  // namespace tesmora
