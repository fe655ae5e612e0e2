#pragma once

#include <string>
#include <vector>

#include "Value.h"

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

}  // namespace zorla
