#pragma once
// The operator list: rows of table admin, kept in the operator window's grid.

#include "app/data/dataset.h"

namespace pemvora::app {

// "增 加": the current row into edit mode, then a new empty row at the end.
void addOperatorRow(data::Dataset& users);
// "删除": the current row into edit mode, then deleted unless it is the last
// operator left (then nothing happens and nothing is said).
void deleteOperatorRow(data::Dataset& users);

} // namespace pemvora::app
