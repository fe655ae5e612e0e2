#include "comparacao/ColetorDeRegistros.h"

#include <bit>
#include <cstring>

#include "conferencia/LeituraDoCampo.h"
#include "leiaute/Leiaute.h"

namespace zorla {

std::uint64_t Espalha(std::string_view bytes, std::uint64_t semente) {
    constexpr std::uint64_t k1 = 0x9E3779B97F4A7C15ULL, k2 = 0xC2B2AE3D27D4EB4FULL, k3 = 0x165667B19E3779F9ULL;
    const auto palavra = [&](std::size_t i) {
        std::uint64_t w;
        std::memcpy(&w, bytes.data() + i, 8);
        return w;
    };
    const auto passo = [](std::uint64_t h, std::uint64_t w) { return std::rotl(h ^ (w * k2), 31) * k1; };
    // Four lanes, 32 bytes a turn: their multiplications run side by side.
    std::uint64_t a = semente ^ (bytes.size() * k1), b = a + k2, c = a + k3, d = a - k1;
    std::size_t i = 0;
    for (; i + 32 <= bytes.size(); i += 32) {
        a = passo(a, palavra(i));
        b = passo(b, palavra(i + 8));
        c = passo(c, palavra(i + 16));
        d = passo(d, palavra(i + 24));
    }
    std::uint64_t h = std::rotl(a, 1) + std::rotl(b, 7) + std::rotl(c, 12) + std::rotl(d, 18);
    for (; i + 8 <= bytes.size(); i += 8) h = passo(h, palavra(i));
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

// A field's place in a line, found once.
struct Lugar {
    std::size_t inicio = 0, largura = 0;
    std::string_view em(std::string_view linha) const {
        return inicio < linha.size() ? linha.substr(inicio, largura) : std::string_view();
    }
};

// Where a kind of file keeps what identifies its records.
struct Posicoes {
    const Leiaute& l;
    std::vector<std::size_t> identidade;                                       // a book's document
    std::vector<Lugar> lugares;                                                // of those
    std::size_t linha = 0, historico = 0, valor = 0, data = 0, documento = 0;  // a movement's
    Lugar lugarDaLinha, lugarDoHistorico, lugarDoValor, lugarDaData, lugarDoDocumento;

    explicit Posicoes(TipoArquivo tipo) : l(LeiauteDoTipo(tipo)) {
        const auto lugar = [&](std::size_t i) { return Lugar{l.inicio(i), l.campos[i].largura}; };
        if (LivroFiscal(tipo)) {
            for (const char* nome : {"DATAMOVIMENTO", "NUMERODOC", "SERIEDOC", "TIPO", "CNPJ"}) {
                identidade.push_back(l.indice(nome));
                lugares.push_back(lugar(identidade.back()));
            }
            return;
        }
        linha = l.indice("Linha"), historico = l.indice("Histórico"), valor = l.indice("VALOR");
        data = l.indice("DATA"), documento = l.indice("DOCUMENTO");
        lugarDaLinha = lugar(linha), lugarDoHistorico = lugar(historico), lugarDoValor = lugar(valor);
        lugarDaData = lugar(data), lugarDoDocumento = lugar(documento);
    }
};

const Posicoes& posicoes(TipoArquivo tipo) {
    static const Posicoes saida(TipoArquivo::LivroSaidas), entrada(TipoArquivo::LivroEntradas),
        lancamento(TipoArquivo::Recebimentos);
    return tipo == TipoArquivo::LivroSaidas ? saida : tipo == TipoArquivo::LivroEntradas ? entrada : lancamento;
}

bool comParcela(TipoArquivo tipo) { return tipo == TipoArquivo::Recebimentos || tipo == TipoArquivo::Pagamentos; }

// The identity's fields, one after the other with a separator no field holds, hashed; `chave` only lends its room.
std::uint64_t identidade(TipoArquivo tipo, std::string_view primeira, std::string_view segunda, std::string& chave) {
    const Posicoes& p = posicoes(tipo);
    chave.clear();
    const auto poe = [&](std::string_view campo) {
        chave.append(campo);
        chave.push_back('\x1F');
    };
    if (LivroFiscal(tipo)) {
        for (const Lugar& lugar : p.lugares) poe(lugar.em(primeira));
        return Espalha(chave);
    }
    const std::string_view ultima = segunda.empty() ? primeira : segunda;
    poe(p.lugarDaData.em(primeira));
    poe(p.lugarDoDocumento.em(primeira));
    poe(p.lugarDoValor.em(ultima));
    if (comParcela(tipo)) poe(p.lugarDoHistorico.em(segunda));
    return Espalha(chave);
}

}  // namespace

ColetorDeRegistros::ColetorDeRegistros(TipoArquivo tipo, std::uint64_t tamanho) : m_tipo(tipo) {
    m_registros.reserve(static_cast<std::size_t>(tamanho / (LeiauteDoTipo(tipo).largura() + 2)) + 1);
}

void ColetorDeRegistros::linha(long numero, std::string_view texto, std::uint64_t inicio) {
    if (LivroFiscal(m_tipo)) {
        m_registros.push_back({identidade(m_tipo, texto, {}, m_chave), Espalha(texto), inicio, numero});
        return;
    }
    if (m_aberto && posicoes(m_tipo).lugarDaLinha.em(texto) == "2") {
        m_primeira.push_back('\n');
        const std::size_t tamanho = m_primeira.size();
        m_primeira.append(texto);
        const std::uint64_t conteudo = Espalha(m_primeira);
        const std::string_view primeira = std::string_view(m_primeira).substr(0, tamanho - 1);
        m_registros.push_back({identidade(m_tipo, primeira, texto, m_chave), conteudo, m_inicio, m_numero});
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
    m_registros.push_back({identidade(m_tipo, m_primeira, {}, m_chave), Espalha(m_primeira), m_inicio, m_numero});
    m_aberto = false;
}

std::vector<RegistroComparavel> ColetorDeRegistros::termina() {
    fechaMovimento();
    return std::move(m_registros);
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
