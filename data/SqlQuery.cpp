#include "data/SqlQuery.h"

#include <firebird/Interface.h>

#include <cstring>

#include "base/TextUtil.h"
#include "data/DbError.h"
#include "data/FbHandle.h"
#include "data/FbStatus.h"
#include "data/NamedParams.h"
#include "data/ParadaDaConsulta.h"
#include "data/SqlConnection.h"

namespace zorla {

using namespace Firebird;

namespace {

constexpr auto kIscEpoch = std::chrono::sys_days{std::chrono::year{1858} / 11 / 17};
// Days from Firebird's day 0 to 1970-01-01, the origin of a cell's dates.
constexpr std::int64_t kIscEpochDays = -kIscEpoch.time_since_epoch().count();

ISC_DATE toIscDate(const Date& date) {
    return static_cast<ISC_DATE>((std::chrono::sys_days{date} - kIscEpoch).count());
}

std::int64_t pow10(int n) {
    std::int64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// Brings a scaled integer to hundredths; finer scales round half away from zero.
Decimal toCents(std::int64_t raw, int scale) {
    if (scale >= -2) return Decimal{raw * pow10(scale + 2)};
    std::int64_t div = pow10(-2 - scale);
    std::int64_t q = raw / div, r = raw % div;
    if (2 * (r < 0 ? -r : r) >= div) q += raw < 0 ? -1 : 1;
    return Decimal{q};
}

const char* sqlTypeName(unsigned type) {
    switch (type) {
        case SQL_TEXT:
            return "CHAR";
        case SQL_VARYING:
            return "VARCHAR";
        case SQL_SHORT:
            return "SMALLINT";
        case SQL_LONG:
            return "INTEGER";
        case SQL_INT64:
            return "BIGINT";
        case SQL_FLOAT:
            return "FLOAT";
        case SQL_DOUBLE:
            return "DOUBLE PRECISION";
        case SQL_D_FLOAT:
            return "D_FLOAT";
        case SQL_TYPE_DATE:
            return "DATE";
        case SQL_TYPE_TIME:
            return "TIME";
        case SQL_TIMESTAMP:
            return "TIMESTAMP";
        case SQL_BLOB:
            return "BLOB";
        case SQL_BOOLEAN:
            return "BOOLEAN";
        default:
            return "unknown type";
    }
}

struct OutColumn {
    unsigned type;
    int scale;
    unsigned length;
    unsigned offset;
    unsigned nullOffset;
};

std::string readBlob(FbClient& fb, IAttachment* att, ITransaction* tra, ISC_QUAD id) {
    FbStatus status(fb);
    FbHandle<IBlob> blob(fb, att->openBlob(&status, tra, &id, 0, nullptr));
    status.check();
    std::string out;
    char chunk[32768];
    for (;;) {
        unsigned got = 0;
        int rc = blob->getSegment(&status, sizeof chunk, chunk, &got);
        if (rc == IStatus::RESULT_NO_DATA) break;
        status.check();
        out.append(chunk, got);
    }
    return out;
}

}  // namespace

SqlQuery::SqlQuery(std::string name, SqlConnection& connection) : m_name(std::move(name)), m_connection(connection) {}

void SqlQuery::setSql(std::vector<std::string> lines) {
    std::string joined;
    for (const auto& line : lines) joined += line + "\n";
    m_positional = toPositional(joined);
    std::vector<SqlParam> params;
    for (const auto& name : m_positional.names) {
        bool seen = false;
        for (const auto& p : params) seen = seen || p.name == name;
        if (!seen) params.push_back(SqlParam{name, Value{}});
    }
    m_params = std::move(params);
}

SqlParam& SqlQuery::paramByName(const std::string& name) {
    for (auto& p : m_params)
        if (equalsIgnoreCase(p.name, name)) return p;
    throw DbError(m_name + ": Parameter '" + name + "' not found");
}

ResultTable SqlQuery::fetchAll(std::stop_token parada) {
    struct Collect : RowReceiver {
        ResultTable table;
        bool columns(const std::vector<ColumnInfo>& c) override {
            table.columns = c;
            return true;
        }
        void row(std::span<const Cell> cells) override {
            std::vector<Value>& values = table.rows.emplace_back();
            for (const Cell& c : cells) values.push_back(c.value());
        }
    } collect;
    fetch(collect, std::move(parada));
    return std::move(collect.table);
}

namespace {

constexpr unsigned kCharsetWin1252 = 53;

// The input message: each parameter described by the type of its value, so the server converts.
struct InputMessage {
    FbHandle<IMessageMetadata> meta;
    std::vector<unsigned char> buffer;
};

void describeParam(IMetadataBuilder* builder, FbStatus& status, unsigned i, const Value& v) {
    switch (v.type()) {
        case FieldType::Text:
            builder->setType(&status, i, SQL_VARYING);
            builder->setLength(&status, i, static_cast<unsigned>(std::max<std::size_t>(1, v.text()->size())));
            builder->setCharSet(&status, i, kCharsetWin1252);
            break;
        case FieldType::Integer:
        case FieldType::Decimal:
            builder->setType(&status, i, SQL_INT64);
            builder->setLength(&status, i, sizeof(ISC_INT64));
            builder->setScale(&status, i, v.decimal() ? -2 : 0);
            break;
        case FieldType::Date:
            builder->setType(&status, i, SQL_TYPE_DATE);
            builder->setLength(&status, i, sizeof(ISC_DATE));
            break;
        case FieldType::Unsupported:
            break;  // null: the declared type stays
    }
    status.check();
}

void storeParam(unsigned char* data, short* nullFlag, const Value& v, const std::string& query) {
    *nullFlag = v.isNull() ? -1 : 0;
    if (const std::string* t = v.text()) {
        if (t->size() > 65533) throw DbError(query + ": parameter text too long");
        auto len = static_cast<unsigned short>(t->size());
        std::memcpy(data, &len, sizeof len);
        std::memcpy(data + sizeof len, t->data(), t->size());
    } else if (const std::int64_t* n = v.integer()) {
        ISC_INT64 x = *n;
        std::memcpy(data, &x, sizeof x);
    } else if (const Decimal* d = v.decimal()) {
        ISC_INT64 x = d->cents;
        std::memcpy(data, &x, sizeof x);
    } else if (const Date* dt = v.date()) {
        ISC_DATE x = toIscDate(*dt);
        std::memcpy(data, &x, sizeof x);
    }
}

InputMessage buildInput(FbClient& fb, IStatement* stmt, const std::vector<const Value*>& values,
                        const std::string& query) {
    FbStatus status(fb);
    InputMessage in;
    in.meta = FbHandle<IMessageMetadata>(fb, stmt->getInputMetadata(&status));
    status.check();
    const unsigned count = in.meta->getCount(&status);
    status.check();
    if (count != values.size()) throw DbError(query + ": parameter count mismatch");
    if (count == 0) return in;
    FbHandle<IMetadataBuilder> builder(fb, in.meta->getBuilder(&status));
    status.check();
    for (unsigned i = 0; i < count; ++i) describeParam(builder.get(), status, i, *values[i]);
    in.meta = FbHandle<IMessageMetadata>(fb, builder->getMetadata(&status));
    status.check();
    in.buffer.assign(in.meta->getMessageLength(&status), 0);
    for (unsigned i = 0; i < count; ++i) {
        unsigned char* data = in.buffer.data() + in.meta->getOffset(&status, i);
        auto* nullFlag = reinterpret_cast<short*>(in.buffer.data() + in.meta->getNullOffset(&status, i));
        status.check();
        storeParam(data, nullFlag, *values[i], query);
    }
    return in;
}

FieldType fieldTypeOf(unsigned type, int scale) {
    switch (type) {
        case SQL_TEXT:
        case SQL_VARYING:
        case SQL_BLOB:
            return FieldType::Text;
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            return scale == 0 ? FieldType::Integer : FieldType::Decimal;
        case SQL_TYPE_DATE:
        case SQL_TIMESTAMP:
            return FieldType::Date;
        default:
            return FieldType::Unsupported;
    }
}

struct OutputMessage {
    FbHandle<IMessageMetadata> meta;
    std::vector<ColumnInfo> columns;
    std::vector<OutColumn> layout;
};

OutputMessage describeOutput(FbClient& fb, IStatement* stmt) {
    FbStatus status(fb);
    OutputMessage out;
    out.meta = FbHandle<IMessageMetadata>(fb, stmt->getOutputMetadata(&status));
    status.check();
    const unsigned count = out.meta->getCount(&status);
    status.check();
    for (unsigned i = 0; i < count; ++i) {
        OutColumn c{};
        c.type = out.meta->getType(&status, i);
        c.scale = out.meta->getScale(&status, i);
        c.length = out.meta->getLength(&status, i);
        c.offset = out.meta->getOffset(&status, i);
        c.nullOffset = out.meta->getNullOffset(&status, i);
        const char* alias = out.meta->getAlias(&status, i);
        status.check();
        ColumnInfo info;
        info.name = alias ? alias : "";
        info.type = fieldTypeOf(c.type, c.scale);
        info.sqlTypeName = c.scale != 0 && info.type == FieldType::Decimal ? "NUMERIC" : sqlTypeName(c.type);
        out.columns.push_back(std::move(info));
        out.layout.push_back(c);
    }
    return out;
}

std::int64_t readInteger(unsigned type, const unsigned char* data) {
    if (type == SQL_SHORT) {
        std::int16_t x;
        std::memcpy(&x, data, sizeof x);
        return x;
    }
    if (type == SQL_LONG) {
        std::int32_t x;
        std::memcpy(&x, data, sizeof x);
        return x;
    }
    std::int64_t x;
    std::memcpy(&x, data, sizeof x);
    return x;
}

// One fetched row of the output message, read column by column into cells that view the message itself: nothing
// is copied but the text of blobs.
class RowDecoder {
public:
    RowDecoder(FbClient& fb, IAttachment* att, ITransaction* tra, bool trimChar, std::size_t columns)
        : m_fb(fb), m_att(att), m_tra(tra), m_trimChar(trimChar), m_blobs(columns), m_cells(columns) {}

