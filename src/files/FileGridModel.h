// A Qt table model over a FileGrid: cells are read from the grid when the
// view paints them, so a million rows cost no item objects; rows added while
// a walk runs are announced in batches.
#pragma once

#include <QAbstractTableModel>
#include <QColor>

#include "files/FileGrid.h"

namespace zub {

class FileGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  FileGridModel(FileGrid& grid, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void SetTextColor(const QColor& color);
  // After the grid changed its rows or their order.
  void Reload();
  // After rows were added at the end of the grid.
  void RowsAppended();
  // After one row's texts changed.
  void RowChanged(std::size_t row);

 private:
  FileGrid& grid_;
  // The rows the views know of: rows added to the grid count once announced.
  int shown_ = 0;
  QColor color_ = Qt::black;
};

}  // namespace zub
