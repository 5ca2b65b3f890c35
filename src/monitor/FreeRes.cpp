#include "monitor/FreeRes.h"

namespace zub {

int QueryFreeResources(ResourceSource& source, int index) {
  // Read afresh on every call: the figures are live.
  const ResourceReading reading = source.Read(index);
  switch (reading.status) {
    case ResourceReading::Status::TableUnavailable:
      throw ResourceError("Cannot load USER.EXE");
    case ResourceReading::Status::CountUnavailable:
      throw ResourceError("Cannot get address of GetFreeSystemResources");
    case ResourceReading::Status::Ok:
      break;
  }
  if (reading.freePercent < 0) {
    return 0;
  }
  return reading.freePercent > 100 ? 100 : reading.freePercent;
}

}  // namespace zub
