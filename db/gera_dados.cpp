// Demo data for the ZORLA database: writes an isql script in code page 1252
// to stdout. Same options, same bytes: every choice comes from our own
// splitmix64 streams and integer arithmetic, never from the library's
// distributions or from floating point, whose results vary by platform.
//
// Texts below are written in UTF-8 and turned into CP1252 on output.

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using std::int64_t;
using std::uint64_t;

// ---------------------------------------------------------------- options

struct Opcoes {
    int empresas = 4;
    int ano = 2008;
    int docsMes = 25;
    int movsMes = 30;
    uint64_t semente = 1;
};

[[noreturn]] void uso(const char* erro) {
    if (erro) std::fprintf(stderr, "zorla-gera-dados: %s\n", erro);
    std::fprintf(stderr,
                 "uso: zorla-gera-dados [--empresas N] [--ano AAAA] [--docs-mes N]\n"
                 "                      [--movs-mes N] [--semente S]\n"
                 "Escreve em stdout o script isql (WIN1252) com os dados de demonstracao.\n");
    std::exit(erro ? 2 : 0);
}

uint64_t lerNumero(const char* nome, const char* texto, uint64_t maximo) {
    if (!texto || !*texto) uso((std::string("falta o valor de ") + nome).c_str());
    uint64_t v = 0;
    for (const char* p = texto; *p; ++p) {
        if (*p < '0' || *p > '9') uso((std::string("valor invalido para ") + nome + ": " + texto).c_str());
        unsigned d = static_cast<unsigned>(*p - '0');
        if (v > (maximo - d) / 10) uso((std::string("valor grande demais para ") + nome + ": " + texto).c_str());
        v = v * 10 + d;
    }
    return v;
}

Opcoes lerOpcoes(int argc, char** argv) {
    Opcoes o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string valor;
        bool temValor = false;
        if (auto igual = arg.find('='); igual != std::string::npos) {
            valor = arg.substr(igual + 1);
            arg.resize(igual);
            temValor = true;
        }
        if (arg == "--help" || arg == "-h") uso(nullptr);
        auto proximo = [&]() -> const char* {
            if (temValor) return valor.c_str();
            if (i + 1 >= argc) uso(("falta o valor de " + arg).c_str());
            return argv[++i];
        };
        if (arg == "--empresas") {
            o.empresas = static_cast<int>(lerNumero("--empresas", proximo(), 999));
            if (o.empresas < 1) uso("--empresas vai de 1 a 999");
        } else if (arg == "--ano") {
            o.ano = static_cast<int>(lerNumero("--ano", proximo(), 2099));
            if (o.ano < 1901) uso("--ano vai de 1901 a 2099");
        } else if (arg == "--docs-mes") {
            o.docsMes = static_cast<int>(lerNumero("--docs-mes", proximo(), 9999));
        } else if (arg == "--movs-mes") {
            o.movsMes = static_cast<int>(lerNumero("--movs-mes", proximo(), 99999));
        } else if (arg == "--semente") {
            o.semente = lerNumero("--semente", proximo(), UINT64_MAX);
        } else {
            uso(("opcao desconhecida: " + arg).c_str());
        }
    }
    return o;
}

// ------------------------------------------------------------- randomness

uint64_t misturar(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// splitmix64. Each section gets its own stream, so company 1 keeps its
// documents when more companies or more movements are asked for.
class Sorteio {
public:
    Sorteio(uint64_t semente, uint64_t a, uint64_t b = 0, uint64_t c = 0)
        : estado_(misturar(misturar(misturar(semente ^ 0x5A4F524C41ULL) + a) + b) + c) {}

    uint64_t proximo() {
        estado_ += 0x9E3779B97F4A7C15ULL;
        return misturar(estado_);
    }

    // [0, n); the modulo bias is irrelevant for demo data
    uint64_t ate(uint64_t n) { return n == 0 ? 0 : proximo() % n; }
    int64_t entre(int64_t a, int64_t b) { return a + static_cast<int64_t>(ate(static_cast<uint64_t>(b - a + 1))); }
    bool chance(int porcento) { return ate(100) < static_cast<uint64_t>(porcento); }

    template <class T, std::size_t N>
    const T& um(const std::array<T, N>& lista) {
        return lista[ate(N)];
    }

    // index chosen by integer weights
    std::size_t pesado(std::span<const int> pesos) {
        int total = 0;
        for (int p : pesos) total += p;
        int r = static_cast<int>(ate(static_cast<uint64_t>(total)));
        for (std::size_t i = 0; i < pesos.size(); ++i) {
            if (r < pesos[i]) return i;
            r -= pesos[i];
        }
        return pesos.size() - 1;
    }

private:
    uint64_t estado_;
};

// ---------------------------------------------------------------- CP1252

// Code points of 0x80..0x9F in CP1252; 0 where the code page has a hole.
constexpr std::array<char32_t, 32> kAltos = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::string cp1252(std::string_view utf8) {
    std::string saida;
    saida.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto c = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t n = 1;
        if (c < 0x80)
            cp = c;
        else if ((c & 0xE0) == 0xC0)
            n = 2, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0)
            n = 3, cp = c & 0x0F;
        else
            throw std::logic_error("UTF-8 invalido em: " + std::string(utf8));
        if (i + n > utf8.size()) throw std::logic_error("UTF-8 truncado em: " + std::string(utf8));
        for (std::size_t k = 1; k < n; ++k) {
            auto b = static_cast<unsigned char>(utf8[i + k]);
            if ((b & 0xC0) != 0x80) throw std::logic_error("UTF-8 invalido em: " + std::string(utf8));
            cp = (cp << 6) | (b & 0x3F);
        }
        i += n;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            saida += static_cast<char>(cp);
            continue;
        }
        bool achou = false;
        for (std::size_t k = 0; k < kAltos.size(); ++k) {
            if (kAltos[k] == cp) {
                saida += static_cast<char>(0x80 + k);
                achou = true;
                break;
            }
        }
        if (!achou) throw std::logic_error("caractere fora do CP1252 em: " + std::string(utf8));
    }
    return saida;
}

// ------------------------------------------------------------------ dates

struct Data {
    int ano, mes, dia;
};

// Days since 1970-01-01 and back (H. Hinnant's civil calendar algorithms).
int64_t diasDesde1970(Data d) {
    int64_t a = d.ano - (d.mes <= 2 ? 1 : 0);
    int64_t era = (a >= 0 ? a : a - 399) / 400;
    int64_t ano = a - era * 400;
    int64_t diaAno = (153 * (d.mes + (d.mes > 2 ? -3 : 9)) + 2) / 5 + d.dia - 1;
    int64_t diaEra = ano * 365 + ano / 4 - ano / 100 + diaAno;
    return era * 146097 + diaEra - 719468;
}

Data dataDe(int64_t dias) {
    dias += 719468;
    int64_t era = (dias >= 0 ? dias : dias - 146096) / 146097;
    int64_t diaEra = dias - era * 146097;
    int64_t ano = (diaEra - diaEra / 1460 + diaEra / 36524 - diaEra / 146096) / 365;
    int64_t diaAno = diaEra - (365 * ano + ano / 4 - ano / 100);
    int64_t mp = (5 * diaAno + 2) / 153;
    int dia = static_cast<int>(diaAno - (153 * mp + 2) / 5 + 1);
    int mes = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(ano + era * 400 + (mes <= 2 ? 1 : 0)), mes, dia};
}

Data somaDias(Data d, int64_t n) { return dataDe(diasDesde1970(d) + n); }

