#include "conferencia/ConferenciaDeArquivos.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>

#include "base/ArquivoParaLer.h"
#include "base/Caminho.h"
#include "base/Cp1252.h"
#include "base/Formatacao.h"
#include "base/Periodo.h"
#include "base/TextoVisivel.h"
#include "conferencia/MoldeDaLinha.h"

namespace zorla {

namespace {

namespace fs = std::filesystem;

// What the writers never let into a record: they write each as a blank.
bool controle(unsigned char c) { return CaractereDeControle(static_cast<char>(c)); }

// A line of no end (a file of zeros after a crash) is kept this long; past it, it is only counted.
constexpr std::size_t kLinhaMaxima = 1 << 20;

// Whether eight bytes may hold a control character or the start of UTF-8: one below 0x20, or one of 0x7F and above.
// Most of a record is plain text and digits, and is passed over eight bytes at a time.
bool suspeitos(const char* p) {
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    constexpr std::uint64_t uns = 0x0101010101010101, altos = 0x8080808080808080;
    const std::uint64_t abaixo = (x - uns * 0x20) & ~x & altos;
    return (abaixo | (x + uns) | x) & altos;
}

// Whether eight bytes and the rest are all digits: an amount filled with zeros, as nearly all are.
bool soDigitos(std::string_view v) {
    constexpr std::uint64_t uns = 0x0101010101010101, altos = 0x8080808080808080;
    std::size_t i = 0;
    for (std::uint64_t x; i + 8 <= v.size(); i += 8) {
        std::memcpy(&x, v.data() + i, sizeof x);
        // Below '0' borrows into the high bit; above '9' carries into it once 0x46 is added.
        if (((x - uns * '0') | (x + uns * 0x46) | x) & altos) return false;
    }
    for (; i < v.size(); ++i)
        if (v[i] < '0' || v[i] > '9') return false;
    return true;
}

std::optional<std::int64_t> valorDe(const CampoDoLeiaute& f, std::string_view v) {
    std::size_t i = 0;
    while (i < v.size() && v[i] == f.preenchimento) ++i;
    v.remove_prefix(i);
    if (v.empty()) return 0;  // zeros, or the blanks of a missing rate
    const bool negativo = v[0] == '-';
    if (negativo) v.remove_prefix(1);
    if (v.empty()) return std::nullopt;
    std::int64_t n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return negativo ? -n : n;
}

// The number digits alone spell: the last eight in a few multiplications, instead of a chain of eight.
std::int64_t digitos(std::string_view v) {
    std::int64_t n = 0;
    while (v.size() > 8) n = n * 10 + (v[0] - '0'), v.remove_prefix(1);
    // The multiplications below take the first digit in the lowest byte.
    if (v.size() < 8 || std::endian::native != std::endian::little) {
        for (char c : v) n = n * 10 + (c - '0');
        return n;
    }
    std::uint64_t x;
    std::memcpy(&x, v.data(), sizeof x);
    x -= 0x3030303030303030;
    x = x * 10 + (x >> 8);
    x = ((x & 0x000000FF000000FF) * (100 + (1000000ULL << 32)) +
         ((x >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32))) >>
        32;
    return n * 100000000 + static_cast<std::int64_t>(x);
}

// Eight bytes at a time: the 199 closing blanks of a sales record are most of it.
bool todosIguais(std::string_view v, char c) {
    const std::uint64_t padrao = 0x0101010101010101ULL * static_cast<unsigned char>(c);
    std::size_t i = 0;
    for (std::uint64_t x; i + 8 <= v.size(); i += 8) {
        std::memcpy(&x, v.data() + i, sizeof x);
        if (x != padrao) return false;
    }
    for (; i < v.size(); ++i)
        if (v[i] != c) return false;
    return true;
}

// The number `n` digits spell from `p`; -1 when one is not a digit.
int numero(const char* p, std::size_t n) {
    int v = 0;
    for (std::size_t i = 0; i < n; ++i) v = p[i] >= '0' && p[i] <= '9' && v >= 0 ? v * 10 + (p[i] - '0') : -1;
    return v;
}

// Blanks for a missing date; otherwise a day its month has, given in `lida` when asked for.
std::optional<std::string> confereData(const CampoDoLeiaute& f, std::string_view v, Date* lida = nullptr) {
    if (v.find_first_not_of(' ') == std::string_view::npos) return std::nullopt;
    const char* p = v.data();
    int dia, mes, ano;
    if (f.regra == Regra::AnoMesDia)
        ano = numero(p, 4), mes = numero(p + 4, 2), dia = numero(p + 6, 2);
    else
        dia = numero(p, 2), mes = numero(p + 2, 2), ano = numero(p + 4, v.size() - 4);
    if (f.regra == Regra::DiaMesAno2 && ano >= 0) ano += 2000;
    if (dia < 0 || mes < 0 || ano < 0) return "data com caracteres que não são dígitos";
    if (ano < 1 || mes < 1 || mes > 12 || dia < 1 || dia > UltimoDiaDoMes(mes, ano)) return "data inexistente";
    if (lida)
        *lida = Date{std::chrono::year{ano}, std::chrono::month{static_cast<unsigned>(mes)},
                     std::chrono::day{static_cast<unsigned>(dia)}};
    return std::nullopt;
}

std::optional<std::string> problemaDoCampo(const CampoDoLeiaute& f, std::string_view v) {
    switch (f.regra) {
        case Regra::Fixo:
            if (todosIguais(v, f.preenchimento)) return std::nullopt;
            return f.largura == 1
                       ? std::string("deveria ser '") + f.preenchimento + "'"
                       : std::string(f.preenchimento == '0' ? "deveria ter só zeros" : "deveria ter só brancos");
        case Regra::Valor:
            if (valorDe(f, v)) return std::nullopt;
            return "não é um valor: dígitos alinhados à direita, o sinal de menos à frente";
        case Regra::AnoMesDia:
        case Regra::DiaMesAno:
        case Regra::DiaMesAno2:
            return confereData(f, v);
        case Regra::Dado:
            if (f.nome == "Linha" && v != "1" && v != "2") return "deveria ser 1 ou 2";
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// Each line of the file without its "\n", whether it had one, and where it starts; a block at a time, a line across
// two blocks joined.
using LinhaBruta = std::function<bool(long, std::string_view, bool, std::uint64_t)>;
// From `desde` to `ate` (a line's start, and the start of a line or the end).
void leBruto(const ArquivoParaLer& f, const LinhaBruta& linha, std::uint64_t desde = 0,
             std::uint64_t ate = UINT64_MAX) {
    std::vector<char> bloco(256 << 10);
    std::string resto;
    long n = 0;
    std::uint64_t inicio = desde, lido = desde;
    for (;;) {
        const std::size_t lidos =
            f.le(bloco.data(), static_cast<std::size_t>(std::min<std::uint64_t>(bloco.size(), ate - lido)), lido);
        lido += lidos;
        if (lidos == 0) break;
        std::string_view b(bloco.data(), lidos);
        for (std::size_t fim; (fim = b.find('\n')) != std::string_view::npos; b.remove_prefix(fim + 1)) {
            const std::string_view l = resto.empty() ? b.substr(0, fim) : resto.append(b.substr(0, fim));
            const bool segue = linha(++n, l, true, inicio);
            inicio += l.size() + 1;
            resto.clear();
            if (!segue) return;
        }
        // A line of no end is kept up to a point: the rest of it is not read into memory.
        resto.append(b.substr(0, kLinhaMaxima > resto.size() ? kLinhaMaxima - resto.size() : 0));
    }
    if (!resto.empty()) linha(++n, resto, false, inicio);
}

// The check of one file's lines, one after the other.
class Conferente {
public:
    Conferente(const std::string& caminho, TipoArquivo tipo)
        : m_l(LeiauteDoTipo(tipo)),
          m_livro(LivroFiscal(tipo)),
          m_pares(tipo == TipoArquivo::Recebimentos || tipo == TipoArquivo::Pagamentos),
          m_ruins(m_l.campos.size()),
          m_centavos(m_l.campos.size()) {
        m_r.totais.tipo = tipo;
        m_r.totais.caminho = caminho;
        m_r.totais.completo = true;
        for (std::size_t i = 0; i < m_l.campos.size(); ++i) m_inicios.push_back(m_l.inicio(i));
        m_tipo = indice("TIPO"), m_numeroDaLinha = indice("Linha");
        m_data = indice(m_livro ? "DATAMOVIMENTO" : "DATA"), m_empresa = indice("Código da empresa");
        const char* const montantes[] = {"VALOR", "BASEICMS", "VALORICMS", "BASEIPI", "VALORIPI"};
        for (std::size_t k = 0; k < std::size(montantes); ++k) m_montantes[k] = indice(montantes[k]);
        for (std::size_t k : m_montantes)
            if (k != kLinha) m_somado[k] = true;
        // Texts hold anything but control characters; only the other fields are read one by one.
        for (std::size_t i = 0; i < m_l.campos.size(); ++i)
            if (!m_l.campos[i].texto() && (m_l.campos[i].regra != Regra::Dado || i == m_numeroDaLinha))
                m_conferidos.push_back(i);
        for (std::size_t i : m_conferidos) {
            if (!m_molde.cobre(i))
                m_foraDoMolde.push_back(i);
            else if (m_somado[i])
                m_somadosNoMolde.push_back(i);
        }
    }

    void linha(long n, std::string_view bruta, bool temLf) {
        m_r.totais.linhas = n;
        const bool cr = !bruta.empty() && bruta.back() == '\r';
        if (cr) bruta.remove_suffix(1);
        if (!temLf || !cr)
            acha(n, kLinha, "", temLf ? "a linha termina em LF sem CR" : "a última linha não termina em CR LF");
        if (m_molde.confere(bruta)) {
            if (m_ruinsMarcados) std::fill(m_ruins.begin(), m_ruins.end(), false), m_ruinsMarcados = false;
            for (std::size_t i : m_foraDoMolde) confereCampo(n, bruta, i);
            for (std::size_t i : m_somadosNoMolde) m_centavos[i] = digitos(campo(bruta, i));
        } else {
            std::fill(m_ruins.begin(), m_ruins.end(), false);
            m_ruinsMarcados = true;
            caracteres(n, bruta);
            if (bruta.size() != m_largura) {
                acha(n, kLinha, "",
                     (bruta.size() >= kLinhaMaxima ? "tem mais de " : "tem ") + std::to_string(bruta.size()) +
                         " caracteres em vez de " + std::to_string(m_largura));
                m_anterior = 0;  // its place in a movement cannot be read
                return;
            }
            for (std::size_t i : m_conferidos) confereCampo(n, bruta, i);
        }
        periodoEEmpresa(bruta);
        if (m_livro)
            somaLivro(bruta);
        else
            somaLancamento(n, bruta);
    }

    void confereCampo(long n, std::string_view linha, std::size_t i) {
        const CampoDoLeiaute& f = m_l.campos[i];
        if (m_ruins[i]) return;
        const std::string_view texto = campo(linha, i);
        if (f.regra == Regra::Valor) {
            if (soDigitos(texto)) {
                if (m_somado[i]) m_centavos[i] = digitos(texto);
                return;
            }
            const auto v = valorDe(f, texto);
            m_centavos[i] = v.value_or(0);
            if (v) return;
        }
        if (auto p = problemaDoCampo(f, texto)) acha(n, i, texto, std::move(*p));
    }

    ConferenciaDoArquivo fim() {
        if (m_pares && m_anterior == '1')
            acha(m_primeira, m_numeroDaLinha, "1", "primeira linha de um movimento sem a segunda");
        // A lone first line is found on the line after it.
        std::stable_sort(m_r.problemas.begin(), m_r.problemas.end(),
                         [](const ProblemaNaLinha& a, const ProblemaNaLinha& b) { return a.linha < b.linha; });
        return std::move(m_r);
    }

private:
    static constexpr std::size_t kLinha = static_cast<std::size_t>(-1);

    // Of a line of the layout's width, as every line is once its width has been checked.
    std::string_view campo(std::string_view linha, std::size_t i) const {
        return {linha.data() + m_inicios[i], m_l.campos[i].largura};
    }
    std::size_t campoEm(std::size_t posicao) const {
        std::size_t i = 0;
        while (i + 1 < m_inicios.size() && m_inicios[i + 1] <= posicao) ++i;
        return i;
    }
    void acha(long n, std::size_t i, std::string_view valor, std::string problema) {
        ++m_r.totalDeProblemas;
        if (m_r.problemas.size() >= ConferenciaDoArquivo::kMaximoDeProblemas) return;
        ProblemaNaLinha p{n, "linha", 0, 0, VisivelCp1252(valor), std::move(problema)};
        if (i != kLinha)
            p.campo = m_l.campos[i].nome, p.inicio = m_inicios[i] + 1, p.fim = m_inicios[i] + m_l.campos[i].largura;
        m_r.problemas.push_back(std::move(p));
    }
    // Control characters and UTF-8 wherever they stand, named by the field they fall in.
    void caracteres(long n, std::string_view t) {
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (i % 8 == 0 && i + 8 <= t.size() && !suspeitos(t.data() + i)) {
                i += 7;
                continue;
            }
            const auto c = static_cast<unsigned char>(t[i]);
            const std::size_t utf8 = c >= 0xC2 ? Utf8Em(t, i) : 0;
            if (!controle(c) && !utf8) continue;
            const std::size_t f = campoEm(i);
            if (m_ruins[f]) continue;  // once a field: a line of zeros is one problem, not a million
            m_ruins[f] = true;
            const std::string_view valor =
                t.size() == m_largura ? campo(t, f) : t.substr(i, std::max<std::size_t>(utf8, 1));
            acha(n, f, valor,
                 utf8 ? "texto em UTF-8 (" + std::string(t.substr(i, utf8)) + "), não em code page 1252"
                      : "caractere de controle na posição " + std::to_string(i + 1));
            if (utf8) i += utf8 - 1;
        }
    }
    // An amount the totals take; one the layout lacks (IPI in purchases) or that is not a number counts nothing.
    std::int64_t valor(std::size_t i) const { return i == kLinha || m_ruins[i] ? 0 : m_centavos[i]; }
    std::size_t indice(std::string_view nome) const {
        for (std::size_t i = 0; i < m_l.campos.size(); ++i)
            if (m_l.campos[i].nome == nome) return i;
        return kLinha;
    }
    void somaLivro(std::string_view linha) {
        std::string_view tipo = campo(linha, m_tipo);
        tipo = tipo.substr(0, tipo.find_last_not_of(' ') + 1);
        auto& porTipo = m_r.totais.porTipo;
        auto it = std::find_if(porTipo.begin(), porTipo.end(), [&](const auto& p) { return p.first == tipo; });
        if (it == porTipo.end()) it = porTipo.insert(it, {std::string(tipo), Somas{}});
        for (Somas* s : {&m_r.totais.somas, &it->second}) {
            ++s->documentos;
            std::int64_t* const destinos[] = {&s->valor, &s->baseIcms, &s->valorIcms, &s->baseIpi, &s->valorIpi};
            for (std::size_t k = 0; k < std::size(destinos); ++k) *destinos[k] += valor(m_montantes[k]);
        }
    }
    // A first line opens a movement; a second line must follow one, and in receipts and payments always does.
    void somaLancamento(long n, std::string_view linha) {
        const std::size_t i = m_numeroDaLinha;
        const char numero = campo(linha, i)[0];
        if (numero == '2' && m_anterior != '1') acha(n, i, "2", "segunda linha sem a primeira do movimento");
        if (numero == '1' && m_pares && m_anterior == '1')
            acha(m_primeira, i, "1", "primeira linha de um movimento sem a segunda");
        if (numero == '1') ++m_r.totais.somas.documentos, m_primeira = n;
        m_r.totais.somas.valor += valor(m_montantes[0]);
        m_anterior = numero;
    }

    // The date of the movement and the company of a line of the layout's width.
    void periodoEEmpresa(std::string_view linha) {
        const CampoDoLeiaute& f = m_l.campos[m_data];
        const std::string_view v = campo(linha, m_data);
        if (Date d; !confereData(f, v, &d) && v.find_first_not_of(' ') != std::string_view::npos) {
            if (!m_r.primeiraData || d < *m_r.primeiraData) m_r.primeiraData = d;
            if (!m_r.ultimaData || d > *m_r.ultimaData) m_r.ultimaData = d;
        }
        if (m_empresa == kLinha) return;
        std::string_view codigo = campo(linha, m_empresa);
        codigo = codigo.substr(0, codigo.find_last_not_of(' ') + 1);
        auto& empresas = m_r.empresas;
        if (empresas.size() < ConferenciaDoArquivo::kMaximoDeEmpresas &&
            std::find(empresas.begin(), empresas.end(), codigo) == empresas.end())
            empresas.emplace_back(codigo);
    }

    const Leiaute& m_l;
    bool m_livro, m_pares;
    std::vector<std::size_t> m_inicios;
    std::size_t m_largura = m_l.largura();
    std::vector<char> m_ruins;             // fields of the current line already reported for their characters
    std::vector<std::int64_t> m_centavos;  // the current line's amounts, read once for the check and the totals
    std::vector<char> m_somado = std::vector<char>(m_l.campos.size());  // an amount the totals take
    std::vector<std::size_t> m_conferidos;
    MoldeDaLinha m_molde{m_l};
    // What a line that fits the mould still needs read: the fields it does not cover, and the amounts it sums.
    std::vector<std::size_t> m_foraDoMolde, m_somadosNoMolde;
    bool m_ruinsMarcados = false;
    std::size_t m_tipo = kLinha, m_numeroDaLinha = kLinha, m_montantes[5] = {}, m_data = kLinha, m_empresa = kLinha;
    ConferenciaDoArquivo m_r;
    char m_anterior = 0;  // the line number field of the line before, 0 when it could not be read
    long m_primeira = 0;  // the last first line of a movement
};

}  // namespace

namespace {

ConferenciaDoArquivo confereTrecho(const ArquivoParaLer& arquivo, TipoArquivo tipo, std::uint64_t desde,
                                   std::uint64_t ate, std::vector<std::uint64_t>* inicios) {
    Conferente c(arquivo.caminho(), tipo);
    std::uint64_t fim = desde;
    leBruto(
        arquivo,
        [&](long n, std::string_view linha, bool temLf, std::uint64_t inicio) {
            c.linha(n, linha, temLf);
            if (inicios) inicios->push_back(inicio);
            fim = inicio + linha.size() + (temLf ? 1 : 0);
            return true;
        },
        desde, ate);
    if (inicios) inicios->push_back(fim);
    return c.fim();
}

// The start of the first line after `meio`; 0 when none begins in the next 64 KiB.
std::uint64_t pontoDeCorte(const ArquivoParaLer& f, std::uint64_t meio) {
    std::vector<char> bloco(64 << 10);
    const std::string_view lido(bloco.data(), f.le(bloco.data(), bloco.size(), meio));
    const std::size_t fim = lido.find('\n');
    return fim == std::string_view::npos ? 0 : meio + fim + 1;
}

void soma(Somas& a, const Somas& b) {
    a.documentos += b.documentos, a.valor += b.valor, a.baseIcms += b.baseIcms, a.valorIcms += b.valorIcms;
    a.baseIpi += b.baseIpi, a.valorIpi += b.valorIpi;
}

// The second half's lines after the first's: their numbers go on, their TIPOs after those already seen.
void junta(ConferenciaDoArquivo& a, ConferenciaDoArquivo b) {
    const long antes = a.totais.linhas;
    a.totais.linhas += b.totais.linhas;
    soma(a.totais.somas, b.totais.somas);
    for (auto& par : b.totais.porTipo) {
        const std::string& tipo = par.first;
        const Somas& somas = par.second;
        auto it = std::find_if(a.totais.porTipo.begin(), a.totais.porTipo.end(),
                               [&](const auto& p) { return p.first == tipo; });
        if (it == a.totais.porTipo.end())
            a.totais.porTipo.emplace_back(tipo, somas);
        else
            soma(it->second, somas);
    }
    for (ProblemaNaLinha& p : b.problemas) {
        if (a.problemas.size() >= ConferenciaDoArquivo::kMaximoDeProblemas) break;
        p.linha += antes;
        a.problemas.push_back(std::move(p));
    }
    a.totalDeProblemas += b.totalDeProblemas;
    if (b.primeiraData && (!a.primeiraData || *b.primeiraData < *a.primeiraData)) a.primeiraData = b.primeiraData;
    if (b.ultimaData && (!a.ultimaData || *b.ultimaData > *a.ultimaData)) a.ultimaData = b.ultimaData;
    for (std::string& e : b.empresas)
        if (a.empresas.size() < ConferenciaDoArquivo::kMaximoDeEmpresas &&
            std::find(a.empresas.begin(), a.empresas.end(), e) == a.empresas.end())
            a.empresas.push_back(std::move(e));
}

unsigned nucleos() { return std::max(1u, std::thread::hardware_concurrency()); }

// A part of a file read on its own: from the start of a line to the start of another, or the end.
struct Trecho {
    std::size_t arquivo;
    std::uint64_t desde = 0, ate = UINT64_MAX;
};

// Each file opened once, checked to be a file of text, and read by every part through the same descriptor.
struct Aberto {
    std::shared_ptr<const ArquivoParaLer> arquivo;
    TipoArquivo tipo;
};

// A book's records depend on no other line: a large one is read in as many parts as there are cores, all the files
// at once. A cash/bank file is read whole, its pairs in order.
std::vector<Trecho> trechosDe(const std::vector<Aberto>& arquivos) {
    std::vector<Trecho> trechos;
    for (std::size_t i = 0; i < arquivos.size(); ++i) {
        const ArquivoParaLer& f = *arquivos[i].arquivo;
        const std::uint64_t tamanho = f.tamanho();
        const unsigned partes = LivroFiscal(arquivos[i].tipo) && tamanho >= (16u << 20) ? nucleos() : 1;
        std::uint64_t desde = 0;
        for (unsigned k = 1; k < partes; ++k) {
            const std::uint64_t corte = pontoDeCorte(f, tamanho / partes * k);
            if (corte <= desde) continue;
            trechos.push_back({i, desde, corte});
            desde = corte;
        }
        trechos.push_back({i, desde});
    }
    return trechos;
}

}  // namespace

std::optional<std::int64_t> CentavosDoCampo(const CampoDoLeiaute& campo, std::string_view texto) {
    return valorDe(campo, texto);
}

std::vector<std::pair<std::string, TipoArquivo>> ArquivosExportados(const std::string& caminho, bool todosOsPeriodos) {
    std::error_code ec;
    const fs::path lugar = CaminhoDoSistema(caminho);
    if (!fs::is_directory(lugar, ec)) {
        const auto tipo = TipoPeloNome(TextoDoCaminho(lugar.filename()));
        // What cannot be told here (a folder this user cannot enter) is said when the file is opened.
        if (const std::string oQueE = OQueOCaminhoE(caminho); oQueE == "nada")
            throw std::invalid_argument("O arquivo " + Visivel(caminho) + " não existe.");
        else if (!oQueE.empty())
            throw std::invalid_argument("O caminho " + Visivel(caminho) + " é " + oQueE +
                                        ", não um arquivo exportado.");
        if (!tipo)
            throw std::invalid_argument("O nome de " + Visivel(caminho) +
                                        " não é de um arquivo exportado (.SAI, .ENT, "
                                        "ctr….txt, pag….txt, fca….txt).");
        return {{caminho, *tipo}};
    }
    std::map<std::string, std::vector<std::pair<std::string, TipoArquivo>>> porBase;
    // A folder that cannot be read is not an empty one.
    const auto naoLida = [&] {
        return std::runtime_error("Não foi possível ler a pasta " + Visivel(caminho) + ": " + ec.message());
    };
    fs::directory_iterator it(lugar, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string nome = TextoDoCaminho(it->path().filename());
        std::error_code tipoDoArquivo;
        if (const auto tipo = TipoPeloNome(nome); tipo && it->is_regular_file(tipoDoArquivo))
            porBase[BaseDoNome(nome, *tipo)].push_back({TextoDoCaminho(it->path()), *tipo});
    }
    if (ec) throw naoLida();
    if (porBase.empty()) throw std::invalid_argument("A pasta " + Visivel(caminho) + " não tem arquivos exportados.");
    if (porBase.size() > 1 && !todosOsPeriodos)
        throw std::invalid_argument("A pasta " + Visivel(caminho) + " tem arquivos de mais de um período (" +
                                    Visivel(porBase.begin()->first) + ", " +
                                    Visivel(std::next(porBase.begin())->first) + "…): indique um dos arquivos.");
    std::vector<std::pair<std::string, TipoArquivo>> arquivos;
    for (auto& [base, doPeriodo] : porBase) {
        std::sort(doPeriodo.begin(), doPeriodo.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        arquivos.insert(arquivos.end(), doPeriodo.begin(), doPeriodo.end());
    }
    return arquivos;
}

ConferenciaDoArquivo ConfereVendoAsLinhas(
    const ArquivoParaLer& arquivo, TipoArquivo tipo,
    const std::function<void(long, std::string_view, std::uint64_t)>& aCadaLinha) {
    Conferente c(arquivo.caminho(), tipo);
    leBruto(arquivo, [&](long n, std::string_view linha, bool temLf, std::uint64_t inicio) {
        c.linha(n, linha, temLf);
        aCadaLinha(n, linha.ends_with('\r') ? linha.substr(0, linha.size() - 1) : linha, inicio);
        return true;
    });
    return c.fim();
}

FaltasNaPasta FaltasDaExportacao(const std::string& pasta,
                                 const std::vector<std::pair<std::string, TipoArquivo>>& arquivos) {
    std::map<std::string, std::vector<TipoArquivo>> porBase;
    for (const auto& [caminho, tipo] : arquivos) porBase[BaseDoNome(NomeDoArquivo(caminho), tipo)].push_back(tipo);
    FaltasNaPasta faltas;
    for (const auto& [base, tipos] : porBase)
        for (TipoArquivo tipo : kTiposDeArquivo) {
            if (std::find(tipos.begin(), tipos.end(), tipo) != tipos.end()) continue;
            const std::string nome = NomeDoArquivoDoTipo(tipo, base);
            const std::string noLugar = OQueOCaminhoE(TextoDoCaminho(CaminhoDoSistema(pasta) / CaminhoDoSistema(nome)));
            if (tipo == TipoArquivo::LivroEntradas && noLugar == "nada")
                faltas.semCompras.push_back(Visivel(nome));
            else
                faltas.faltam.push_back(Visivel(nome) + (noLugar == "nada" ? "" : ", que é " + noLugar));
        }
    return faltas;
}

ConferenciaDoArquivo ConfereArquivo(const std::string& caminho, TipoArquivo tipo, std::vector<std::uint64_t>* inicios) {
    std::vector<std::vector<std::uint64_t>> indices;
    auto c = ConfereArquivos({{caminho, tipo}}, inicios ? &indices : nullptr);
    if (inicios) *inicios = std::move(indices[0]);
    return std::move(c[0]);
}

namespace {

std::vector<Aberto> abre(const std::vector<std::pair<std::string, TipoArquivo>>& arquivos) {
    std::vector<Aberto> abertos;
    for (const auto& [caminho, tipo] : arquivos)
        abertos.push_back(
            {std::make_shared<const ArquivoParaLer>(caminho, kTamanhoMaximoDoExportado, "O arquivo"), tipo});
    return abertos;
}

std::vector<ConferenciaDoArquivo> confere(const std::vector<Aberto>& arquivos,
                                          std::vector<std::vector<std::uint64_t>>* inicios) {
    const std::vector<Trecho> trechos = trechosDe(arquivos);
    if (trechos.empty()) return {};
    std::vector<ConferenciaDoArquivo> partes(trechos.size());
    std::vector<std::vector<std::uint64_t>> iniciosDasPartes(trechos.size());
    std::vector<std::exception_ptr> falhas(trechos.size());
    std::atomic<std::size_t> proximo{0};
    const auto trabalha = [&] {
        for (std::size_t k; (k = proximo++) < trechos.size();) {
            const Trecho& t = trechos[k];
            try {
                partes[k] = confereTrecho(*arquivos[t.arquivo].arquivo, arquivos[t.arquivo].tipo, t.desde, t.ate,
                                          inicios ? &iniciosDasPartes[k] : nullptr);
            } catch (...) {
                falhas[k] = std::current_exception();
            }
        }
    };
    {
        std::vector<std::jthread> outras(std::min<std::size_t>(nucleos(), trechos.size()) - 1);
        for (auto& o : outras) o = std::jthread(trabalha);
        trabalha();
    }
    for (const auto& f : falhas)
        if (f) std::rethrow_exception(f);
    std::vector<ConferenciaDoArquivo> conferidos(arquivos.size());
    if (inicios) inicios->assign(arquivos.size(), {});
    for (std::size_t k = 0; k < trechos.size(); ++k) {
        const std::size_t i = trechos[k].arquivo;
        const bool primeira = k == 0 || trechos[k - 1].arquivo != i;
        if (primeira)
            conferidos[i] = std::move(partes[k]);
        else
            junta(conferidos[i], std::move(partes[k]));
        if (!inicios) continue;
        auto& destino = (*inicios)[i];
        if (!primeira) destino.pop_back();  // the end of one part is the start of the next
        destino.insert(destino.end(), iniciosDasPartes[k].begin(), iniciosDasPartes[k].end());
    }
    return conferidos;
}

}  // namespace

std::vector<ConferenciaDoArquivo> ConfereArquivos(const std::vector<std::pair<std::string, TipoArquivo>>& arquivos,
                                                  std::vector<std::vector<std::uint64_t>>* inicios) {
    return confere(abre(arquivos), inicios);
}

std::vector<ArquivoConferido> ConfereParaMostrar(const std::vector<std::string>& caminhos) {
    std::vector<std::pair<std::string, TipoArquivo>> arquivos;
    // A file chosen on its own and within its folder is read once: the same file, whatever its spelling.
    const auto jaEsta = [&](const std::string& arquivo) {
        return std::any_of(arquivos.begin(), arquivos.end(), [&](const auto& b) {
            std::error_code ec;
            return fs::equivalent(CaminhoDoSistema(arquivo), CaminhoDoSistema(b.first), ec);
        });
    };
    for (const std::string& caminho : caminhos)
        for (auto& a : ArquivosExportados(caminho, true))
            if (!jaEsta(a.first)) arquivos.push_back(std::move(a));
    // One period after another, the sales book first, whatever order they were chosen in.
    const auto chave = [](const std::pair<std::string, TipoArquivo>& a) {
        return std::pair{BaseDoNome(TextoDoCaminho(CaminhoDoSistema(a.first).filename()), a.second), a.second};
    };
    std::stable_sort(arquivos.begin(), arquivos.end(),
                     [&](const auto& a, const auto& b) { return chave(a) < chave(b); });
    return ConfereMantendoAbertos(arquivos, true);
}

std::vector<ArquivoConferido> ConfereMantendoAbertos(const std::vector<std::pair<std::string, TipoArquivo>>& arquivos,
                                                     bool comInicios) {
    std::vector<std::vector<std::uint64_t>> inicios;
    const std::vector<Aberto> abertos = abre(arquivos);
    std::vector<ConferenciaDoArquivo> lidos = confere(abertos, comInicios ? &inicios : nullptr);
    std::vector<ArquivoConferido> conferidos(arquivos.size());
    for (std::size_t i = 0; i < arquivos.size(); ++i)
        conferidos[i] = {std::move(lidos[i]), comInicios ? std::move(inicios[i]) : std::vector<std::uint64_t>(),
                         abertos[i].arquivo};
    return conferidos;
}

void LeLinhas(const std::string& caminho, const std::function<bool(long, std::string_view)>& linha) {
    LeLinhas(ArquivoParaLer(caminho, kTamanhoMaximoDoExportado, "O arquivo"), linha);
}

void LeLinhas(const ArquivoParaLer& arquivo, const std::function<bool(long, std::string_view)>& linha) {
    leBruto(arquivo, [&](long n, std::string_view l, bool, std::uint64_t) {
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        return linha(n, l);
    });
}

}  // namespace zorla
