#include "files/FileFlow.h"

namespace zub {

struct GridSort::Share {
  GridOrder order;
  bool finished = true;
};

void GridSort::Start(LongWork& work, const FileGrid& grid, SortKey key, SortDirection direction,
                     std::size_t n, std::function<bool()> cancel) {
  share_ = std::make_shared<Share>();
  share_->order = grid.Order();
  work.Start(WorkKind::ReadingShown, [share = share_, &grid, key, direction, n,
                                      cancel = std::move(cancel)](WorkState& state) {
    share->finished = SortOrder(grid, key, direction, n, share->order,
                                [&] { return state.StopRequested() || (cancel && cancel()); });
  });
}

bool GridSort::Finish(FileGrid& grid) {
  if (!share_) {
    return true;
  }
  const bool finished = share_->finished;
  grid.SetOrder(std::move(share_->order));
  share_.reset();
  return finished;
}

std::string NotAnsweringText(const std::string& directory) {
  return directory + " does not answer";
}

}  // namespace zub
