#include "data/ClientDataSet.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "base/Formatacao.h"
#include "base/TextUtil.h"
#include "data/DataSetProvider.h"
#include "data/DbError.h"

namespace zorla {

namespace {
bool compatible(FieldType field, FieldType column) {
    return field == column || (field == FieldType::Decimal && column == FieldType::Integer);
}
int columnOf(const FieldDef& def, const std::vector<ColumnInfo>& columns) {
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (equalsIgnoreCase(columns[c].name, def.name)) return static_cast<int>(c);
    return -1;
}
}  // namespace

std::vector<ClientDataSet::FieldMismatch> ClientDataSet::mismatches(const std::vector<ColumnInfo>& columns) const {
    std::vector<FieldMismatch> out;
    for (const FieldDef& def : m_fields) {
        if (def.calculated) continue;
        const int c = columnOf(def, columns);
        if (c < 0)
            out.push_back({def.name, def.type, {}});
        else if (const ColumnInfo& col = columns[static_cast<std::size_t>(c)]; !compatible(def.type, col.type))
            out.push_back({def.name, def.type, col.sqlTypeName.empty() ? "?" : col.sqlTypeName});
    }
    return out;
}

const FieldDef& FieldRef::def() const { return m_ds->m_fields[static_cast<std::size_t>(m_index)]; }

Cell FieldRef::cell() const { return m_ds->cellAt(m_index); }

std::string_view FieldRef::text() const {
    const Cell c = cell();
    return c.type == FieldType::Text ? c.text : std::string_view{};
}

std::string FieldRef::asString() const {
    const Cell c = cell();
    switch (c.type) {
        case FieldType::Text:
            return std::string(c.text);
        case FieldType::Integer:
            return std::to_string(c.number);
        case FieldType::Decimal: {
            std::string digits = DigitosDecimais(Decimal{c.number});
            digits.insert(digits.size() - 2, ".");
            return digits;
        }
        case FieldType::Date:
            return DataCurta(*c.value().date());
        case FieldType::Unsupported:
            break;
    }
    return {};
}

std::int64_t FieldRef::asInteger() const {
    const Cell c = cell();
    if (c.type == FieldType::Integer) return c.number;
    if (c.isNull()) return 0;
    throw DbError(m_ds->name() + ": field '" + def().name + "' cannot be read as an integer");
}

Decimal FieldRef::asDecimal() const {
    const Cell c = cell();
    if (c.type == FieldType::Decimal) return Decimal{c.number};
    if (c.type == FieldType::Integer) return Decimal{c.number * 100};
    if (c.isNull()) return Decimal{};
    throw DbError(m_ds->name() + ": field '" + def().name + "' cannot be read as a decimal");
}

std::optional<Date> FieldRef::asDate() const {
    const Cell c = cell();
    if (c.type == FieldType::Date) return Date{std::chrono::sys_days{std::chrono::days{c.number}}};
    if (c.isNull()) return std::nullopt;
    throw DbError(m_ds->name() + ": field '" + def().name + "' cannot be read as a date");
}

void ClientDataSet::addField(FieldDef def) {
    m_index[upperAscii(def.name)] = static_cast<int>(m_fields.size());
    m_fields.push_back(std::move(def));
    m_declared = true;
}

void ClientDataSet::setProvider(const DataSetProvider& provider) {
    m_provider = [&provider](RowReceiver& receiver, std::stop_token parada) {
        provider.getData(receiver, std::move(parada));
    };
}

void ClientDataSet::setProvider(std::function<ResultTable()> table) {
    // Rows held elsewhere stop as a server's would: the fetch fails as cancelled.
    m_provider = [table = std::move(table)](RowReceiver& receiver, std::stop_token parada) {
        const ResultTable t = table();
        if (!receiver.columns(t.columns)) return;
        std::vector<Cell> cells;
        for (const auto& row : t.rows) {
            if (parada.stop_requested()) throw DbError("Operação cancelada.", true);
            cells.clear();
            for (const Value& v : row) cells.push_back(Cell::of(v));
            receiver.row(cells);
        }
    };
}

// Checks the columns against the declared fields before any row is taken, then packs each row under its fields,
// its calculated fields set first.
class ClientDataSet::Loader : public RowReceiver {
public:
    explicit Loader(ClientDataSet& ds, std::size_t porLote = 0, const Lote* lote = nullptr)
        : m_ds(ds), m_porLote(porLote), m_lote(lote) {}
    bool columns(const std::vector<ColumnInfo>& columns) override {
        if (!m_ds.m_declared) takeColumns(columns);
        const std::vector<FieldMismatch> wrong = m_ds.mismatches(columns);
        if (!wrong.empty()) {
            const FieldMismatch& w = wrong.front();
            if (w.actual.empty()) throw DbError(m_ds.m_name + ": Field '" + w.field + "' not found");
            throw DbError(m_ds.m_name + ": Type mismatch for field '" + w.field +
                          "', expecting: " + fieldTypeName(w.expected) + " actual: " + w.actual);
        }
        m_source.assign(m_ds.m_fields.size(), -1);
        m_types.clear();
        for (std::size_t f = 0; f < m_ds.m_fields.size(); ++f) {
            m_types.push_back(m_ds.m_fields[f].type);
            if (!m_ds.m_fields[f].calculated) m_source[f] = columnOf(m_ds.m_fields[f], columns);
        }
        m_rows = std::make_shared<PackedRows>(m_types);
        m_cells.resize(m_ds.m_fields.size());
        m_calcTexts.resize(m_ds.m_fields.size());
        return true;
    }

