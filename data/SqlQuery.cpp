#include "SqlQuery.h"

#include <firebird/Interface.h>

#include <cstring>

#include "DbError.h"
#include "FbHandle.h"
#include "FbStatus.h"
#include "NamedParams.h"
#include "SqlConnection.h"
#include "TextUtil.h"

namespace zorla {

using namespace Firebird;

namespace {

constexpr auto kIscEpoch = std::chrono::sys_days{std::chrono::year{1858} / 11 / 17};

ISC_DATE toIscDate(const Date& date) {
    return static_cast<ISC_DATE>((std::chrono::sys_days{date} - kIscEpoch).count());
}

Date fromIscDate(ISC_DATE days) { return Date{kIscEpoch + std::chrono::days{days}}; }

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
        case SQL_TEXT: return "CHAR";
        case SQL_VARYING: return "VARCHAR";
        case SQL_SHORT: return "SMALLINT";
        case SQL_LONG: return "INTEGER";
        case SQL_INT64: return "BIGINT";
        case SQL_FLOAT: return "FLOAT";
        case SQL_DOUBLE: return "DOUBLE PRECISION";
        case SQL_D_FLOAT: return "D_FLOAT";
        case SQL_TYPE_DATE: return "DATE";
        case SQL_TYPE_TIME: return "TIME";
        case SQL_TIMESTAMP: return "TIMESTAMP";
        case SQL_BLOB: return "BLOB";
        case SQL_BOOLEAN: return "BOOLEAN";
        default: return "unknown type";
    }
}

