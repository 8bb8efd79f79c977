#pragma once

#include <cstdint>
#include <memory>
#include <string>

class INembraDataServer;
class IServerObjects;

// What a progress dialog needs of the session for one request: the data
// object to lend its worker, and for the threshold read the object factory,
// the data class, the port and the token.
struct FetchTarget {
  std::shared_ptr<INembraDataServer> data;
  IServerObjects* objects = nullptr;
  std::string dataClass;
  int32_t node = 0;
  int32_t token = -1;
};
