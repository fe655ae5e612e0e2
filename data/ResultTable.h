#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Value.h"

namespace zorla {

struct ColumnInfo {
    std::string name;
    FieldType type = FieldType::Unsupported;
    std::string sqlTypeName;  // for messages about a column of the wrong type
};

// One value of a row as it is handed over or read back: it owns nothing, and a text views bytes that live only as
// long as the call or the rows it comes from.
struct Cell {
    FieldType type = FieldType::Unsupported;  // Unsupported: null
    std::int64_t number = 0;                  // an integer; a decimal in hundredths; a date in days since 1970-01-01
    std::string_view text;

    bool isNull() const { return type == FieldType::Unsupported; }
    static Cell of(const Value& value);
    Value value() const;
};

// A whole small result, for tests and other sources that hold their rows.
struct ResultTable {
    std::vector<ColumnInfo> columns;
    std::vector<std::vector<Value>> rows;
};

// Takes a result as it arrives, a row at a time, so a large result is never held twice.
class RowReceiver {
public:
    virtual ~RowReceiver() = default;
    // False when the rows of those columns are not wanted: the result ends there, before any row.
    virtual bool columns(const std::vector<ColumnInfo>& columns) = 0;
    // One cell per column; the cells are valid during the call only.
    virtual void row(std::span<const Cell> cells) = 0;
};

}  // namespace zorla
