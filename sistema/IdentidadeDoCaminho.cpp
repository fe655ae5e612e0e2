#include "sistema/IdentidadeDoCaminho.h"

#include <deque>
#include <filesystem>

#include "base/Caminho.h"
#include "base/TextUtil.h"
#include "sistema/ChamadasDeArquivo.h"

namespace zorla {

namespace fs = std::filesystem;

namespace {

// An existing file or folder as the system knows it.
std::string identidadeDoQueExiste(const fs::path& p) {
#ifndef _WIN32
    if (std::string identidade = arquivo::identidadeDoCaminho(p.c_str()); !identidade.empty()) return identidade;
#endif
    std::error_code ec;
    const fs::path real = fs::canonical(p, ec);
#ifdef _WIN32
    return "@" + upperAscii(TextoDoCaminho(ec ? p : real));  // its file names are one in any case
#else
    return "@" + TextoDoCaminho(ec ? p : real);
#endif
}

// The deepest folder of the path that exists, every link on the way followed (a link to what does not exist yet
// too: it is where the folders will be made), and the rest of the path under it.
std::pair<fs::path, fs::path> partes(const fs::path& caminho) {
    std::error_code ec;
    // Not normalised first: a link followed by ".." climbs from where the link leads.
    const fs::path absoluto = fs::absolute(caminho, ec);
    fs::path feito = absoluto.root_path();
    std::deque<fs::path> resto;
    for (const fs::path& parte : absoluto.relative_path()) resto.push_back(parte);
    for (int saltos = 0; !resto.empty();) {
        const fs::path parte = resto.front();
        if (parte.empty() || parte == ".") {
            resto.pop_front();
            continue;
        }
        if (parte == "..") {
            feito = feito.parent_path();
            resto.pop_front();
            continue;
        }
        const fs::path proximo = feito / parte;
        const auto estado = fs::symlink_status(proximo, ec);
        if (fs::is_symlink(estado) && ++saltos <= 40) {
            const fs::path alvo = fs::read_symlink(proximo, ec);
            if (ec) break;
            resto.pop_front();
            std::deque<fs::path> doAlvo;
            for (const fs::path& p : alvo.relative_path()) doAlvo.push_back(p);
            resto.insert(resto.begin(), doAlvo.begin(), doAlvo.end());
            if (alvo.is_absolute()) feito = alvo.root_path();
            continue;
        }
        if (ec || !fs::exists(estado)) break;
        feito = proximo;
        resto.pop_front();
    }
    fs::path falta;
    for (const fs::path& p : resto)
        if (!p.empty()) falta /= p;
    falta = falta.lexically_normal();
    // What climbs out of the part to be made climbs from the folder that exists.
    fs::path semSubida;
    for (const fs::path& p : falta)
        if (p == ".." && semSubida.empty())
            feito = feito.parent_path();
        else if (!p.empty())
            semSubida /= p;
    return {feito, semSubida};
}

}  // namespace

std::string IdentidadeDoCaminho(const std::string& caminho) {
    const auto [existe, falta] = partes(CaminhoDoSistema(caminho));
    const std::string resto = TextoDoCaminho(falta);
    if (resto.empty() || resto == ".") return identidadeDoQueExiste(existe);
#ifdef _WIN32
    return identidadeDoQueExiste(existe) + "/" + upperAscii(resto);
#else
    return identidadeDoQueExiste(existe) + "/" + resto;
#endif
}

}  // namespace zorla
