#include "data/ResultTable.h"

#include <chrono>

namespace zorla {

Cell Cell::of(const Value& v) {
    Cell c;
    c.type = v.type();
    if (const std::string* t = v.text()) c.text = *t;
    if (const std::int64_t* n = v.integer()) c.number = *n;
    if (const Decimal* d = v.decimal()) c.number = d->cents;
    if (const Date* d = v.date()) c.number = std::chrono::sys_days{*d}.time_since_epoch().count();
    return c;
}

Value Cell::value() const {
    switch (type) {
        case FieldType::Text:
            return Value(std::string(text));
        case FieldType::Integer:
            return Value(number);
        case FieldType::Decimal:
            return Value(Decimal{number});
        case FieldType::Date:
            return Value(Date{std::chrono::sys_days{std::chrono::days{number}}});
        case FieldType::Unsupported:
            break;
    }
    return Value{};
}

}  // namespace zorla
