#include "data/ClientDataSet.h"

#include <chrono>
#include <cstdio>

#include "data/DataSetProvider.h"
#include "data/DbError.h"
#include "base/TextUtil.h"

namespace zorla {

namespace {
const Value kNull;

bool compatible(FieldType field, FieldType column) {
    return field == column || (field == FieldType::Decimal && column == FieldType::Integer);
}
}  // namespace

const Value& FieldRef::value() const { return m_ds->valueAt(m_index); }
const FieldDef& FieldRef::def() const { return m_ds->m_fields[static_cast<std::size_t>(m_index)]; }

std::string FieldRef::asString() const {
    const Value& v = value();
    if (const std::string* t = v.text()) return *t;
    if (const std::int64_t* n = v.integer()) return std::to_string(*n);
    if (const Decimal* d = v.decimal()) {
        std::int64_t c = d->cents;
        std::string sign = c < 0 ? "-" : "";
        std::uint64_t a = c < 0 ? static_cast<std::uint64_t>(-(c + 1)) + 1 : static_cast<std::uint64_t>(c);
        char frac[3];
        std::snprintf(frac, sizeof frac, "%02u", static_cast<unsigned>(a % 100));
        return sign + std::to_string(a / 100) + "." + frac;
    }
    if (const Date* dt = v.date()) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02u/%02u/%04d", static_cast<unsigned>(dt->day()),
                      static_cast<unsigned>(dt->month()), static_cast<int>(dt->year()));
        return buf;
    }
    return {};
}

std::int64_t FieldRef::asInteger() const {
    const Value& v = value();
    if (const std::int64_t* n = v.integer()) return *n;
    if (v.isNull()) return 0;
    throw DbError(m_ds->name() + ": field '" + def().name + "' cannot be read as an integer");
}

Decimal FieldRef::asDecimal() const {
    const Value& v = value();
    if (const Decimal* d = v.decimal()) return *d;
    if (const std::int64_t* n = v.integer()) return Decimal{*n * 100};
    if (v.isNull()) return Decimal{};
    throw DbError(m_ds->name() + ": field '" + def().name + "' cannot be read as a decimal");
}

std::optional<Date> FieldRef::asDate() const {
    const Value& v = value();
    if (const Date* d = v.date()) return *d;
    if (v.isNull()) return std::nullopt;
    throw DbError(m_ds->name() + ": field '" + def().name + "' cannot be read as a date");
}

void ClientDataSet::addField(FieldDef def) {
    m_index[upperAscii(def.name)] = static_cast<int>(m_fields.size());
    m_fields.push_back(std::move(def));
    m_declared = true;
}

void ClientDataSet::setProvider(const DataSetProvider& provider) {
    m_provider = [&provider](RowReceiver& receiver) { provider.getData(receiver); };
}

void ClientDataSet::setProvider(std::function<ResultTable()> table) {
    m_provider = [table = std::move(table)](RowReceiver& receiver) {
        ResultTable t = table();
        receiver.columns(t.columns);
        for (auto& row : t.rows) receiver.row(row);
    };
}

// Checks the columns against the declared fields before any row is taken, then files each row under its fields.
class ClientDataSet::Loader : public RowReceiver {
public:
    explicit Loader(ClientDataSet& ds) : m_ds(ds), m_rows(std::make_shared<Rows>()) {}

    void columns(const std::vector<ColumnInfo>& columns) override {
        if (!m_ds.m_declared) {
            m_ds.m_fields.clear();
            m_ds.m_index.clear();
            for (const ColumnInfo& c : columns) {
                FieldDef def;
                def.name = c.name;
                def.type = c.type;
                m_ds.m_index[upperAscii(c.name)] = static_cast<int>(m_ds.m_fields.size());
                m_ds.m_fields.push_back(std::move(def));
            }
        }
        m_source.assign(m_ds.m_fields.size(), -1);
        for (std::size_t f = 0; f < m_ds.m_fields.size(); ++f) {
            const FieldDef& def = m_ds.m_fields[f];
            if (def.calculated) continue;
            for (std::size_t c = 0; c < columns.size() && m_source[f] < 0; ++c)
                if (equalsIgnoreCase(columns[c].name, def.name)) m_source[f] = static_cast<int>(c);
            if (m_source[f] < 0) throw DbError(m_ds.m_name + ": Field '" + def.name + "' not found");
            const ColumnInfo& col = columns[static_cast<std::size_t>(m_source[f])];
            if (!compatible(def.type, col.type))
                throw DbError(m_ds.m_name + ": Type mismatch for field '" + def.name + "', expecting: " +
                              fieldTypeName(def.type) + " actual: " + col.sqlTypeName);
        }
    }