int diasNoMes(int ano, int mes) {
    static constexpr std::array<int, 12> dias = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
    return mes == 2 && bissexto ? 29 : dias[static_cast<std::size_t>(mes - 1)];
}

// ------------------------------------------------------------ SQL values

std::string digitos(int64_t v, int largura) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < largura) s.insert(0, static_cast<std::size_t>(largura) - s.size(), '0');
    return s;
}

const std::string kNulo = "NULL";

// CP1252 text as an SQL literal; a value that would not fit its column is
// a bug of this program, so it stops here and not half-way through isql.
std::string sqlTexto(const std::string& cp, std::size_t maximo) {
    if (cp.size() > maximo) throw std::logic_error("texto maior que " + std::to_string(maximo) + ": " + cp);
    std::string s = "'";
    for (char c : cp) {
        if (c == '\'') s += '\'';
        s += c;
    }
    s += '\'';
    return s;
}

std::string txt(std::string_view utf8, std::size_t maximo) { return sqlTexto(cp1252(utf8), maximo); }

std::string inteiro(int64_t v) { return std::to_string(v); }

std::string dinheiro(int64_t centavos) {
    std::string sinal = centavos < 0 ? "-" : "";
    uint64_t a = centavos < 0 ? 0 - static_cast<uint64_t>(centavos) : static_cast<uint64_t>(centavos);
    return sinal + std::to_string(a / 100) + "." + digitos(static_cast<int64_t>(a % 100), 2);
}

std::string data(Data d) { return "'" + digitos(d.ano, 4) + "-" + digitos(d.mes, 2) + "-" + digitos(d.dia, 2) + "'"; }

// Round half up, in hundredths: base (cents) times rate (percent).
int64_t percentual(int64_t base, int64_t porcento) { return (base * porcento + 50) / 100; }

class Insercao {
public:
    explicit Insercao(std::string tabela) : tabela_(std::move(tabela)) {}

    Insercao& col(const char* nome, std::string valor) {
        colunas_.emplace_back(nome);
        valores_.push_back(std::move(valor));
        return *this;
    }

    std::string sql() const {
        std::string s = "INSERT INTO " + tabela_ + " (";
        for (std::size_t i = 0; i < colunas_.size(); ++i) s += (i ? ", " : "") + colunas_[i];
        s += ")\n  VALUES (";
        for (std::size_t i = 0; i < valores_.size(); ++i) s += (i ? ", " : "") + valores_[i];
        s += ");\n";
        return s;
    }

private:
    std::string tabela_;
    std::vector<std::string> colunas_;
    std::vector<std::string> valores_;
};

class Saida {
public:
    void escreve(const std::string& s) {
        if (std::fwrite(s.data(), 1, s.size(), stdout) != s.size())
            throw std::runtime_error("falha ao escrever a saida");
    }
    void escreve(const Insercao& i) { escreve(i.sql()); }
};

// ------------------------------------------------------------ tax ids

std::string digitosAleatorios(Sorteio& r, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + r.ate(10));
    return s;
}

char digitoVerificador(std::string_view numeros, std::span<const int> pesos) {
    int soma = 0;
    for (std::size_t i = 0; i < numeros.size(); ++i) soma += (numeros[i] - '0') * pesos[i];
    int resto = soma % 11;
    return static_cast<char>('0' + (resto < 2 ? 0 : 11 - resto));
}

std::string novoCpf(Sorteio& r) {
    std::string s = digitosAleatorios(r, 9);
    static constexpr std::array<int, 10> p = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    s += digitoVerificador(s, std::span(p).subspan(1));
    s += digitoVerificador(s, p);
    return s;
}

std::string novoCnpj(Sorteio& r, const std::string& raiz, int filial) {
    std::string s = raiz.empty() ? digitosAleatorios(r, 8) : raiz;
    s += digitos(filial, 4);
    static constexpr std::array<int, 13> p = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    s += digitoVerificador(s, std::span(p).subspan(1));
    s += digitoVerificador(s, p);
    return s;
}

std::string cpfDigitado(const std::string& d) {
    return d.substr(0, 3) + "." + d.substr(3, 3) + "." + d.substr(6, 3) + "-" + d.substr(9, 2);
}

std::string cnpjDigitado(const std::string& d) {
    return d.substr(0, 2) + "." + d.substr(2, 3) + "." + d.substr(5, 3) + "/" + d.substr(8, 4) + "-" + d.substr(12, 2);
}

// ------------------------------------------------------------- fixed data

struct Cidade {
    int codigo;
    const char* nome;
    const char* uf;
    const char* ibge;  // nullptr: not yet registered
    const char* ddd;
    const char* cep;  // first digits of its CEPs
};

constexpr std::array<Cidade, 21> kCidades = {{
    {1, "São Paulo", "SP", "3550308", "011", "01"},      {2, "Campinas", "SP", "3509502", "019", "13"},
    {3, "Ribeirão Preto", "SP", "3543402", "016", "14"}, {4, "Rio de Janeiro", "RJ", "3304557", "021", "20"},
    {5, "Belo Horizonte", "MG", "3106200", "031", "30"}, {6, "Uberlândia", "MG", "3170206", "034", "38"},
    {7, "Curitiba", "PR", "4106902", "041", "80"},       {8, "Maringá", "PR", "4115200", "044", "87"},
    {9, "Porto Alegre", "RS", "4314902", "051", "90"},   {10, "Florianópolis", "SC", "4205407", "048", "88"},
    {11, "Goiânia", "GO", "5208707", "062", "74"},       {12, "Salvador", "BA", "2927408", "071", "40"},
    {13, "Recife", "PE", "2611606", "081", "50"},        {14, "Fortaleza", "CE", "2304400", "085", "60"},
    {15, "Manaus", "AM", "1302603", "092", "69"},        {16, "Belém", "PA", "1501402", "091", "66"},
    {17, "Vitória", "ES", "3205309", "027", "29"},       {18, "São José dos Campos", "SP", "3549904", "012", "12"},
    {19, "Jundiaí", "SP", "3525904", "011", "13"},       {20, "Poços de Caldas", "MG", "3151800", "035", "37"},
    {21, "Ilhabela", "SP", nullptr, "012", "11"},
}};

struct EmpresaFixa {
    const char* fantasia;
    const char* razao;
    std::size_t cidade;  // index in kCidades
    const char* endereco;
    const char* bairro;
    const char* contato;
    const char* dominio;
};

constexpr std::array<EmpresaFixa, 8> kEmpresas = {{
    {"Comércio São João", "Comércio de Alimentos São João Ltda.", 0, "Rua Barão de Itapetininga", "República",
     "João Conceição", "saojoao.com.br"},
    {"Distribuidora Ação & Cia", "Ação Distribuidora de Bebidas Ltda. — Filial", 1, "Av. Brasil", "Jardim Guanabara",
     "Márcia Simões", "acaobebidas.com.br"},
    {"Padaria “Pão Quente”", "Panificadora Pão Quente Ltda. ME", 4, "Rua Espírito Santo", "Centro", "Sebastião Araújo",
     "paoquente.com.br"},
    {"Materiais de Construção Gonçalves", "Gonçalves & Irmãos Mat. de Construção Ltda.", 6, "Av. Sete de Setembro",
     "Água Verde", "Zé Gonçalves", "goncalvesmateriais.com.br"},
    {"Farmácia Saúde & Vida", "Drogaria Saúde e Vida Ltda. EPP", 8, "Av. Assis Brasil", "Passo d'Areia",
     "Luíza Brandão", "saudeevida.com.br"},
    {"Auto Peças Araújo", "Araújo Comércio de Autopeças Ltda.", 10, "Av. Anhanguera", "Setor Campinas",
     "Antônio Araújo", "araujopecas.com.br"},
    {"Livraria Estrela d'Alva", "Estrela d'Alva Livros e Papelaria Ltda.", 12, "Rua da Aurora", "Boa Vista",
     "Inês Guimarães", "estreladalva.com.br"},
    {"Mercearia Bom Preço", "Mercearia Bom Preço Comércio Ltda.", 14, "Av. Eduardo Ribeiro", "Centro",
     "Raimundo Nonato", "bompreco.com.br"},
}};

