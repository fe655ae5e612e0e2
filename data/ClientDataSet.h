#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/FieldDef.h"
#include "data/ResultTable.h"
#include "base/Value.h"

namespace zorla {

class DataSetProvider;
class ClientDataSet;

// Reads one field of the current record, by the rules of the data layer: null text reads as empty,
// null numbers as 0.
class FieldRef {
public:
    FieldRef(const ClientDataSet& ds, int index) : m_ds(&ds), m_index(index) {}
    const Value& value() const;
    const FieldDef& def() const;
    bool isNull() const { return value().isNull(); }
    std::string asString() const;
    std::int64_t asInteger() const;
    Decimal asDecimal() const;
    std::optional<Date> asDate() const;

private:
    const ClientDataSet* m_ds;
    int m_index;
};

// In-memory copy of a whole result: fetched at once on opening, kept in the order received, navigated by a
// cursor, optionally filtered on one field's value.
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
    std::function<void(ClientDataSet&)> OnCalcFields;

    void open();
    void close();
    bool active() const { return m_active; }

    bool isEmpty() const { return recordCount() == 0; }
    int recordCount() const;
    void first();
    void next();
    bool eof() const;
    int recNo() const;  // from 1; 0 when there is no current record

    int fieldIndex(std::string_view name) const;
    FieldRef fieldByName(std::string_view name) const { return FieldRef(*this, fieldIndex(name)); }
    // Current record's value of a field by position, for grids.
    const Value& valueAt(int fieldIndex) const;
    // Only inside OnCalcFields.
    void setCalcValue(std::string_view name, Value value);

    void setFilter(std::string fieldName, std::string value);
    void setFiltered(bool on);

    using Rows = std::vector<std::vector<Value>>;
    // The rows of the current opening. They never change once opened, so a holder may read them from another
    // thread while the dataset is closed or reopened.
    std::shared_ptr<const Rows> rows() const { return m_rows; }

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
    void checkActive() const;
    void rebuildVisible();

    std::string m_name;
    std::function<void(RowReceiver&)> m_provider;
    class Loader;
    std::vector<FieldDef> m_fields;
    std::unordered_map<std::string, int> m_index;  // upper-case name → field
    std::shared_ptr<Rows> m_rows = std::make_shared<Rows>();
    std::vector<int> m_visible;  // rows the filter lets through, in order
    std::size_t m_cursor = 0;    // position in m_visible
    bool m_active = false;
    bool m_eof = true;
    bool m_declared = false;
    bool m_filtered = false;
    std::string m_filterField;
    std::string m_filterValue;
    int m_controlsDisabled = 0;
    bool m_inCalc = false;
};

}  // namespace zorla
