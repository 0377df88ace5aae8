// One cancellation point for every long computation.
//
// The long-run question, the desktop's Stop command, closing the window
// during a run and the runner's --timeout all end a run the same way: they
// set the stop flag of the interpreter context, and the next poll raises
// "Выполнение прекращено пользователем". The statement loop polls at every
// statement start; builtins that loop for long (matrix power and product,
// integration, root finding, sampling, sorting, substitution) call
// pollStop() inside their loops, so no single call can outlast a Stop.
#pragma once

namespace tesmora {

// Raises "Выполнение прекращено пользователем" when a stop was requested;
// every kLongRunPollInterval-th call also asks the long-run question once
// the run's time limit has passed. Cheap enough for inner loops.
void pollStop();

// Marks the calling thread as a helper of a loop shared between threads
// (values/ParallelLoop.h): its polls do nothing, since the interpreter's
// thread polls for the whole loop and alone may ask the user.
void leavePollsToInterpreterThread();

// Asks the running program to stop at its next poll. Safe to call from any
// thread (the desktop's user-interface thread, the runner's timer).
void requestStop();

}  // namespace tesmora