struct PessoaFixa {
    const char* nome;
    const char* fantasia;  // nullptr for people
    const char* email;     // nullptr: none
    bool industria;        // charges IPI on its sales
};

constexpr std::array<PessoaFixa, 18> kJuridicas = {{
    {"Atacadão Paulista de Alimentos Ltda.", "Atacadão Paulista", "vendas@atacadaopaulista.com.br", false},
    {"Indústria de Plásticos Três Irmãos S/A", "Plásticos Três Irmãos", "comercial@tresirmaos.ind.br", true},
    {"Laticínios Serra da Canastra Ltda.", "Laticínios Canastra", "sac@canastra.com.br", true},
    {"Cerâmica São Benedito Ltda.", "Cerâmica São Benedito", nullptr, true},
    {"Transportadora Rápido Paraná Ltda.", "Rápido Paraná", "coleta@rapidoparana.com.br", false},
    {"Móveis Jequitibá Ltda.", "Móveis Jequitibá", "moveis@jequitiba.com.br", true},
    {"Distribuidora de Bebidas Guaraná Ltda.", "Guaraná Bebidas", "pedidos@guaranabebidas.com.br", false},
    {"Frigorífico Boi Gordo S/A", "Boi Gordo", "faturamento@boigordo.com.br", true},
    {"Papelaria e Gráfica União Ltda.", "Gráfica União", "contato@graficauniao.com.br", false},
    {"Agropecuária Campo Verde Ltda.", "Campo Verde", nullptr, false},
    {"Tecelagem Nossa Senhora Aparecida Ltda.", "Tecelagem N. Sra. Aparecida", "tecelagem@nsaparecida.com.br", true},
    {"Torrefação Café Mantiqueira Ltda.", "Café Mantiqueira", "cafe@mantiqueira.com.br", true},
    {"Usina Santa Inês Açúcar e Álcool S/A", "Usina Santa Inês", "usina@santaines.com.br", true},
    {"Eletro Peças Conceição Ltda. ME", "Eletro Conceição", nullptr, false},
    {"Supermercados Irmãos Simões Ltda.", "Supermercado Simões", "compras@simoes.com.br", false},
    {"Importadora Europa Ltda.", "Europa € Importados", "import@europaimportados.com.br", false},
    {"Embalagens “Bom Pacote” Ltda.", "Bom Pacote", "vendas@bompacote.com.br", true},
    {"Serralheria D'Ávila & Filhos Ltda.", "Serralheria D'Ávila", nullptr, false},
}};

constexpr std::array<PessoaFixa, 16> kFisicas = {{
    {"José Antônio da Conceição", nullptr, "jose.conceicao@uol.com.br", false},
    {"Maria Aparecida Gonçalves", nullptr, nullptr, false},
    {"João Batista Magalhães", nullptr, "jbmagalhaes@terra.com.br", false},
    {"Ana Lúcia Brandão", nullptr, nullptr, false},
    {"Sérgio Assunção Filho", nullptr, "sergio.assuncao@bol.com.br", false},
    {"Márcia Simões Araújo", nullptr, nullptr, false},
    {"Luís Fernando Calçada", nullptr, "lfcalcada@gmail.com", false},
    {"Antônia Inês Ferrão", nullptr, nullptr, false},
    {"Francisco de Assis Guimarães", nullptr, "chicoguimaraes@ig.com.br", false},
    {"Conceição Leitão", nullptr, nullptr, false},
    {"Raimundo Nonato Pinheiro", nullptr, nullptr, false},
    {"Cláudia Regina Ribeiro", nullptr, "claudia.ribeiro@hotmail.com", false},
    {"Vânia Lúcia Damásio", nullptr, nullptr, false},
    {"Joaquim Brás Dória", nullptr, "joaquim.doria@uol.com.br", false},
    {"Heloísa Gusmão", nullptr, nullptr, false},
    {"Sebastião O'Neill Júnior", nullptr, nullptr, false},
}};

constexpr std::array<const char*, 12> kRuas = {
    "Rua São Bento",    "Av. Brasil",         "Rua Quinze de Novembro", "Av. Getúlio Vargas",
    "Rua Dom Pedro II", "Travessa Conceição", "Rua Marechal Deodoro",   "Av. Afonso Pena",
    "Rua das Acácias",  "Rua Tiradentes",     "Av. João Pessoa",        "Rua Visconde de Mauá",
};

constexpr std::array<const char*, 10> kBairros = {
    "Centro",     "Jardim América", "Vila Mariana", "Santa Efigênia", "São Cristóvão",
    "Água Verde", "Boa Viagem",     "Setor Bueno",  "Petrópolis",     "Trindade",
};

constexpr std::array<const char*, 6> kComplementos = {
    "Sala 12", "Apto 301", "Fundos", "Galpão 3", "Bloco B — 2º", "Loja A",
};

constexpr std::array<const char*, 16> kObservacoes = {
    "Venda a prazo — 30/60/90 dias",
    "Pedido nº 4512 conforme orçamento aprovado",
    "Mercadoria entregue pela transportadora “Rápido Paraná”",
    "ICMS recolhido por substituição tributária",
    "Base de cálculo reduzida conforme Convênio ICMS 52/91",
    "Pagamento à vista com 5% de desconto",
    "Devolução parcial — NF original nº 1234",
    "Cliente isento de inscrição estadual",
    "Valor convertido de € 1.250,00 à taxa do dia",
    "Produto não sujeito ao IPI",
    "Frete por conta do destinatário (FOB)",
    "Documento emitido em contingência",
    "Empresa optante pelo SIMPLES — não gera direito a crédito de ICMS",
    "Operação de transferência entre estabelecimentos",
    "Referente à 1ª parcela do contrato 2008/017",
    "Entrega programada: 2ª e 4ª semanas do mês",
};

constexpr std::array<const char*, 5> kBancos = {"001", "104", "237", "341", "CX01"};
constexpr std::array<const char*, 5> kContasBanco = {"1120001", "1120002", "1120003", "1120004", "1110001"};
constexpr std::array<const char*, 5> kNomesBanco = {
    "Banco do Brasil S/A", "Caixa Econômica Federal", "Banco Bradesco S/A", "Banco Itaú S/A", "Caixa da loja",
};

constexpr std::array<const char*, 9> kContasDespesa = {
    "6110001", "6110005", "6120003", "6130010", "6140002", "6150001", "6", "5110002", "61200030001",
};
constexpr std::array<const char*, 9> kNomesDespesa = {
    "Salários e ordenados",   "Energia elétrica", "Aluguéis",        "Telefone",
    "Material de escritório", "Combustíveis",     "Despesas gerais", "Custo das mercadorias",
    "Aluguéis — depósito",
};

struct Despesa {
    const char* historico;
    std::size_t conta;  // index in kContasDespesa
};