    std::span<const Cell> decode(const std::vector<OutColumn>& layout, const unsigned char* row) {
        for (std::size_t i = 0; i < layout.size(); ++i) {
            const OutColumn& c = layout[i];
            short isNull;
            std::memcpy(&isNull, row + c.nullOffset, sizeof isNull);
            m_cells[i] = isNull ? Cell{} : column(i, c, row + c.offset);
        }
        return m_cells;
    }

private:
    Cell column(std::size_t i, const OutColumn& c, const unsigned char* data) {
        switch (c.type) {
            case SQL_TEXT: {
                std::string_view text(reinterpret_cast<const char*>(data), c.length);
                if (m_trimChar) text = text.substr(0, text.find_last_not_of(' ') + 1);
                return Cell{FieldType::Text, 0, text};
            }
            case SQL_VARYING: {
                unsigned short len;
                std::memcpy(&len, data, sizeof len);
                return Cell{FieldType::Text, 0,
                            std::string_view(reinterpret_cast<const char*>(data + sizeof len), len)};
            }
            case SQL_BLOB: {
                ISC_QUAD id;
                std::memcpy(&id, data, sizeof id);
                m_blobs[i] = readBlob(m_fb, m_att, m_tra, id);
                return Cell{FieldType::Text, 0, m_blobs[i]};
            }
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64: {
                const std::int64_t raw = readInteger(c.type, data);
                if (c.scale == 0) return Cell{FieldType::Integer, raw, {}};
                return Cell{FieldType::Decimal, toCents(raw, c.scale).cents, {}};
            }
            case SQL_TYPE_DATE:
            case SQL_TIMESTAMP: {
                ISC_DATE days;
                std::memcpy(&days, data, sizeof days);
                return Cell{FieldType::Date, static_cast<std::int64_t>(days) - kIscEpochDays, {}};
            }
            default:
                return Cell{};
        }
    }