struct OutColumn {
    unsigned type;
    int scale;
    unsigned length;
    unsigned offset;
    unsigned nullOffset;
    unsigned charsetBytes;
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
    m_sql = std::move(lines);
    std::string joined;
    for (const auto& line : m_sql) joined += line + "\n";
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

ResultTable SqlQuery::fetchAll() {
    struct Collect : RowReceiver {
        ResultTable table;
        void columns(const std::vector<ColumnInfo>& c) override { table.columns = c; }
        void row(std::vector<Value>& v) override { table.rows.push_back(std::move(v)); }
    } collect;
    fetch(collect);
    return std::move(collect.table);
}

void SqlQuery::fetch(RowReceiver& receiver) {
    const PositionalSql& positional = m_positional;

    FbHandle<ITransaction> tra = m_connection.startTransaction();
    FbClient& fb = m_connection.client();
    IAttachment* att = m_connection.attachment();
    FbStatus status(fb);

    FbHandle<IStatement> stmt(fb, att->prepare(&status, tra.get(), 0, positional.sql.c_str(), m_connection.dialect(),
                                               IStatement::PREPARE_PREFETCH_METADATA));
    status.check();

    // Input message: each parameter described by the type of its value, so the server converts.
    IMessageMetadata* inRaw = stmt->getInputMetadata(&status);
    status.check();
    FbHandle<IMessageMetadata> inMeta(fb, inRaw);
    unsigned inCount = inMeta->getCount(&status);
    status.check();
    if (inCount != positional.names.size()) throw DbError(m_name + ": parameter count mismatch");
    std::vector<const Value*> inValues;
    for (const auto& name : positional.names) inValues.push_back(&paramByName(name).value);

    FbHandle<IMessageMetadata> inFinal;
    std::vector<unsigned char> inBuffer;
    if (inCount > 0) {
        IMetadataBuilder* rawBuilder = inMeta->getBuilder(&status);
        status.check();
        FbHandle<IMetadataBuilder> builder(fb, rawBuilder);
        for (unsigned i = 0; i < inCount; ++i) {
            const Value& v = *inValues[i];
            switch (v.type()) {
                case FieldType::Text:
                    builder->setType(&status, i, SQL_VARYING);
                    builder->setLength(&status, i, static_cast<unsigned>(std::max<std::size_t>(1, v.text()->size())));
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
        inFinal = FbHandle<IMessageMetadata>(fb, builder->getMetadata(&status));
        status.check();
        inBuffer.assign(inFinal->getMessageLength(&status), 0);
        for (unsigned i = 0; i < inCount; ++i) {
            const Value& v = *inValues[i];
            unsigned char* data = inBuffer.data() + inFinal->getOffset(&status, i);
            auto* nullFlag = reinterpret_cast<short*>(inBuffer.data() + inFinal->getNullOffset(&status, i));
            status.check();
            *nullFlag = v.isNull() ? -1 : 0;
            if (const std::string* t = v.text()) {
                auto len = static_cast<unsigned short>(t->size());
                if (t->size() > 65533) throw DbError(m_name + ": parameter text too long");
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
    }

    IMessageMetadata* outRaw = stmt->getOutputMetadata(&status);
    status.check();
    FbHandle<IMessageMetadata> outMeta(fb, outRaw);
    unsigned outCount = outMeta->getCount(&status);
    status.check();

    std::vector<ColumnInfo> columns;
    std::vector<OutColumn> cols;
    for (unsigned i = 0; i < outCount; ++i) {
        OutColumn c{};
        c.type = outMeta->getType(&status, i);
        c.scale = outMeta->getScale(&status, i);
        c.length = outMeta->getLength(&status, i);
        c.offset = outMeta->getOffset(&status, i);
        c.nullOffset = outMeta->getNullOffset(&status, i);
        const char* alias = outMeta->getAlias(&status, i);
        status.check();
        ColumnInfo info;
        info.name = alias ? alias : "";
        info.sqlTypeName = sqlTypeName(c.type);
        switch (c.type) {
            case SQL_TEXT:
            case SQL_VARYING:
            case SQL_BLOB: info.type = FieldType::Text; break;
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64: info.type = c.scale == 0 ? FieldType::Integer : FieldType::Decimal; break;
            case SQL_TYPE_DATE:
            case SQL_TIMESTAMP: info.type = FieldType::Date; break;
            default: info.type = FieldType::Unsupported;
        }
        if (c.scale != 0 && info.type == FieldType::Decimal) info.sqlTypeName = "NUMERIC";
        columns.push_back(std::move(info));
        cols.push_back(c);
    }
    receiver.columns(columns);
    std::vector<unsigned char> row(outMeta->getMessageLength(&status));
    status.check();

    IResultSet* rsRaw = stmt->openCursor(&status, tra.get(), inFinal.get() ? inFinal.get() : inMeta.get(),
                                         inBuffer.empty() ? nullptr : inBuffer.data(), outMeta.get(), 0);
    status.check();
    FbHandle<IResultSet> rs(fb, rsRaw);
    const bool trimChar = m_connection.trimChar();
    std::vector<Value> values;
    for (;;) {
        int rc = rs->fetchNext(&status, row.data());
        status.check();
        if (rc != IStatus::RESULT_OK) break;
        values.clear();
        values.reserve(outCount);
        for (const OutColumn& c : cols) {
            const unsigned char* data = row.data() + c.offset;
            short isNull;
            std::memcpy(&isNull, row.data() + c.nullOffset, sizeof isNull);
            if (isNull) {
                values.emplace_back();
                continue;
            }
            switch (c.type) {
                case SQL_TEXT: {
                    std::string text(reinterpret_cast<const char*>(data), c.length);
                    if (trimChar) text.erase(text.find_last_not_of(' ') + 1);
                    values.emplace_back(std::move(text));
                    break;
                }
                case SQL_VARYING: {
                    unsigned short len;
                    std::memcpy(&len, data, sizeof len);
                    values.emplace_back(std::string(reinterpret_cast<const char*>(data + sizeof len), len));
                    break;
                }
                case SQL_BLOB: {
                    ISC_QUAD id;
                    std::memcpy(&id, data, sizeof id);
                    values.emplace_back(readBlob(fb, att, tra.get(), id));
                    break;
                }
                case SQL_SHORT:
                case SQL_LONG:
                case SQL_INT64: {
                    std::int64_t raw;
                    if (c.type == SQL_SHORT) {
                        std::int16_t x;
                        std::memcpy(&x, data, sizeof x);
                        raw = x;
                    } else if (c.type == SQL_LONG) {
                        std::int32_t x;
                        std::memcpy(&x, data, sizeof x);
                        raw = x;
                    } else {
                        std::memcpy(&raw, data, sizeof raw);
                    }
                    if (c.scale == 0)
                        values.emplace_back(raw);
                    else
                        values.emplace_back(toCents(raw, c.scale));
                    break;
                }
                case SQL_TYPE_DATE:
                case SQL_TIMESTAMP: {
                    ISC_DATE days;
                    std::memcpy(&days, data, sizeof days);
                    values.emplace_back(fromIscDate(days));
                    break;
                }
                default: values.emplace_back(); break;
            }
        }
        receiver.row(values);
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
}

}  // namespace zorla