// Histories of general expenses: lengths below, at and above the 29
// characters of one entry line, some with leading blanks as typed.
constexpr std::array<Despesa, 20> kDespesas = {{
    {"Energia elétrica da loja", 1},
    {"  Aluguel do galpão", 8},
    {"Telefone e internet", 3},
    {"Material de escritório e limpeza", 4},
    {"Combustível veículo de entrega", 5},
    {"Manutenção do ar-condicionado", 6},
    {"Honorários contábeis ref. mês anterior", 6},
    {"Tarifa bancária — pacote de serviços", 6},
    {"Despesas com correio e malote", 6},
    {"Água e esgoto ref. fevereiro", 6},
    {"Vale-transporte dos funcionários do depósito", 0},
    {"Seguro do prédio e das mercadorias em estoque", 6},
    {"IPTU — 3ª parcela", 2},
    {"   Lanche reunião", 6},
    {"Cópias e encadernações", 4},
    {"Peças importadas: câmbio em € e IOF", 7},
    {"Serviços de limpeza e vigilância", 6},
    {"Conserto da câmara fria “Frigelar” nº série 4471-B", 6},
    {"Aluguel da loja — mês corrente", 2},
    {"Folha de pagamento — adiantamento quinzenal", 0},
}};

// ----------------------------------------------------------- generated

struct Cadastro {
    std::string codigo;
    std::string nome;  // CP1252
    bool juridica;
    bool industria;
    std::size_t cidade;
};

struct EmpresaGerada {
    int codigo;
    std::size_t cidade;
};

// One fiscal document while it is drawn; the steps fill it in draw order.
struct Documento {
    char tipo = 'E';
    bool saida = false;
    std::string agrup;
    bool cupom = false;
    bool outro = false;
    char movimento = 'N';
    const Cadastro* parte = nullptr;
    std::string ufParte;
    bool interestadual = false;
    Data movData{}, docData{};
    std::string cfop;
    int64_t aliquota = 18;
    bool st = false;
    int64_t produtos = 0, desconto = 0, frete = 0, seguro = 0, despesas = 0;
    int64_t aliquotaIpi = 0, baseIpi = 0, ipi = 0, baseSt = 0, icmsSt = 0;
    int64_t valor = 0, base = 0, icms = 0, isento = 0, outros = 0;
    std::string numero;
    bool numeroNulo = false;
    std::string especie, modelo, serie;
    const char* situacao = "NORMAL";
    const char* ativo = "S";
    bool atrasada = false;
    Data apuracao{};
    std::string favorecido, docConsumidor;
};

// Accounts, names and history of one cash or bank movement.
struct Lancamento {
    const Cadastro* parte = nullptr;
    std::string credora, devedora, nomeCredor, nomeDevedor, historico, tipoLanc;
};

class Gerador {
public:
    Gerador(const Opcoes& o, Saida& s) : o_(o), s_(s) {}

    void executa() {
        s_.escreve("SET NAMES WIN1252;\n");
        s_.escreve("/* ZORLA demo data: --empresas " + std::to_string(o_.empresas) + " --ano " +
                   std::to_string(o_.ano) + " --docs-mes " + std::to_string(o_.docsMes) + " --movs-mes " +
                   std::to_string(o_.movsMes) + " --semente " + std::to_string(o_.semente) + " */\n\n");
        cidades();
        empresas();
        cadastros();
        for (const auto& e : empresas_)
            for (int mes = 1; mes <= 12; ++mes) {
                documentos(e, mes, 'S');
                documentos(e, mes, 'E');
            }
        for (int mes = 1; mes <= 12; ++mes) movimentos(mes);
        totalizadores();
        s_.escreve("\nCOMMIT;\n");
    }

private:
    const Opcoes& o_;
    Saida& s_;
    std::vector<EmpresaGerada> empresas_;
    std::vector<Cadastro> clientes_;      // everyone we sell to
    std::vector<Cadastro> fornecedores_;  // companies we buy from
    std::vector<Cadastro> produtores_;    // people who sell to us
    int64_t proximoDoc_ = 1;
    int64_t proximoMov_ = 1;

    void cidades() {
        s_.escreve("/* Cidades */\n");
        for (const auto& c : kCidades) {
            Insercao i("CIDADE");
            i.col("CODCIDADE", inteiro(c.codigo))
                .col("NOMECIDADE", txt(c.nome, 50))
                .col("ESTADO", txt(c.uf, 2))
                .col("CODIGOIBGE", c.ibge ? txt(c.ibge, 7) : kNulo);
            s_.escreve(i);
        }
    }

    std::string cep(Sorteio& r, std::size_t cidade) {
        return kCidades[cidade].cep + digitosAleatorios(r, 8 - static_cast<int>(std::strlen(kCidades[cidade].cep)));
    }

    std::string telefone(Sorteio& r) { return "3" + digitosAleatorios(r, 7); }

    void empresas() {
        s_.escreve("\n/* Empresas */\n");
        for (int n = 1; n <= o_.empresas; ++n) {
            Sorteio r(o_.semente, 1, static_cast<uint64_t>(n));
            bool fixa = n <= static_cast<int>(kEmpresas.size());
            EmpresaFixa f = fixa ? kEmpresas[static_cast<std::size_t>(n - 1)]
                                 : EmpresaFixa{nullptr,
                                               nullptr,
                                               static_cast<std::size_t>(n) % kCidades.size(),
                                               kRuas[static_cast<std::size_t>(n) % kRuas.size()],
                                               "Centro",
                                               "Gerente da loja",
                                               "saojoao.com.br"};
            std::string fantasia = fixa ? f.fantasia : "Comércio São João — Loja nº " + std::to_string(n);
            std::string razao = fixa ? f.razao : "Comércio de Alimentos São João Ltda.";
            // shops beyond the named ones are branches of the first company
            std::string raiz = n == 1 || !fixa ? "61428375" : "";
            std::string cnpj = novoCnpj(r, raiz, fixa ? 1 : n);
            std::string caixaPostal = fixa ? "fiscal" : "loja" + std::to_string(n);
            bool simples = r.chance(30);
            const Cidade& c = kCidades[f.cidade];
            Data curva{o_.ano - 1, static_cast<int>(r.entre(1, 12)), 1};

            Insercao i("EMPRESA");
            i.col("CODEMPRESA", inteiro(n))
                .col("FANTASIA", txt(fantasia, 50))
                .col("RAZAOSOCIAL", txt(razao, 50))
                .col("ENDERECO", txt(f.endereco, 40))
                .col("NUMEROPREDIO", txt(std::to_string(r.entre(10, 3999)), 5))
                .col("BAIRRO", txt(f.bairro, 30))
                .col("CEP", txt(cep(r, f.cidade), 8))
                .col("DDD", txt(c.ddd, 3))
                .col("TELEFONE", txt(telefone(r), 8))
                .col("CONTATO", txt(f.contato, 20))
                .col("DDG", r.chance(50) ? txt("0800" + digitosAleatorios(r, 7), 12) : kNulo)
                .col("CNPJ", txt(cnpj, 14))
                .col("INSCRICAOESTADUAL", txt(digitosAleatorios(r, 3) + "." + digitosAleatorios(r, 3) + "." +
                                                  digitosAleatorios(r, 3) + "." + digitosAleatorios(r, 3),
                                              15))
                .col("CPF", kNulo)
                .col("SITE", txt("www." + std::string(f.dominio), 50))
                .col("EMAIL", txt(caixaPostal + "@" + f.dominio, 60))
                .col("FAX", r.chance(60) ? txt(telefone(r), 8) : kNulo)
                .col("STATUS", txt("A", 1));
            configuracaoDaEmpresa(r, i, n, fixa, simples, c, curva);
            s_.escreve(i);
            empresas_.push_back({n, f.cidade});
        }
    }

