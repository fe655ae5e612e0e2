#include "comparacao/ColetorDeRegistros.h"

#include <bit>
#include <cstring>

#include "base/ArquivoParaLer.h"
#include "conferencia/ConferenciaDeArquivos.h"
#include "conferencia/LeituraDoCampo.h"
#include "leiaute/Leiaute.h"

namespace zorla {

std::uint64_t Espalha(std::string_view bytes, std::uint64_t semente) {
    constexpr std::uint64_t k1 = 0x9E3779B97F4A7C15ULL, k2 = 0xC2B2AE3D27D4EB4FULL, k3 = 0x165667B19E3779F9ULL;
    std::uint64_t h = semente ^ (bytes.size() * k1);
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t palavra;
        std::memcpy(&palavra, bytes.data() + i, 8);
        h = std::rotl(h ^ (palavra * k2), 31) * k1;
    }
    std::uint64_t resto = 0;
    std::memcpy(&resto, bytes.data() + i, bytes.size() - i);
    h ^= (resto + 1) * k3;
    // The last mix spreads every input bit over the whole word.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 33);
}

namespace {

// Where a kind of file keeps what identifies its records.
struct Posicoes {
    const Leiaute& l;
    std::vector<std::size_t> identidade;                                       // a book's document
    std::size_t linha = 0, historico = 0, valor = 0, data = 0, documento = 0;  // a movement's

    explicit Posicoes(TipoArquivo tipo) : l(LeiauteDoTipo(tipo)) {
        if (LivroFiscal(tipo)) {
            for (const char* nome : {"DATAMOVIMENTO", "NUMERODOC", "SERIEDOC", "TIPO", "CNPJ"})
                identidade.push_back(l.indice(nome));
            return;
        }
        linha = l.indice("Linha"), historico = l.indice("Histórico"), valor = l.indice("VALOR");
        data = l.indice("DATA"), documento = l.indice("DOCUMENTO");
    }
};

const Posicoes& posicoes(TipoArquivo tipo) {
    static const Posicoes saida(TipoArquivo::LivroSaidas), entrada(TipoArquivo::LivroEntradas),
        lancamento(TipoArquivo::Recebimentos);
    return tipo == TipoArquivo::LivroSaidas ? saida : tipo == TipoArquivo::LivroEntradas ? entrada : lancamento;
}

bool comParcela(TipoArquivo tipo) { return tipo == TipoArquivo::Recebimentos || tipo == TipoArquivo::Pagamentos; }

// The identity's fields, one after the other with a separator no field holds.
std::string identidade(TipoArquivo tipo, std::string_view primeira, std::string_view segunda) {
    const Posicoes& p = posicoes(tipo);
    std::string chave;
    const auto poe = [&](std::string_view campo) {
        chave.append(campo);
        chave.push_back('\x1F');
    };
    if (LivroFiscal(tipo)) {
        for (std::size_t i : p.identidade) poe(p.l.campo(primeira, i));
        return chave;
    }
    const std::string_view ultima = segunda.empty() ? primeira : segunda;
    poe(p.l.campo(primeira, p.data));
    poe(p.l.campo(primeira, p.documento));
    poe(p.l.campo(ultima, p.valor));
    if (comParcela(tipo)) poe(p.l.campo(segunda, p.historico));
    return chave;
}

}  // namespace

ColetorDeRegistros::ColetorDeRegistros(TipoArquivo tipo) : m_tipo(tipo) {}

void ColetorDeRegistros::linha(long numero, std::string_view texto, std::uint64_t inicio) {
    if (LivroFiscal(m_tipo)) {
        m_registros.push_back({Espalha(identidade(m_tipo, texto, {})), Espalha(texto), inicio, numero});
        return;
    }
    const Posicoes& p = posicoes(m_tipo);
    const std::string_view n = p.l.campo(texto, p.linha);
    if (n == "2" && m_aberto) {
        const std::string conteudo = m_primeira + '\n' + std::string(texto);
        m_registros.push_back({Espalha(identidade(m_tipo, m_primeira, texto)), Espalha(conteudo), m_inicio, m_numero});
        m_aberto = false;
        return;
    }
    fechaMovimento();
    m_primeira.assign(texto);
    m_inicio = inicio;
    m_numero = numero;
    m_aberto = true;
}

void ColetorDeRegistros::fechaMovimento() {
    if (!m_aberto) return;
    m_registros.push_back({Espalha(identidade(m_tipo, m_primeira, {})), Espalha(m_primeira), m_inicio, m_numero});
    m_aberto = false;
}

std::vector<RegistroComparavel> ColetorDeRegistros::termina() {
    fechaMovimento();
    return std::move(m_registros);
}

std::vector<RegistroComparavel> RegistrosDoArquivo(const ArquivoParaLer& arquivo, TipoArquivo tipo) {
    ColetorDeRegistros coletor(tipo);
    LeLinhasComInicio(arquivo, [&](long n, std::string_view linha, std::uint64_t inicio) {
        coletor.linha(n, linha, inicio);
        return true;
    });
    return coletor.termina();
}

std::string IdentidadeLegivel(TipoArquivo tipo, std::string_view primeira, std::string_view segunda) {
    const Posicoes& p = posicoes(tipo);
    const auto le = [&](std::string_view linha, std::size_t i) {
        return CampoParaPessoa(p.l.campos[i], p.l.campo(linha, i));
    };
    const auto documento = [](const std::string& numero) { return numero.empty() ? "" : ", documento " + numero; };
    if (LivroFiscal(tipo)) {
        std::string texto = le(primeira, p.identidade[0]) + documento(le(primeira, p.identidade[1]));
        if (std::string serie = le(primeira, p.identidade[2]); !serie.empty()) texto += ", série " + serie;
        if (std::string especie = le(primeira, p.identidade[3]); !especie.empty()) texto += ", " + especie;
        if (std::string cadastro = le(primeira, p.identidade[4]); !cadastro.empty()) texto += ", CNPJ/CPF " + cadastro;
        return texto;
    }
    std::string texto = le(primeira, p.data) + documento(le(primeira, p.documento));
    if (comParcela(tipo) && !segunda.empty()) {
        const std::string historico = le(segunda, p.historico);
        if (const auto barra = historico.rfind('/'); barra != std::string::npos) texto += historico.substr(barra);
    }
    return texto + ", R$ " + le(segunda.empty() ? primeira : segunda, p.valor);
}

}  // namespace zorla
