#pragma once

// The columns of the ordering screen's line list, shared by its source files.
namespace diancan_list {

enum Column {
    ColNumber,
    ColId,
    ColTitle,
    ColMethods,
    ColPrice,
    ColQuantity,
    ColAmount,
    ColStat,
    ColRemark,
    ColumnCount
};

} // namespace diancan_list
