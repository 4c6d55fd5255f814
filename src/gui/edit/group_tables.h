#pragma once

#include "gui/edit/data_table.h"

namespace ampelsim::ui {

// The minimum green of every group in every program: a row per group, a
// column per program. Marked where the verifier finds a green shorter.
class MinimumGreenTable final : public DataTable {
 public:
  QString Caption() const override;
  QString ObjectName() const override;
  QStringList RowTitles(const ControllerDataSet& data) const override;
  QStringList ColumnTitles(const ControllerDataSet& data) const override;
  TableCell Cell(const edit::EditModel& model, int program, int row, int column) const override;
  Result<std::unique_ptr<edit::EditCommand>> Edit(const ControllerDataSet& data, int program,
                                                  int row, int column,
                                                  const TableCell& entered) const override;
};

// What each group's detector does in a program (prestore a demand, request
// or cancel a change on demand) and how long its demand is kept.
class DetectorAssignmentTable final : public DataTable {
 public:
  QString Caption() const override;
  QString ObjectName() const override;
  QStringList RowTitles(const ControllerDataSet& data) const override;
  QStringList ColumnTitles(const ControllerDataSet& data) const override;
  TableCell Cell(const edit::EditModel& model, int program, int row, int column) const override;
  Result<std::unique_ptr<edit::EditCommand>> Edit(const ControllerDataSet& data, int program,
                                                  int row, int column,
                                                  const TableCell& entered) const override;
};

// Which demand inputs (columns) also demand a group (rows) in a program.
class DemandAssignmentTable final : public DataTable {
 public:
  QString Caption() const override;
  QString ObjectName() const override;
  QStringList RowTitles(const ControllerDataSet& data) const override;
  QStringList ColumnTitles(const ControllerDataSet& data) const override;
  TableCell Cell(const edit::EditModel& model, int program, int row, int column) const override;
  Result<std::unique_ptr<edit::EditCommand>> Edit(const ControllerDataSet& data, int program,
                                                  int row, int column,
                                                  const TableCell& entered) const override;
};

}  // namespace ampelsim::ui
