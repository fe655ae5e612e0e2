#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "sistema/RepasseParaOutraThread.h"

namespace zorla {
namespace {

std::string comoTexto(std::span<const Cell> cells) {
    std::string l;
    for (const Cell& c : cells) l += (c.isNull() ? "-" : std::to_string(c.number) + "'" + std::string(c.text)) + ";";
    return l;
}

// What the receiver saw, a row a line, and on which thread.
struct Recebedor : RowReceiver {
    bool columns(const std::vector<ColumnInfo>& c) override {
        colunas = c.size();
        return !recusa;
    }
    void row(std::span<const Cell> cells) override {
        if (++linhas == falhaNaLinha) throw std::runtime_error("falha do destino");
        vistas.push_back(comoTexto(cells));
        thread = std::this_thread::get_id();
    }
    bool recusa = false;
    long falhaNaLinha = -1, linhas = 0;
    std::size_t colunas = 0;
    std::vector<std::string> vistas;
    std::thread::id thread;
};

const std::vector<ColumnInfo> kColunas = {
    {"T", FieldType::Text, "VARCHAR"}, {"I", FieldType::Integer, "INTEGER"},    {"D", FieldType::Decimal, "NUMERIC"},
    {"DT", FieldType::Date, "DATE"},   {"X", FieldType::Unsupported, "DOUBLE"},
};

// Every row reaches the receiver whole and in order, on another thread, across batches; a receiver that fails
// stops the fetch with its failure; refused columns stop it before any row; a fetch that fails leaves nothing
// waiting.
TEST(RepasseParaOutraThread, HandsEveryRowInOrderAndStopsTheFetchWithTheReceiversFailure) {
    struct Caso {
        long linhas, falhaNaLinha;
        bool recusa, buscaFalha;
        const char* erro;  // what the fetch sees, "" when nothing
    };
    const Caso casos[] = {
        {0, -1, false, false, ""},
        {1, -1, false, false, ""},
        {4096, -1, false, false, ""},
        {10001, -1, false, false, ""},
        {10001, 7000, false, false, "falha do destino"},
        {3, 3, false, false, "falha do destino"},
        {5, -1, true, false, "colunas recusadas"},
        {9000, -1, false, true, "busca"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::to_string(c.linhas) + " " + std::to_string(c.falhaNaLinha) + " " + c.erro);
        Recebedor destino;
        destino.recusa = c.recusa;
        destino.falhaNaLinha = c.falhaNaLinha;
        std::vector<std::string> esperadas;
        std::string erro;
        long enviadas = 0;
        try {
            RepasseParaOutraThread repasse(destino);
            // As the fetch does: columns refused, no row.
            if (!repasse.columns(kColunas)) throw std::runtime_error("colunas recusadas");
            for (long i = 0; i < c.linhas; ++i, ++enviadas) {
                const std::string texto(static_cast<std::size_t>(i % 300), static_cast<char>('a' + i % 26));
                const Cell cells[] = {{FieldType::Text, 0, texto},
                                      i % 3 ? Cell{FieldType::Integer, -i, {}} : Cell{},
                                      {FieldType::Decimal, i * 100 + 1, {}},
                                      {FieldType::Date, 13000 + i % 365, {}},
                                      {}};
                esperadas.push_back(comoTexto(cells));
                repasse.row(cells);
            }
            if (c.buscaFalha) throw std::runtime_error("busca");
            repasse.termina();
        } catch (const std::runtime_error& e) {
            erro = e.what();
        }
        EXPECT_EQ(erro, c.erro);
        EXPECT_EQ(destino.colunas, kColunas.size());
        if (c.falhaNaLinha < 0 && !c.recusa && !c.buscaFalha) {
            EXPECT_EQ(destino.colunas, kColunas.size());
            EXPECT_EQ(destino.vistas, esperadas);
            if (c.linhas > 0) {
                EXPECT_NE(destino.thread, std::this_thread::get_id());
            }
        }
        // A failing receiver stops the fetch within the batches it may be ahead.
        if (c.falhaNaLinha > 0) {
            EXPECT_LE(enviadas, c.falhaNaLinha + 5 * 4096);
        }
        if (c.recusa) {
            EXPECT_EQ(enviadas, 0);
        }
    }
}

}  // namespace
}  // namespace zorla
