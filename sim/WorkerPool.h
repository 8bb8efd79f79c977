#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A fixed set of threads that run submitted tasks in order. stop() (also the
// destructor) joins every thread; tasks still queued then are dropped, so a
// task must hold nothing it needs to run to keep the program consistent.
class WorkerPool {
public:
  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // False once the pool has stopped.
  bool submit(std::function<void()> task);
  void stop();

private:
  void run();

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_tasks;
  bool m_stopping = false;
  std::vector<std::thread> m_threads;
};