    // Same stream as the columns before it, so the draws keep column order.
    static void configuracaoDaEmpresa(Sorteio& r, Insercao& i, int n, bool fixa, bool simples, const Cidade& c,
                                      Data curva) {
        i.col("INSCRICAOMUNICIPAL", txt(digitosAleatorios(r, 7) + "-" + digitosAleatorios(r, 1), 12))
            .col("ESTAEMPRESA", txt(n == 1 ? "S" : "N", 1))
            .col("CONTROLADORA", txt(n == 1 ? "S" : "N", 1))
            .col("REGIMEFISCAL", txt(simples ? "S" : "N", 1))
            .col("CUSTOFIXO", dinheiro(r.entre(800, 3500) * 100))
            .col("IMPOSTOSOBREESPECIAL", txt("N", 1))
            .col("ISS", dinheiro(r.chance(50) ? 200 : 500))
            .col("ICMSESTADUAL", dinheiro(1800))
            .col("ORDEMPRECO", txt(r.chance(50) ? "NOME" : "CODI", 4))
            .col("MESESCURVAABC", inteiro(r.chance(50) ? 6 : 12))
            .col("FREQCURVAABC", txt(r.chance(70) ? "MEN" : "TRI", 3))
            .col("PERCCURVAA", inteiro(70))
            .col("PERCCURVAB", inteiro(20))
            .col("PERCCURVAC", inteiro(10))
            .col("DATAULTIMACURVA", r.chance(75) ? data(curva) : kNulo)
            .col("CODCIDADE", inteiro(c.codigo))
            .col("DIFERENCAHORARIO", std::string_view(c.uf) == "AM" ? inteiro(-1) : inteiro(0))
            .col("TIPOEMPRESA", txt(n == 1 || fixa ? "M" : "F", 1))
            .col("CODCADASTRO", kNulo)
            .col("REGISTRO", txt("NIRE " + digitosAleatorios(r, 11), 20))
            .col("CHAVE",
                 txt("ZRL-" + digitosAleatorios(r, 4) + "-" + digitosAleatorios(r, 4) + "-" + digitosAleatorios(r, 4),
                     20));
    }

    Cadastro cadastro(Sorteio& r, int codigo, const PessoaFixa& p, bool juridica) {
        std::size_t cidade = r.ate(kCidades.size());
        const Cidade& c = kCidades[cidade];
        std::string cod = digitos(codigo, 6);
        std::string cnpj, cpf;
        if (juridica) {
            std::string d = novoCnpj(r, "", r.chance(85) ? 1 : static_cast<int>(r.entre(2, 12)));
            cnpj = r.chance(60) ? cnpjDigitado(d) : d;
        } else {
            std::string d = novoCpf(r);
            std::string digitado = r.chance(60) ? cpfDigitado(d) : d;
            // a clerk now and then types the person's CPF in the CNPJ field
            (r.chance(12) ? cnpj : cpf) = digitado;
        }
        bool comEndereco = r.chance(95);

        Insercao i("CADASTRO");
        i.col("CODCADASTRO", txt(cod, 8))
            .col("NOME", txt(p.nome, 50))
            .col("NOMEFANTASIA", p.fantasia ? txt(p.fantasia, 50) : (r.chance(50) ? txt(p.nome, 50) : kNulo))
            .col("TIPOPESSOA", txt(juridica ? "J" : "F", 1))
            .col("CNPJ", cnpj.empty() ? kNulo : txt(cnpj, 18))
            .col("CPF", cpf.empty() ? kNulo : txt(cpf, 14))
            .col("RG", juridica ? kNulo
                                : txt(digitosAleatorios(r, 2) + "." + digitosAleatorios(r, 3) + "." +
                                          digitosAleatorios(r, 3) + "-" + digitosAleatorios(r, 1),
                                      12))
            .col("ORGAOEMISSOR", juridica ? kNulo : txt("SSP/" + std::string(c.uf), 6))
            .col("DATAEMISSAORG", juridica ? kNulo
                                           : data({static_cast<int>(r.entre(1975, 2005)),
                                                   static_cast<int>(r.entre(1, 12)), static_cast<int>(r.entre(1, 28))}))
            .col("INSCRICAOESTADUAL",
                 juridica ? (r.chance(85) ? txt(digitosAleatorios(r, 3) + "." + digitosAleatorios(r, 3) + "." +
                                                    digitosAleatorios(r, 3) + "." + digitosAleatorios(r, 3),
                                                20)
                                          : txt("ISENTO", 20))
                          : kNulo)
            .col("INSCRICAOMUNICIPAL", juridica && r.chance(50) ? txt(digitosAleatorios(r, 8), 12) : kNulo)
            .col("ENDERECO", comEndereco ? txt(r.um(kRuas), 40) : kNulo)
            .col("NUMERO", comEndereco ? txt(r.chance(8) ? "S/N" : std::to_string(r.entre(1, 9999)), 5) : kNulo)
            .col("COMPLEMENTO", r.chance(30) ? txt(r.um(kComplementos), 15) : kNulo)
            .col("BAIRRO", comEndereco ? txt(r.um(kBairros), 30) : kNulo)
            .col("CEP", comEndereco ? txt(cep(r, cidade), 8) : kNulo)
            .col("CODCIDADE", inteiro(c.codigo))
            .col("CODIGOPAIS", txt("1058", 4))
            .col("DDD", txt(c.ddd, 3))
            .col("TELEFONE", r.chance(90) ? txt(telefone(r), 8) : kNulo)
            .col("FAX", juridica && r.chance(40) ? txt(telefone(r), 8) : kNulo)
            .col("SITE", p.email && juridica ? txt("www." + std::string(std::strchr(p.email, '@') + 1), 50) : kNulo)
            .col("EMAIL", p.email ? txt(p.email, 60) : kNulo)
            .col("SEXO", juridica ? kNulo : txt(r.chance(50) ? "M" : "F", 1))
            .col("DATANASCIMENTO", juridica
                                       ? kNulo
                                       : data({static_cast<int>(r.entre(1940, 1988)), static_cast<int>(r.entre(1, 12)),
                                               static_cast<int>(r.entre(1, 28))}));
        s_.escreve(i);
        return {cod, cp1252(p.nome), juridica, p.industria, cidade};
    }

    void cadastros() {
        s_.escreve("\n/* Clientes e fornecedores */\n");
        Sorteio r(o_.semente, 2);
        int codigo = 101;
        for (const auto& p : kJuridicas) {
            Cadastro c = cadastro(r, codigo++, p, true);
            clientes_.push_back(c);
            if (p.industria || r.chance(60)) fornecedores_.push_back(c);
        }
        for (const auto& p : kFisicas) {
            Cadastro c = cadastro(r, codigo++, p, false);
            clientes_.push_back(c);
            if (r.chance(25)) produtores_.push_back(c);
        }
    }

    // Most business is done inside the company's own state.
    static const Cadastro& escolhe(Sorteio& r, std::span<const Cadastro> lista, const std::string& uf) {
        if (r.chance(70)) {
            std::vector<const Cadastro*> locais;
            for (const auto& c : lista)
                if (uf == kCidades[c.cidade].uf) locais.push_back(&c);
            if (!locais.empty()) return *locais[r.ate(locais.size())];
        }
        return lista[r.ate(lista.size())];
    }

