#pragma once

#include <string>

#include "base/Value.h"

namespace zorla {

// A declared field of a dataset: bound by name to a result column, or calculated in memory.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    int size = 0;             // text: characters
    bool fixedWidth = false;  // text: a CHAR column
    bool calculated = false;
    std::string displayFormat;  // e.g. "#,##0.00"; applied only when shown
};

}  // namespace zorla
