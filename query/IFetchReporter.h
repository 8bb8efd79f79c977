#pragma once

#include "server/HResult.h"

// How a fetch worker tells the user something. The worker never touches a
// widget: the progress dialog implements this by running the message on the
// UI thread and waiting for it.
class IFetchReporter {
public:
  virtual ~IFetchReporter() = default;
  // A server failure, with the string id of its context ("Request failed."
  // or "Read data failed."); the program ends after the message.
  virtual void reportServerError(HRESULT code, int contextStringId) = 0;
  // "No data is available for the time period specified."
  virtual void showNoData() = 0;
};
