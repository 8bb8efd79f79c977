#include "sim/WorkerPool.h"

#include <algorithm>

WorkerPool::WorkerPool(int threads) {
  const int n = std::max(1, threads);
  m_threads.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) m_threads.emplace_back([this] { run(); });
}

WorkerPool::~WorkerPool() {
  stop();
}

bool WorkerPool::submit(std::function<void()> task) {
  {
    std::lock_guard lock(m_mutex);
    if (m_stopping) return false;
    m_tasks.push_back(std::move(task));
  }
  m_wake.notify_one();
  return true;
}

void WorkerPool::stop() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    dropped.swap(m_tasks);
  }
  m_wake.notify_all();
  for (std::thread& t : m_threads)
    if (t.joinable()) t.join();
  // `dropped` releases what the tasks captured here, on the stopping thread.
}

void WorkerPool::run() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
      if (m_stopping) return;
      task = std::move(m_tasks.front());
      m_tasks.pop_front();
    }
    task();
  }
}