    void row(std::span<const Cell> in) override {
        for (std::size_t f = 0; f < m_source.size(); ++f) {
            Cell c = m_source[f] < 0 ? Cell{} : in[static_cast<std::size_t>(m_source[f])];
            if (m_ds.m_fields[f].type == FieldType::Decimal && c.type == FieldType::Integer) {
                c.type = FieldType::Decimal;
                c.number *= 100;
            }
            m_cells[f] = c;
        }
        if (m_ds.OnCalcFields) {
            m_ds.m_loading = &m_cells;
            m_ds.m_calcTexts = &m_calcTexts;
            m_ds.OnCalcFields(m_ds);
            m_ds.m_loading = nullptr;
        }
        m_rows->append(m_cells);
        if (m_lote && m_rows->size() >= m_porLote)
            (*m_lote)(std::exchange(m_rows, std::make_shared<PackedRows>(m_types)));
    }

    std::shared_ptr<PackedRows> rows() { return std::move(m_rows); }

private:
    void takeColumns(const std::vector<ColumnInfo>& columns) {
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

    ClientDataSet& m_ds;
    std::size_t m_porLote;
    const Lote* m_lote;
    std::vector<FieldType> m_types;
    std::shared_ptr<PackedRows> m_rows;
    std::vector<int> m_source;  // result column of each field; -1 for calculated ones
    std::vector<Cell> m_cells;
    std::vector<std::string> m_calcTexts;
};

void ClientDataSet::checkActive() const {
    if (!m_active) throw DbError(m_name + ": Cannot perform this operation on a closed dataset");
}

void ClientDataSet::open(std::stop_token parada) {
    if (m_active) return;
    if (!m_provider) throw DbError(m_name + ": Missing data provider or data packet");
    Loader loader(*this);
    try {
        m_provider(loader, std::move(parada));
    } catch (...) {
        m_loading = nullptr;
        if (!m_declared) m_fields.clear(), m_index.clear();
        throw;
    }
    m_rows = loader.rows();
    if (!m_rows) m_rows = std::make_shared<PackedRows>(std::vector<FieldType>{});
    m_positions.assign(m_fields.size(), PackedRows::kNull);
    m_locatedRow = SIZE_MAX;
    m_active = true;
    rebuildVisible();
    first();
}

void ClientDataSet::entregaEmLotes(std::size_t linhasPorLote, const Lote& lote, std::stop_token parada) {
    close();
    if (!m_provider) throw DbError(m_name + ": Missing data provider or data packet");
    Loader loader(*this, std::max<std::size_t>(linhasPorLote, 1), &lote);
    try {
        m_provider(loader, std::move(parada));
    } catch (...) {
        m_loading = nullptr;
        if (!m_declared) m_fields.clear(), m_index.clear();
        throw;
    }
    if (auto resto = loader.rows(); resto && resto->size() > 0) lote(std::move(resto));
}

void ClientDataSet::abreSobre(std::shared_ptr<const PackedRows> linhas) {
    close();
    m_rows = std::move(linhas);
    m_positions.assign(m_fields.size(), PackedRows::kNull);
    m_locatedRow = SIZE_MAX;
    m_active = true;
    rebuildVisible();
    first();
}

void ClientDataSet::close() {
    m_active = false;
    m_rows.reset();
    m_visible.clear();
    m_visible.shrink_to_fit();
    m_cursor = 0;
    m_eof = true;
    m_locatedRow = SIZE_MAX;
    if (!m_declared) {
        m_fields.clear();
        m_index.clear();
    }
}

int ClientDataSet::recordCount() const {
    checkActive();
    return static_cast<int>(m_filtered ? m_visible.size() : m_rows->size());
}

void ClientDataSet::first() {
    checkActive();
    m_cursor = 0;
    m_eof = recordCount() == 0;
}

void ClientDataSet::next() {
    checkActive();
    if (m_cursor + 1 < static_cast<std::size_t>(recordCount()))
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
    return recordCount() == 0 ? 0 : static_cast<int>(m_cursor) + 1;
}

int ClientDataSet::fieldIndex(std::string_view name) const {
    auto it = m_index.find(upperAscii(name));
    if (it == m_index.end()) throw DbError(m_name + ": Field '" + std::string(name) + "' not found");
    return it->second;
}

std::size_t ClientDataSet::currentRow() const { return m_filtered ? m_visible[m_cursor] : m_cursor; }

Cell ClientDataSet::cellAt(int fieldIndex) const {
    const auto f = static_cast<std::size_t>(fieldIndex);
    if (m_loading) return (*m_loading)[f];
    checkActive();
    if (recordCount() == 0) return Cell{};
    const std::size_t row = currentRow();
    if (row != m_locatedRow) {
        m_rows->locate(row, m_positions.data());
        m_locatedRow = row;
    }
    return m_rows->cellAt(row, m_positions.data(), f);
}

void ClientDataSet::setCalcValue(int fieldIndex, const Value& value) {
    const auto i = static_cast<std::size_t>(fieldIndex);
    if (!m_loading || !m_fields[i].calculated)
        throw DbError(m_name + ": Field '" + m_fields[i].name + "' cannot be modified");
    Cell c = Cell::of(value);
    if (const std::string* t = value.text()) {
        (*m_calcTexts)[i] = *t;
        c.text = (*m_calcTexts)[i];
    }
    (*m_loading)[i] = c;
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
    if (!m_filtered) return;
    const auto f = static_cast<std::size_t>(fieldIndex(m_filterField));
    for (std::size_t r = 0; r < m_rows->size(); ++r) {
        const Cell c = m_rows->cell(r, f);
        if (c.type == FieldType::Text && c.text == m_filterValue) m_visible.push_back(static_cast<std::uint32_t>(r));
    }
}

}  // namespace zorla