    // Amount of goods in cents: mostly small sales, now and then a big one.
    static int64_t valorProdutos(Sorteio& r, bool cupom) {
        if (cupom) return r.entre(350, 60000);
        switch (r.pesado(std::array{60, 30, 10})) {
            case 0:
                return r.entre(1000, 99999);
            case 1:
                return r.entre(100000, 999999);
            default:
                return r.entre(1000000, 9999999);
        }
    }

    // One to four different remarks; the longest pass the 100 characters
    // of the fiscal book and a few are cut at the column's 240.
    std::string observacao(Sorteio& r) {
        std::size_t partes = 1 + r.pesado(std::array{55, 25, 10, 5, 3, 2});
        std::array<bool, kObservacoes.size()> usada{};
        std::string s;
        for (std::size_t k = 0; k < partes; ++k) {
            std::size_t i = r.ate(kObservacoes.size());
            while (usada[i]) i = (i + 1) % kObservacoes.size();
            usada[i] = true;
            s += (k ? "; " : "") + cp1252(kObservacoes[i]);
        }
        if (s.size() > 240) s.resize(240);
        return s;
    }

    void documentos(const EmpresaGerada& e, int mes, char tipo) {
        Sorteio r(o_.semente, 3, static_cast<uint64_t>(e.codigo) * 100 + static_cast<uint64_t>(mes),
                  static_cast<uint64_t>(tipo));
        const std::string ufEmpresa = kCidades[e.cidade].uf;
        // document numbers run on through the year: derive the month's start
        int64_t numeroNota = 1000 + e.codigo * 7000 + (mes - 1) * o_.docsMes;
        int64_t coo = 4000 + (mes - 1) * o_.docsMes * 3;

        for (int n = 0; n < o_.docsMes; ++n) {
            Documento d = documento(r, mes, tipo, ufEmpresa);
            numeroDocumento(r, d, numeroNota, coo);
            situacaoDocumento(r, d, mes);
            escreveDocumento(r, e, d);
        }
    }

    Documento documento(Sorteio& r, int mes, char tipo, const std::string& ufEmpresa) {
        Documento d;
        d.tipo = tipo;
        d.saida = tipo == 'S';
        static constexpr std::array<const char*, 6> kAgrupamentos = {"NFT", "FAT", "NFE", "ECF", "NF ", "OUT"};
        d.agrup = kAgrupamentos[r.pesado(d.saida ? std::array{30, 15, 30, 15, 5, 5} : std::array{20, 12, 55, 0, 8, 5})];
        d.cupom = d.agrup == "ECF";
        d.outro = d.agrup == "OUT";

        // movement nature: normal, return or transfer
        d.movimento = "NDT"[r.pesado(std::array{92, 5, 3})];

        d.parte = parteDocumento(r, d.cupom, d.saida, ufEmpresa);
        d.ufParte = d.parte ? kCidades[d.parte->cidade].uf : ufEmpresa;
        d.interestadual = d.ufParte != ufEmpresa;

        d.movData = {o_.ano, mes, static_cast<int>(r.entre(1, diasNoMes(o_.ano, mes)))};
        d.docData = d.saida ? d.movData : somaDias(d.movData, -r.entre(0, 6));

        cfopDocumento(r, d, ufEmpresa);
        valoresDocumento(r, d);
        return d;
    }

    const Cadastro* parteDocumento(Sorteio& r, bool cupom, bool saida, const std::string& ufEmpresa) {
        const Cadastro* parte = nullptr;
        if (cupom) {
            if (r.chance(30)) parte = &escolhe(r, std::span(clientes_).subspan(kJuridicas.size()), ufEmpresa);
        } else if (!r.chance(3)) {
            if (saida)
                parte = &escolhe(r, clientes_, ufEmpresa);
            else if (!produtores_.empty() && r.chance(8))
                parte = &escolhe(r, produtores_, ufEmpresa);
            else
                parte = &escolhe(r, fornecedores_, ufEmpresa);
        }
        return parte;
    }

    // CFOP and ICMS rate
    static void cfopDocumento(Sorteio& r, Documento& d, const std::string& ufEmpresa) {
        const bool saida = d.saida;
        const bool interestadual = d.interestadual;
        const char digito = saida ? (interestadual ? '6' : '5') : (interestadual ? '2' : '1');
        if (d.movimento == 'D') {
            d.cfop = std::string(1, digito) + "202";
            d.aliquota = interestadual ? 12 : 18;
        } else if (d.movimento == 'T' && !interestadual) {
            d.cfop = std::string(1, digito) + "152";
            d.aliquota = 0;
        } else if (d.outro) {
            d.cfop = std::string(1, digito) + "949";
            d.aliquota = 0;
        } else if (r.chance(15)) {
            d.cfop = std::string(1, digito) + (saida ? "405" : "403");
            d.aliquota = 0;
            d.st = true;
        } else if (!saida && r.chance(10)) {
            d.cfop = std::string(1, digito) + "556";
            d.aliquota = r.chance(50) ? 18 : 0;
        } else if (interestadual) {
            d.cfop = std::string(1, digito) + "102";
            // South and Southeast (but Espirito Santo) to the rest of the country pay 7%
            auto sulSudeste = [](const std::string& uf) {
                return uf == "SP" || uf == "RJ" || uf == "MG" || uf == "PR" || uf == "RS" || uf == "SC";
            };
            const std::string& origem = saida ? ufEmpresa : d.ufParte;
            const std::string& destino = saida ? d.ufParte : ufEmpresa;
            d.aliquota = sulSudeste(origem) && !sulSudeste(destino) ? 7 : 12;
        } else {
            d.cfop = std::string(1, digito) + (saida && r.chance(10) ? "101" : "102");
            d.aliquota = std::array<int64_t, 8>{18, 18, 18, 18, 12, 7, 25, 0}[r.ate(8)];
        }
    }

    // amounts, all in cents
    static void valoresDocumento(Sorteio& r, Documento& d) {
        const bool cupom = d.cupom;
        d.produtos = valorProdutos(r, cupom);
        d.desconto = r.chance(20) ? d.produtos * r.entre(1, 10) / 100 : 0;
        d.frete = !cupom && r.chance(25) ? r.entre(1500, 80000) : 0;
        d.seguro = !cupom && r.chance(5) ? r.entre(500, 20000) : 0;
        d.despesas = !cupom && r.chance(5) ? r.entre(300, 9000) : 0;
        d.aliquotaIpi =
            !d.saida && d.parte && d.parte->industria && r.chance(40) ? std::array<int64_t, 3>{5, 10, 15}[r.ate(3)] : 0;
        d.baseIpi = d.aliquotaIpi ? d.produtos - d.desconto : 0;
        d.ipi = percentual(d.baseIpi, d.aliquotaIpi);
        if (d.st && !d.saida) {
            d.baseSt = (d.produtos - d.desconto + d.ipi) * 140 / 100;
            d.icmsSt = percentual(d.baseSt, 18) - percentual(d.produtos - d.desconto, 18);
        }
        d.valor = d.produtos - d.desconto + d.frete + d.seguro + d.despesas + d.ipi + d.icmsSt;
        d.base = d.aliquota ? d.produtos - d.desconto + d.frete + d.seguro + d.despesas : 0;
        if (d.base && r.chance(8)) d.base = d.base * 6 / 10;  // reduced base
        d.icms = percentual(d.base, d.aliquota);
        d.isento = d.aliquota == 0 && !d.st ? d.valor : (d.base ? d.valor - d.base - d.ipi - d.icmsSt : 0);
        d.outros = d.valor - d.base - d.isento;
    }