    FbClient& m_fb;
    IAttachment* m_att;
    ITransaction* m_tra;
    bool m_trimChar;
    std::vector<std::string> m_blobs;  // the text of each blob column of the row
    std::vector<Cell> m_cells;
};

}  // namespace

bool SqlQuery::fetch(RowReceiver& receiver, std::stop_token parada) {
    // The handles outlive the stop's watch: once they are let go, nothing asks the server to cancel any more.
    FbHandle<ITransaction> tra;
    FbHandle<IStatement> stmt;
    FbHandle<IResultSet> rs;
    const ParadaDaConsulta cancelamento(m_connection, std::move(parada));
    cancelamento.confere();
    tra = m_connection.startTransaction();  // connects first: the client library may change then
    FbClient& fb = m_connection.client();
    IAttachment* att = m_connection.attachment();
    FbStatus status(fb);

    stmt = FbHandle<IStatement>(fb, att->prepare(&status, tra.get(), 0, m_positional.sql.c_str(),
                                                 m_connection.dialect(), IStatement::PREPARE_PREFETCH_METADATA));
    status.check();
    cancelamento.confere();
    std::vector<const Value*> inValues;
    for (const auto& name : m_positional.names) inValues.push_back(&paramByName(name).value);
    InputMessage in = buildInput(fb, stmt.get(), inValues, m_name);
    OutputMessage out = describeOutput(fb, stmt.get());
    if (!receiver.columns(out.columns)) return false;

    std::vector<unsigned char> row(out.meta->getMessageLength(&status));
    status.check();
    rs = FbHandle<IResultSet>(fb, stmt->openCursor(&status, tra.get(), in.meta.get(),
                                                   in.buffer.empty() ? nullptr : in.buffer.data(), out.meta.get(), 0));
    status.check();
    RowDecoder decoder(fb, att, tra.get(), m_connection.trimChar(), out.layout.size());
    for (;;) {
        cancelamento.confere();
        const int rc = rs->fetchNext(&status, row.data());
        status.check();
        if (rc != IStatus::RESULT_OK) break;
        receiver.row(decoder.decode(out.layout, row.data()));
    }
    rs->close(&status);
    status.check();
    rs.forget();
    stmt->free(&status);
    status.check();
    stmt.forget();
    tra->commit(&status);
    status.check();
    tra.forget();
    return true;
}

}  // namespace zorla
