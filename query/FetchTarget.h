#pragma once

#include <cstdint>
#include <memory>
#include <string>

class INembraDataServer;
class IServerObjects;

// What a fetch needs of the session for one request: the data object, and
// for the threshold read the object factory, the data class, the port and
// the token. The job keeps its own references, so the session may replace
// its objects while a fetch still runs.
struct FetchTarget {
  std::shared_ptr<INembraDataServer> data;
  std::shared_ptr<IServerObjects> objects;
  std::string dataClass;
  int32_t node = 0;
  int32_t token = -1;
};
