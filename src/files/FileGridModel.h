// A Qt table model over a FileGrid: cells are read from the grid when the
// view paints them, so a million rows cost no item objects.
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
  // After one row's texts changed.
  void RowChanged(std::size_t row);

 private:
  FileGrid& grid_;
  QColor color_ = Qt::black;
};

}  // namespace zub
