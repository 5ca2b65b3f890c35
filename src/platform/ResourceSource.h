// Free share of the three bounded system tables that stand for the classic
// System, GDI and User resource heaps.
#pragma once

namespace zub {

struct ResourceReading {
  enum class Status {
    Ok,
    TableUnavailable,  // the table's limit cannot be read
    CountUnavailable,  // the table's use cannot be counted
  };
  Status status = Status::Ok;
  int freePercent = 0;  // 0 to 100 when Ok
};

class ResourceSource {
 public:
  virtual ~ResourceSource() = default;

  // index 0 System, 1 GDI, 2 User.
  virtual ResourceReading Read(int index) = 0;
};

}  // namespace zub
