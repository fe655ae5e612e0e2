#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/FieldDef.h"
#include "data/PackedRows.h"
#include "data/ResultTable.h"

namespace zorla {

class DataSetProvider;
class ClientDataSet;

// Reads one field of the current record, by the rules of the data layer: null text reads as empty, null numbers
// as 0. Made once with the field's position, it reads any record at no further cost.
class FieldRef {
public:
    FieldRef(const ClientDataSet& ds, int index) : m_ds(&ds), m_index(index) {}
    const FieldDef& def() const;
    bool isNull() const { return cell().isNull(); }
    // The text as stored, valid while the rows of this opening are; empty when null or not a text.
    std::string_view text() const;
    std::string asString() const;
    std::int64_t asInteger() const;
    Decimal asDecimal() const;
    std::optional<Date> asDate() const;
    Value value() const { return cell().value(); }

private:
    Cell cell() const;
    const ClientDataSet* m_ds;
    int m_index;
};

// In-memory copy of a whole result: fetched at once on opening, kept in the order received, packed close to its
// real bytes, navigated by a cursor, optionally filtered on one field's value.
class ClientDataSet {
public:
    explicit ClientDataSet(std::string name) : m_name(std::move(name)) {}

    const std::string& name() const { return m_name; }
    // Where opening takes its rows from: a provider over a query, or any other source of a whole result.
    void setProvider(const DataSetProvider& provider);
    void setProvider(std::function<ResultTable()> table);
    // Declared fields; without any, the columns of the result are taken as they come.
    void addField(FieldDef def);
    const std::vector<FieldDef>& fields() const { return m_fields; }
    // Run for every row as it arrives, before it is stored; it reads the row and sets its calculated fields.
    std::function<void(ClientDataSet&)> OnCalcFields;

    // Fetches the whole result; a stop of the token cancels the fetch, which fails (DbError::cancelada).
    void open(std::stop_token parada = {});
    void close();
    // Reads a whole result as open() does, but hands its rows on a batch at a time as they arrive, keeping none, for
    // a reader that writes each row and lets it go; the dataset stays closed.
    using Lote = std::function<void(std::shared_ptr<const PackedRows>)>;
    void entregaEmLotes(std::size_t linhasPorLote, const Lote& lote, std::stop_token parada = {});
    // Opens over rows read elsewhere, of the same fields: a batch handed on by another dataset's entregaEmLotes.
    void abreSobre(std::shared_ptr<const PackedRows> linhas);
    bool active() const { return m_active; }

    bool isEmpty() const { return recordCount() == 0; }
    int recordCount() const;
    void first();
    void next();
    bool eof() const;
    int recNo() const;  // from 1; 0 when there is no current record

    // A declared field that a result's columns cannot fill: missing (actual empty), or of a type it cannot take.
    struct FieldMismatch {
        std::string field;
        FieldType expected = FieldType::Text;
        std::string actual;  // the column's SQL type
    };
    // Every such field, in the order declared; none when the result can be opened.
    std::vector<FieldMismatch> mismatches(const std::vector<ColumnInfo>& columns) const;

    int fieldIndex(std::string_view name) const;
    FieldRef fieldByName(std::string_view name) const { return FieldRef(*this, fieldIndex(name)); }
    // Current record's value of a field by position.
    Cell cellAt(int fieldIndex) const;
    // Only inside OnCalcFields.
    void setCalcValue(std::string_view name, const Value& value) { setCalcValue(fieldIndex(name), value); }
    void setCalcValue(int fieldIndex, const Value& value);

    void setFilter(std::string fieldName, std::string value);
    void setFiltered(bool on);

    // The rows of the current opening. They never change once opened, so a holder may read them from another
    // thread while the dataset is closed or reopened.
    std::shared_ptr<const PackedRows> rows() const { return m_rows; }

    // Bound controls stop following the cursor while a guard lives, whatever way its scope ends; guards nest.
    class ControlsDisabled {
    public:
        explicit ControlsDisabled(ClientDataSet& ds) : m_ds(ds) { ++m_ds.m_controlsDisabled; }
        ~ControlsDisabled() { --m_ds.m_controlsDisabled; }
        ControlsDisabled(const ControlsDisabled&) = delete;
        ControlsDisabled& operator=(const ControlsDisabled&) = delete;

    private:
        ClientDataSet& m_ds;
    };
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

private:
    friend class FieldRef;
    class Loader;
    void checkActive() const;
    void rebuildVisible();
    std::size_t currentRow() const;

    std::string m_name;
    std::function<void(RowReceiver&, std::stop_token)> m_provider;
    std::vector<FieldDef> m_fields;
    std::unordered_map<std::string, int> m_index;  // upper-case name → field
    std::shared_ptr<const PackedRows> m_rows;
    std::vector<std::uint32_t> m_visible;  // rows the filter lets through, in order; all rows when unfiltered
    std::size_t m_cursor = 0;              // position among the visible rows
    bool m_active = false;
    bool m_eof = true;
    bool m_declared = false;
    bool m_filtered = false;
    std::string m_filterField;
    std::string m_filterValue;
    int m_controlsDisabled = 0;
    // Where the fields of the current row lie, read once per row.
    mutable std::size_t m_locatedRow = SIZE_MAX;
    mutable std::vector<std::uint32_t> m_positions;
    // The row being loaded while OnCalcFields runs, with the texts it has set.
    std::vector<Cell>* m_loading = nullptr;
    std::vector<std::string>* m_calcTexts = nullptr;
};

}  // namespace zorla