    void row(std::vector<Value>& in) override {
        std::vector<Value> out(m_source.size());
        for (std::size_t f = 0; f < m_source.size(); ++f) {
            if (m_source[f] < 0) continue;
            Value& v = in[static_cast<std::size_t>(m_source[f])];
            if (m_ds.m_fields[f].type == FieldType::Decimal && v.integer())
                out[f] = Value(Decimal{*v.integer() * 100});
            else
                out[f] = std::move(v);
        }
        m_rows->push_back(std::move(out));
    }

    std::shared_ptr<Rows> rows() { return std::move(m_rows); }

private:
    ClientDataSet& m_ds;
    std::shared_ptr<Rows> m_rows;
    std::vector<int> m_source;  // result column of each field; -1 for calculated ones
};

void ClientDataSet::checkActive() const {
    if (!m_active) throw DbError(m_name + ": Cannot perform this operation on a closed dataset");
}

void ClientDataSet::open() {
    if (m_active) return;
    if (!m_provider) throw DbError(m_name + ": Missing data provider or data packet");
    Loader loader(*this);
    m_provider(loader);
    auto rows = loader.rows();

    m_rows = std::move(rows);
    m_active = true;
    if (OnCalcFields) {
        // Calculated over every row, whatever the filter lets through.
        m_visible.resize(m_rows->size());
        for (std::size_t r = 0; r < m_rows->size(); ++r) m_visible[r] = static_cast<int>(r);
        m_inCalc = true;
        try {
            for (m_cursor = 0; m_cursor < m_visible.size(); ++m_cursor) OnCalcFields(*this);
        } catch (...) {
            m_inCalc = false;
            close();
            throw;
        }
        m_inCalc = false;
    }
    rebuildVisible();
    first();
}

void ClientDataSet::close() {
    m_active = false;
    m_rows = std::make_shared<Rows>();
    m_visible.clear();
    m_cursor = 0;
    m_eof = true;
    if (!m_declared) {
        m_fields.clear();
        m_index.clear();
    }
}

int ClientDataSet::recordCount() const {
    checkActive();
    return static_cast<int>(m_visible.size());
}

void ClientDataSet::first() {
    checkActive();
    m_cursor = 0;
    m_eof = m_visible.empty();
}

void ClientDataSet::next() {
    checkActive();
    if (m_cursor + 1 < m_visible.size())
        ++m_cursor;
    else
        m_eof = true;
}

bool ClientDataSet::eof() const {
    checkActive();
    return m_eof;
}

int ClientDataSet::recNo() const {
    checkActive();
    return m_visible.empty() ? 0 : static_cast<int>(m_cursor) + 1;
}

int ClientDataSet::fieldIndex(std::string_view name) const {
    auto it = m_index.find(upperAscii(name));
    if (it == m_index.end()) throw DbError(m_name + ": Field '" + std::string(name) + "' not found");
    return it->second;
}

const Value& ClientDataSet::valueAt(int fieldIndex) const {
    checkActive();
    if (m_visible.empty()) return kNull;
    return (*m_rows)[static_cast<std::size_t>(m_visible[m_cursor])][static_cast<std::size_t>(fieldIndex)];
}

void ClientDataSet::setCalcValue(std::string_view name, Value value) {
    int f = fieldIndex(name);
    if (!m_inCalc || !m_fields[static_cast<std::size_t>(f)].calculated)
        throw DbError(m_name + ": Field '" + std::string(name) + "' cannot be modified");
    (*m_rows)[static_cast<std::size_t>(m_visible[m_cursor])][static_cast<std::size_t>(f)] = std::move(value);
}

void ClientDataSet::setFilter(std::string fieldName, std::string value) {
    m_filterField = std::move(fieldName);
    m_filterValue = std::move(value);
    if (m_filtered && m_active) {
        rebuildVisible();
        first();
    }
}

void ClientDataSet::setFiltered(bool on) {
    m_filtered = on;
    if (m_active) {
        rebuildVisible();
        first();
    }
}

void ClientDataSet::rebuildVisible() {
    m_visible.clear();
    m_visible.reserve(m_rows->size());
    int f = m_filtered ? fieldIndex(m_filterField) : -1;
    for (std::size_t r = 0; r < m_rows->size(); ++r) {
        if (f >= 0) {
            const std::string* t = (*m_rows)[r][static_cast<std::size_t>(f)].text();
            if (!t || *t != m_filterValue) continue;
        }
        m_visible.push_back(static_cast<int>(r));
    }
}

}  // namespace zorla
