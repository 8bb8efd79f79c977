#include "query/FetchPacing.h"

#include <thread>

void FetchPacing::wait(std::chrono::milliseconds d) const {
  if (sleep)
    sleep(d);
  else
    std::this_thread::sleep_for(d);
}
