#pragma once

#include <map>
#include <string>
#include <vector>

#include "data/ClientDataSet.h"
#include "data/ResultTable.h"

namespace zorla::test {

using Row = std::map<std::string, Value>;

// A result holding every declared column of the dataset, null unless the row gives a value.
inline ResultTable memoryTable(const ClientDataSet& ds, const std::vector<Row>& rows) {
    ResultTable table;
    for (const FieldDef& f : ds.fields())
        if (!f.calculated) table.columns.push_back(ColumnInfo{f.name, f.type, fieldTypeName(f.type)});
    for (const Row& row : rows) {
        std::vector<Value> values;
        for (const ColumnInfo& c : table.columns) {
            auto it = row.find(c.name);
            values.push_back(it == row.end() ? Value{} : it->second);
        }
        table.rows.push_back(std::move(values));
    }
    return table;
}

}  // namespace zorla::test
