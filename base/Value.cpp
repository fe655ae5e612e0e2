#include "base/Value.h"

namespace zorla {

const char* fieldTypeName(FieldType type) {
    switch (type) {
        case FieldType::Text:
            return "String";
        case FieldType::Integer:
            return "Integer";
        case FieldType::Decimal:
            return "BCD";
        case FieldType::Date:
            return "Date";
        case FieldType::Unsupported:
            break;
    }
    return "Unknown";
}

FieldType Value::type() const {
    if (text()) return FieldType::Text;
    if (integer()) return FieldType::Integer;
    if (decimal()) return FieldType::Decimal;
    if (date()) return FieldType::Date;
    return FieldType::Unsupported;
}

}  // namespace zorla
