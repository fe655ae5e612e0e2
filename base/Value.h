#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <variant>

namespace zorla {

using Date = std::chrono::year_month_day;

// Exact amount in hundredths: every amount of the system has two decimals.
struct Decimal {
    std::int64_t cents = 0;
    friend bool operator==(Decimal, Decimal) = default;
};

enum class FieldType { Text, Integer, Decimal, Date, Unsupported };

const char* fieldTypeName(FieldType type);

// One value of a result column or a parameter. Text is kept as the bytes the database sent.
class Value {
public:
    Value() = default;
    Value(std::string text) : m_v(std::move(text)) {}
    Value(const char* text) : m_v(std::string(text)) {}
    Value(std::int64_t integer) : m_v(integer) {}
    Value(int integer) : m_v(std::int64_t{integer}) {}
    Value(Decimal decimal) : m_v(decimal) {}
    Value(Date date) : m_v(date) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    FieldType type() const;

    const std::string* text() const { return std::get_if<std::string>(&m_v); }
    const std::int64_t* integer() const { return std::get_if<std::int64_t>(&m_v); }
    const Decimal* decimal() const { return std::get_if<Decimal>(&m_v); }
    const Date* date() const { return std::get_if<Date>(&m_v); }

    friend bool operator==(const Value&, const Value&) = default;

private:
    std::variant<std::monostate, std::string, std::int64_t, Decimal, Date> m_v;
};

}  // namespace zorla
