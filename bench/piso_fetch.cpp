// The floor of any export: the three queries of one export fetched through the Firebird OO API, rows discarded,
// nothing converted or formatted. Prints the rows and the bytes of row data fetched: the non-null bytes of every
// value, texts at their real length. Serial: one after the other on one attachment. Parallel: the three at once,
// each on its own attachment and thread, the attachments opened before any fetch.
//   piso_fetch DATABASE MES ANO EMPRESA [paralelo]
#include <firebird/Interface.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace Firebird;

namespace {

struct Contagem {
    long long linhas = 0;
    long long bytes = 0;
};

class Piso {
public:
    explicit Piso(const char* banco) : m_master(fb_get_master_interface()), m_status(m_master->getStatus()) {
        IXpbBuilder* dpb = m_master->getUtilInterface()->getXpbBuilder(&m_status, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&m_status, isc_dpb_user_name, "ZORLA");
        dpb->insertString(&m_status, isc_dpb_lc_ctype, "WIN1252");
        m_att = m_master->getDispatcher()->attachDatabase(&m_status, banco, dpb->getBufferLength(&m_status),
                                                          dpb->getBuffer(&m_status));
        dpb->dispose();
    }
    ~Piso() { m_att->detach(&m_status); }

    // Runs the statement with its parameters, given as texts that the server converts, and discards every row.
    Contagem busca(const char* sql, const std::vector<std::string>& parametros) {
        ITransaction* tra = m_att->startTransaction(&m_status, 0, nullptr);
        IStatement* stmt = m_att->prepare(&m_status, tra, 0, sql, 3, IStatement::PREPARE_PREFETCH_METADATA);
        IMessageMetadata* declarada = stmt->getInputMetadata(&m_status);
        IMetadataBuilder* construtor = declarada->getBuilder(&m_status);
        for (unsigned i = 0; i < parametros.size(); ++i) {
            construtor->setType(&m_status, i, SQL_VARYING);
            construtor->setLength(&m_status, i, static_cast<unsigned>(parametros[i].size()));
        }
        IMessageMetadata* in = construtor->getMetadata(&m_status);
        std::vector<unsigned char> entrada(in->getMessageLength(&m_status), 0);
        for (unsigned i = 0; i < parametros.size(); ++i) {
            const auto n = static_cast<unsigned short>(parametros[i].size());
            std::memcpy(entrada.data() + in->getOffset(&m_status, i), &n, sizeof n);
            std::memcpy(entrada.data() + in->getOffset(&m_status, i) + sizeof n, parametros[i].data(), n);
        }
        IMessageMetadata* out = stmt->getOutputMetadata(&m_status);
        std::vector<unsigned char> linha(out->getMessageLength(&m_status));
        IResultSet* rs = stmt->openCursor(&m_status, tra, in, entrada.data(), out, 0);
        Contagem c;
        while (rs->fetchNext(&m_status, linha.data()) == IStatus::RESULT_OK) {
            ++c.linhas;
            c.bytes += carga(out, linha.data());
        }
        rs->close(&m_status);
        stmt->free(&m_status);
        for (IReferenceCounted* r :
             {static_cast<IReferenceCounted*>(declarada), static_cast<IReferenceCounted*>(construtor),
              static_cast<IReferenceCounted*>(in), static_cast<IReferenceCounted*>(out)})
            r->release();
        tra->commit(&m_status);
        return c;
    }

private:
    long long carga(IMessageMetadata* out, const unsigned char* linha) {
        long long bytes = 0;
        for (unsigned i = 0; i < out->getCount(&m_status); ++i) {
            short nulo;
            std::memcpy(&nulo, linha + out->getNullOffset(&m_status, i), sizeof nulo);
            if (nulo) continue;
            const unsigned type = out->getType(&m_status, i) & ~1u;
            if (type == SQL_VARYING) {
                unsigned short n;
                std::memcpy(&n, linha + out->getOffset(&m_status, i), sizeof n);
                bytes += n;
            } else {
                bytes += out->getLength(&m_status, i);
            }
        }
        return bytes;
    }

    IMaster* m_master;
    ThrowStatusWrapper m_status;
    IAttachment* m_att = nullptr;
};

struct Consulta {
    const char* nome;
    const char* sql;
    std::vector<std::string> parametros;
};

Contagem serie(const char* banco, const std::vector<Consulta>& consultas) {
    Piso piso(banco);
    Contagem total;
    for (const Consulta& q : consultas) {
        const auto antes = std::chrono::steady_clock::now();
        const Contagem c = piso.busca(q.sql, q.parametros);
        // Which query the floor is made of.
        std::printf("%s: %lld linhas, %.2f s\n", q.nome, c.linhas,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - antes).count());
        total.linhas += c.linhas;
        total.bytes += c.bytes;
    }
    return total;
}

Contagem paralelo(const char* banco, const std::vector<Consulta>& consultas) {
    std::vector<std::unique_ptr<Piso>> pisos;
    for (std::size_t i = 0; i < consultas.size(); ++i) pisos.push_back(std::make_unique<Piso>(banco));
    std::vector<Contagem> contagens(consultas.size());
    std::vector<std::exception_ptr> falhas(consultas.size());
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < consultas.size(); ++i)
            threads.emplace_back([&, i] {
                try {
                    contagens[i] = pisos[i]->busca(consultas[i].sql, consultas[i].parametros);
                } catch (...) {
                    falhas[i] = std::current_exception();
                }
            });
    }
    for (const auto& f : falhas)
        if (f) std::rethrow_exception(f);
    Contagem total;
    for (const Contagem& c : contagens) total.linhas += c.linhas, total.bytes += c.bytes;
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    const bool emParalelo = argc == 6 && std::strcmp(argv[5], "paralelo") == 0;
    if (argc != 5 && !emParalelo) {
        std::fprintf(stderr, "uso: %s BANCO MES ANO EMPRESA [paralelo]\n", argv[0]);
        return 2;
    }
    const int mes = std::atoi(argv[2]), ano = std::atoi(argv[3]), empresa = std::atoi(argv[4]);
    const int ultimo = mes == 2 ? ((ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0 ? 29 : 28)
                       : (mes == 4 || mes == 6 || mes == 9 || mes == 11) ? 30
                                                                         : 31;
    char inicial[16], final_[16];
    std::snprintf(inicial, sizeof inicial, "%04d-%02d-01", ano, mes);
    std::snprintf(final_, sizeof final_, "%04d-%02d-%02d", ano, mes, ultimo);
    const char* fiscal =
        "SELECT * FROM RELATORIOAPURACAOICMS(?, ?, ?, ?, ?, ?) ORDER BY DATAMOVIMENTO, AGRUPAMENTO, NUMERODOC";
    const std::string codigo = std::to_string(empresa);
    const std::vector<Consulta> consultas = {
        {"vendas", fiscal, {"NF", "S", inicial, final_, codigo, "%"}},
        {"compras", fiscal, {"NF", "E", inicial, final_, codigo, "%"}},
        {"movimento", "SELECT * FROM SP_EXPORTAMOVIMENTO_BANCARIO(?, ?, ?)", {"%", inicial, final_}},
    };
    try {
        const Contagem total = emParalelo ? paralelo(argv[1], consultas) : serie(argv[1], consultas);
        std::printf("linhas: %lld\nbytes de dados: %lld\n", total.linhas, total.bytes);
    } catch (const FbException& e) {
        char texto[1024];
        fb_get_master_interface()->getUtilInterface()->formatStatus(texto, sizeof texto, e.getStatus());
        std::fprintf(stderr, "%s\n", texto);
        return 1;
    }
    return 0;
}