    // document number as each issuer writes it
    static void numeroDocumento(Sorteio& r, Documento& d, int64_t& numeroNota, int64_t& coo) {
        if (d.saida) {
            if (d.cupom)
                d.numero = digitos(coo += r.entre(1, 5), 6);
            else if (d.outro)
                d.numero = "REC" + digitos(++numeroNota % 10000, 4);
            else
                d.numero = (r.chance(50) ? "NF" : "") + digitos(++numeroNota, 6);
        } else {
            int64_t nf = r.entre(1, 999999);
            switch (r.pesado(std::array{25, 40, 29, 2, 4})) {
                case 0:
                    d.numero = "NF" + digitos(nf, 6);
                    break;
                case 1:
                    d.numero = digitos(nf, 6);
                    break;
                case 2:
                    d.numero = std::to_string(nf);
                    break;
                case 3:
                    d.numero = "nf" + std::to_string(nf % 10000);
                    break;
                default:
                    d.numeroNulo = true;
                    break;
            }
        }
    }

    // model, series, status, tax period and who the document names
    void situacaoDocumento(Sorteio& r, Documento& d, int mes) {
        struct Modelo {
            const char* agrupamento;
            const char* especie;
            const char* modelo;  // empty: no fiscal model
            const char* series[2];
        };
        static constexpr std::array<Modelo, 6> kModelos = {{
            {"NFE", "NFE", "55", {"1", "001"}},
            {"NFT", "NF", "01", {"U", "1"}},
            {"FAT", "FAT", "01", {"1", "1"}},
            {"ECF", "CF", "2D", {"ECF", "ECF"}},
            {"NF ", "NF", "01", {"U", "U"}},
            {"OUT", "OUT", "", {"", ""}},
        }};
        const Modelo* m = &kModelos.back();
        for (const auto& candidato : kModelos)
            if (d.agrup == candidato.agrupamento) m = &candidato;
        d.especie = m->especie;
        d.modelo = m->modelo;
        d.serie = m->series[r.ate(2)];
        if (r.chance(4)) d.serie.clear();

        const bool cancelada = r.chance(3);
        const bool denegada = !cancelada && r.chance(1);
        d.situacao = cancelada ? "CANCELADA" : denegada ? "DENEGADA" : "NORMAL";
        d.ativo = cancelada || denegada ? "N" : "S";

        // late bookings fall into the next tax period
        d.atrasada = !d.saida && mes < 12 && r.chance(3);
        d.apuracao = {o_.ano, mes + 1, static_cast<int>(r.entre(1, 5))};

        d.favorecido =
            d.parte ? sqlTexto(d.parte->nome, 50) : (d.cupom && r.chance(70) ? txt("CONSUMIDOR FINAL", 50) : kNulo);
        d.docConsumidor = kNulo;
        if (d.cupom && d.parte && r.chance(40)) d.docConsumidor = txt(novoCpf(r), 14);
    }

    void escreveDocumento(Sorteio& r, const EmpresaGerada& e, const Documento& d) {
        auto zeroOuNulo = [&](int64_t v, int chanceNulo) {
            return v == 0 && r.chance(chanceNulo) ? kNulo : dinheiro(v);
        };

        Insercao i("MOVESTOQUE");
        i.col("CODMOVESTOQUE", txt(digitos(proximoDoc_++, 10), 10))
            .col("CODEMPRESA", inteiro(e.codigo))
            .col("TIPOMOVIMENTO", txt(std::string(1, d.tipo), 1))
            .col("TIPODOCUMENTO", txt("NF", 2))
            .col("ATIVO", txt(d.ativo, 1))
            .col("DATAAPURACAO", d.atrasada ? data(d.apuracao) : kNulo)
            .col("DATAMOVIMENTO", data(d.movData))
            .col("MOVIMENTO", txt(std::string(1, d.movimento), 1))
            .col("AGRUPAMENTO", txt(d.agrup, 3))
            .col("NUMERODOC", d.numeroNulo ? kNulo : txt(d.numero, 10))
            .col("SERIEDOC", d.serie.empty() ? kNulo : txt(d.serie, 3))
            .col("CODCADASTRO", d.parte ? txt(d.parte->codigo, 8) : kNulo)
            .col("FAVORECIDO", d.favorecido)
            .col("OPERACAO", txt(d.movimento == 'D'   ? "D"
                                 : d.movimento == 'T' ? "T"
                                 : d.saida            ? "V"
                                                      : "C",
                                 1))
            .col("VALOR", dinheiro(d.valor))
            .col("CFOP", r.chance(1) ? kNulo : txt(d.cfop, 4))
            .col("BASEICMS", dinheiro(d.base))
            .col("ALIQUOTAICMS", d.outro && r.chance(20) ? kNulo : dinheiro(d.aliquota * 100))
            .col("VALORICMS", dinheiro(d.icms))
            .col("VALORICMSSUBST", zeroOuNulo(d.icmsSt, 50))
            .col("ISENTO", zeroOuNulo(d.isento, 10))
            .col("VALORIPI", zeroOuNulo(d.ipi, 20))
            .col("BASEIPI", zeroOuNulo(d.baseIpi, 20))
            .col("VALORISS", zeroOuNulo(0, 70))
            .col("BASEISS", zeroOuNulo(0, 70))
            .col("OUTROS", zeroOuNulo(d.outros, 5))
            .col("ESPECIE", txt(d.especie, 3))
            .col("DATADOCUMENTO", data(d.docData))
            .col("ESTADO", r.chance(2) ? kNulo : txt(d.ufParte, 2))
            .col("BASEICMSSUBST", zeroOuNulo(d.baseSt, 50))
            .col("ALIQUOTAIPI", zeroOuNulo(d.aliquotaIpi * 100, 30))
            .col("SITUACAO", txt(d.situacao, 10))
            .col("FRETE", zeroOuNulo(d.frete, 40))
            .col("CIFFOB", d.frete ? txt("C", 1) : (d.cupom ? kNulo : txt("F", 1)))
            .col("OBSERVACAO", r.chance(40) ? sqlTexto(observacao(r), 240) : kNulo)
            .col("LANCAMENTO", r.chance(50) ? txt("L" + digitos(r.entre(1, 9999999), 7), 10) : kNulo)
            .col("VALORPRODUTOS", dinheiro(d.produtos))
            .col("DOCCONSUMIDOR", d.docConsumidor)
            .col("VALORSERVICOS", zeroOuNulo(0, 60))
            .col("VALORSEGURO", zeroOuNulo(d.seguro, 30))
            .col("VALORDESPESASACESSORIAS", zeroOuNulo(d.despesas, 30))
            .col("DESCONTO", zeroOuNulo(d.desconto, 30))
            .col("MODELODOC", d.modelo.empty() ? kNulo : txt(d.modelo, 2))
            .col("MODELONFTERCEIRO", d.saida || d.modelo.empty() ? kNulo : txt(d.modelo == "55" ? "55" : "01", 2));
        s_.escreve(i);
    }

