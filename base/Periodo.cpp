#include "base/Periodo.h"

#include <stdexcept>

#include "base/Formatacao.h"

namespace zorla {

namespace {
constexpr const char* kNomesDosMeses[] = {"Janeiro", "Fevereiro", "Março",    "Abril",   "Maio",     "Junho",
                                          "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};
constexpr const char* kAbrev[] = {"JAN", "FEV", "MAR", "ABR", "MAI", "JUN", "JUL", "AGO", "SET", "OUT", "NOV", "DEZ"};
}  // namespace

const char* NomeMes(int indice) { return indice >= 0 && indice < 12 ? kNomesDosMeses[indice] : ""; }
const char* AbreviaturaMes(int indice) { return indice >= 0 && indice < 12 ? kAbrev[indice] : ""; }

Date ComporData(long dia, long mes, long ano) {
    using namespace std::chrono;
    Date d{year{static_cast<int>(ano)}, month{static_cast<unsigned>(mes)}, day{static_cast<unsigned>(dia)}};
    if (dia < 1 || dia > 31 || mes < 1 || mes > 12 || ano < 1 || ano > 9999 || !d.ok())
        throw std::runtime_error("'" + std::to_string(dia) + "/" + std::to_string(mes) + "/" + std::to_string(ano) +
                                 "' is not a valid date");
    return d;
}

std::string NomeArquivoPeriodo(const std::string& diaInicial, const std::string& diaFinal,
                               const std::string& mesAbrev) {
    return PadRight(diaInicial, 2, '0') + "A" + PadRight(diaFinal, 2, '0') + mesAbrev;
}

std::string MesEAno(const Date& data) {
    std::string mes = NomeMes(static_cast<int>(static_cast<unsigned>(data.month())) - 1);
    if (!mes.empty()) mes[0] = static_cast<char>(mes[0] - 'A' + 'a');  // every name starts with a plain capital
    return mes + "/" + std::to_string(static_cast<int>(data.year()));
}

// A table, not the calendar's types: the reader asks it for every date of every line.
int UltimoDiaDoMes(int mes, int ano) {
    if (mes < 1 || mes > 12 || ano < 1 || ano > 9999) ComporData(1, mes, ano);  // says what is not a date
    static constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
    return mes == 2 && bissexto ? 29 : kDias[mes - 1];
}

Periodo PeriodoDoMes(int diaInicial, int diaFinal, int mes, int ano) {
    Periodo p;
    p.DataInicial = ComporData(diaInicial, mes, ano);
    p.DataFinal = ComporData(diaFinal, mes, ano);
    p.NomeArquivo = NomeArquivoPeriodo(std::to_string(diaInicial), std::to_string(diaFinal), AbreviaturaMes(mes - 1));
    return p;
}

}  // namespace zorla
