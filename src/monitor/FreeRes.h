// The free share of one of the three resource tables, raising the classic
// error texts when the figure cannot be had.
#pragma once

#include <stdexcept>

#include "platform/ResourceSource.h"

namespace zub {

class ResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// index 0 System, 1 GDI, 2 User; 0 to 100. Throws ResourceError with
// "Cannot load USER.EXE" or "Cannot get address of GetFreeSystemResources".
int QueryFreeResources(ResourceSource& source, int index);

}  // namespace zub
