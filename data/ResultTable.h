#pragma once

#include <string>
#include <vector>

#include "base/Value.h"

namespace zorla {

struct ColumnInfo {
    std::string name;
    FieldType type = FieldType::Unsupported;
    std::string sqlTypeName;  // for messages about a column of the wrong type
};

// Everything one opening fetched, in the order received.
struct ResultTable {
    std::vector<ColumnInfo> columns;
    std::vector<std::vector<Value>> rows;
};

// Takes a result as it arrives, a row at a time, so a large result is never held twice.
class RowReceiver {
public:
    virtual ~RowReceiver() = default;
    virtual void columns(const std::vector<ColumnInfo>& columns) = 0;
    // The receiver may move the values out; the vector is reused for the next row.
    virtual void row(std::vector<Value>& values) = 0;
};

}  // namespace zorla
