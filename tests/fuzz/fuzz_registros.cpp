// The record builders over random field values: every record keeps its width and holds only code page 1252
// bytes without control characters, or is refused for a number too wide for its field.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Formatacao.h"
#include "data/DMVantero.h"
#include "export/Lancamentos.h"
#include "export/RegistrosFiscais.h"
#include "export/ValorForaDoLeiaute.h"
#include "support/EstadoDoModulo.h"

namespace {
using namespace zorla;

void check(bool ok) {
    if (!ok) std::abort();
}

void checkLine(const std::string& line, std::size_t width) {
    check(line.size() == width);
    for (char c : line) check(!CaractereDeControle(c));
}

Value randomValue(FuzzedDataProvider& in, const FieldDef& f) {
    if (in.ConsumeBool()) return Value{};
    switch (f.type) {
        case FieldType::Text:
            return Value(in.ConsumeRandomLengthString(static_cast<std::size_t>(f.size) * 2 + 2));
        case FieldType::Integer:
            return Value(in.ConsumeIntegral<std::int32_t>());
        case FieldType::Decimal:
            return Value(Decimal{in.ConsumeIntegralInRange<std::int64_t>(-999999999999999, 999999999999999)});
        case FieldType::Date:
            // The range of a Firebird date.
            return Value(Date{std::chrono::sys_days{std::chrono::days{in.ConsumeIntegralInRange(-719162, 2932896)}}});
        default:
            return Value{};
    }
}

ResultTable randomTable(FuzzedDataProvider& in, const ClientDataSet& ds) {
    ResultTable t;
    for (const FieldDef& f : ds.fields())
        if (!f.calculated) t.columns.push_back(ColumnInfo{f.name, f.type, fieldTypeName(f.type)});
    std::vector<Value> row;
    for (const FieldDef& f : ds.fields())
        if (!f.calculated) row.push_back(randomValue(in, f));
    t.rows.push_back(std::move(row));
    return t;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    static TFDMExporta dm("/nonexistent/dbxconnections.ini");
    const std::string codigo = in.ConsumeRandomLengthString(8);

    EstadoDoModulo(dm).CDSSaidas.close();
    const ResultTable fiscal = randomTable(in, EstadoDoModulo(dm).CDSSaidas);
    EstadoDoModulo(dm).CDSSaidas.setProvider([&] { return fiscal; });
    EstadoDoModulo(dm).CDSSaidas.open();
    try {
        checkLine(MontaRegistroSaida(EstadoDoModulo(dm).CDSSaidas, codigo), 547);
        checkLine(MontaRegistroEntrada(EstadoDoModulo(dm).CDSSaidas, codigo), 251);
    } catch (const ValorForaDoLeiaute&) {
    }

    EstadoDoModulo(dm).CDSMovimento.close();
    const ResultTable movimento = randomTable(in, EstadoDoModulo(dm).CDSMovimento);
    EstadoDoModulo(dm).CDSMovimento.setProvider([&] { return movimento; });
    EstadoDoModulo(dm).CDSMovimento.open();
    const MontadorLancamentos montador(EstadoDoModulo(dm).CDSMovimento);
    for (const char* prefixo : {"RECEBIMENTO DE TITULO N\xBA", ""}) {
        try {
            const auto linhas = montador.monta(prefixo);
            check(linhas.size() == 1 || linhas.size() == 2);
            for (const std::string& l : linhas) checkLine(l, 75);
        } catch (const ValorForaDoLeiaute&) {
        }
    }
    return 0;
}