    void movimentos(int mes) {
        if (mes == 1) s_.escreve("\n/* Movimento de caixa e bancos */\n");
        Sorteio r(o_.semente, 4, static_cast<uint64_t>(mes));
        for (int n = 0; n < o_.movsMes; ++n) {
            const char operacao = "VCFT"[r.pesado(std::array{40, 33, 22, 5})];
            Data dia{o_.ano, mes, static_cast<int>(r.entre(1, diasNoMes(o_.ano, mes)))};
            const std::size_t banco = r.ate(kBancos.size());

            int64_t valor = r.pesado(std::array{1, 1, 98}) == 0 ? 0 : r.entre(500, 2000000);
            if (valor && r.chance(2)) valor = r.entre(1, 99);

            const std::string documento = documentoBancario(r, operacao);

            int64_t qtde = r.entre(1, 6);
            std::string parcela = inteiro(r.entre(1, qtde));
            std::string qtdeParcela = inteiro(qtde);
            if (r.chance(8)) {
                parcela = kNulo;
                if (r.chance(50)) qtdeParcela = kNulo;
            }

            const Lancamento l = lancamento(r, operacao, banco, documento);
            const std::string centro = centroDeCusto(r);
            std::string local = std::array<std::string, 4>{txt("D", 1), txt("D", 1), txt("C", 1), kNulo}[r.ate(4)];

            // a cheque cleared two days later still belongs to its own date's period
            const bool compensado = operacao == 'C' && r.chance(3);

            Insercao i("MOVBANCARIO");
            i.col("CODMOVIMENTO", inteiro(proximoMov_++))
                .col("DATA", data(dia))
                .col("DATACOMPETENCIA", compensado ? data(somaDias(dia, 2)) : kNulo)
                .col("TIPO_LANCAMENTO", txt(l.tipoLanc, 1))
                .col("PARCELA", operacao == 'F' || operacao == 'T' ? kNulo : parcela)
                .col("QTDE_PARCELA", operacao == 'F' || operacao == 'T' ? kNulo : qtdeParcela)
                .col("VALOR", dinheiro(valor))
                .col("HISTORICO", operacao == 'F' && r.chance(3) ? kNulo : sqlTexto(l.historico, 50))
                .col("DOCUMENTO", documento.empty() ? kNulo : txt(documento, 11))
                .col("CODCADASTRO", l.parte ? txt(l.parte->codigo, 8) : kNulo)
                .col("CODBANCO", r.chance(5) ? kNulo : txt(kBancos[banco], 8))
                .col("CREDORA", sqlTexto(l.credora, 15))
                .col("DEVEDORA", sqlTexto(l.devedora, 15))
                .col("OPERACAO", txt(std::string(1, operacao), 1))
                .col("NOMECREDOR", sqlTexto(l.nomeCredor, 50))
                .col("NOMEDEVEDOR", sqlTexto(l.nomeDevedor, 50))
                .col("CENTROCUSTO", centro)
                .col("LOCAL_CCUSTO", local);
            s_.escreve(i);
        }
    }

    // empty: no document
    static std::string documentoBancario(Sorteio& r, char operacao) {
        std::string documento;
        switch (r.pesado(std::array{50, 15, 10, 10, 10, 5})) {
            case 0:
                documento = digitos(r.entre(1, 999999), 6);
                break;
            case 1:
                documento = "NF" + digitos(r.entre(1, 999999), 6);
                break;
            case 2:
                documento = std::to_string(r.entre(1, 999));
                break;
            case 3:
                documento = (operacao == 'C' ? "CH" : "DP") + digitos(r.entre(1, 999999), 6);
                break;
            case 4:
                documento = digitos(r.entre(1, 99999999999), 11);
                break;
            default:
                break;  // null
        }
        return documento;
    }

    Lancamento lancamento(Sorteio& r, char operacao, std::size_t banco, const std::string& documento) {
        const std::string contaBanco = kContasBanco[banco];
        const std::string nomeBanco = kNomesBanco[banco];
        Lancamento l;
        switch (operacao) {
            case 'V':
                l.parte = &clientes_[r.ate(clientes_.size())];
                l.devedora = contaBanco;
                l.credora =
                    std::array<const char*, 5>{"1130001", "1130001", "1130001", "3110001", "11300010001"}[r.ate(5)];
                l.nomeDevedor = cp1252(nomeBanco);
                l.nomeCredor = l.parte->nome;
                l.historico =
                    cp1252(documento.empty() ? "Recebimento de título" : "Recebimento de título nº " + documento);
                l.tipoLanc = "C";
                break;
            case 'C':
                l.parte = &fornecedores_[r.ate(fornecedores_.size())];
                l.devedora = r.chance(85) ? "2110001" : r.um(kContasDespesa);
                l.credora = contaBanco;
                l.nomeDevedor = l.parte->nome;
                l.nomeCredor = cp1252(nomeBanco);
                l.historico = cp1252(documento.empty() ? "Pagamento de título" : "Pagamento de título nº " + documento);
                l.tipoLanc = "D";
                break;
            case 'F': {
                const Despesa& d = r.um(kDespesas);
                l.devedora = kContasDespesa[d.conta];
                l.credora = contaBanco;
                l.nomeDevedor = cp1252(kNomesDespesa[d.conta]);
                l.nomeCredor = cp1252(nomeBanco);
                l.historico = cp1252(d.historico);
                l.tipoLanc = "D";
                break;
            }
            default:  // transfer between accounts
                l.devedora = kContasBanco[(banco + 1) % kContasBanco.size()];
                l.credora = contaBanco;
                l.nomeDevedor = cp1252(kNomesBanco[(banco + 1) % kNomesBanco.size()]);
                l.nomeCredor = cp1252(nomeBanco);
                l.historico = cp1252("Transferência entre contas");
                l.tipoLanc = "T";
                break;
        }
        // accounts left empty by the clerk: the export has to complain
        if (r.chance(3)) (r.chance(50) ? l.credora : l.devedora).clear();
        if (l.historico.size() > 50) l.historico.resize(50);
        return l;
    }

    static std::string centroDeCusto(Sorteio& r) {
        std::string centro = kNulo;
        switch (r.pesado(std::array{40, 20, 20, 15, 5})) {
            case 1:
                centro = inteiro(0);
                break;
            case 2:
                centro = inteiro(1);
                break;
            case 3:
                centro = inteiro(2);
                break;
            case 4:
                centro = inteiro(3);
                break;
            default:
                break;
        }
        return centro;
    }

    void totalizadores() {
        s_.escreve("\n/* Totalizadores das reducoes Z */\n");
        static constexpr std::array<const char*, 15> kTotalizadores = {
            "01T1800", "02T1200", "03T0700", "04T2500", "F1",      "I1", "N1",      "Can-T",
            "DT",      "AT",      "Can-S",   "OPNF",    "01S0500", "F2", "02S0200",
        };
        Sorteio r(o_.semente, 5);
        for (int reducao = 1; reducao <= 5; ++reducao)
            for (const char* t : kTotalizadores) {
                if (r.chance(15)) continue;
                Insercao i("ECF_TOTALIZADORES");
                i.col("CODREDUCAOZ", inteiro(reducao))
                    .col("TOTALIZADOR", txt(t, 7))
                    .col("VALOR", dinheiro(r.chance(15) ? 0 : r.entre(100, 500000)));
                s_.escreve(i);
            }
    }
};

}  // namespace

int main(int argc, char** argv) {
    Opcoes o = lerOpcoes(argc, argv);
    try {
        Saida s;
        Gerador(o, s).executa();
        if (std::fflush(stdout) != 0) throw std::runtime_error("falha ao escrever a saida");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorla-gera-dados: %s\n", e.what());
        return 1;
    }
    return 0;
}
