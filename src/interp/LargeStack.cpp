#include "interp/LargeStack.h"

#include <pthread.h>

#include <exception>
#include <system_error>

namespace tesmora {
namespace {

struct ThreadJob {
  const std::function<int()>* body = nullptr;
  int result = 0;
  std::exception_ptr error;
};

void* runJob(void* argument) {
  auto* job = static_cast<ThreadJob*>(argument);
  try {
    job->result = (*job->body)();
  } catch (...) {
    job->error = std::current_exception();
  }
  return nullptr;
}

// Starts the thread; false when the system cannot give it this stack.
bool startThread(pthread_t& thread, ThreadJob& job, std::size_t stackBytes) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  const bool started =
      pthread_attr_setstacksize(&attributes, stackBytes) == 0 &&
      pthread_create(&thread, &attributes, runJob, &job) == 0;
  pthread_attr_destroy(&attributes);
  return started;
}

}  // namespace

int runOnLargeStack(const std::function<int()>& body, std::size_t stackBytes) {
  constexpr std::size_t kSmallestStack = std::size_t{16} << 20;
  ThreadJob job;
  job.body = &body;
  pthread_t thread;
  std::size_t size = stackBytes;
  while (!startThread(thread, job, size)) {
    if (size <= kSmallestStack) {
      throw std::system_error(
          std::make_error_code(std::errc::resource_unavailable_try_again),
          "cannot start the interpreter thread");
    }
    size /= 2;
  }
  pthread_join(thread, nullptr);
  if (job.error) std::rethrow_exception(job.error);
  return job.result;
}

}  // namespace tesmora
