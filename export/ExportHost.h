#pragma once

#include <string>

namespace zorla {

struct Rgb {
    int r, g, b;
    friend bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kCorProcessando{255, 174, 94};
inline constexpr Rgb kCorJanela{228, 225, 220};

enum class MessageIcon { Information, Error };

// What the export run needs of the window that hosts it. Texts are UTF-8, for display. Every call comes from
// the run's worker thread, in the order the run makes them.
class ExportHost {
public:
    virtual ~ExportHost() = default;

    virtual bool cancelado() const = 0;
    // The run's last act: the window accepts a new consult.
    virtual void terminaExportacao() = 0;

    virtual void painelStatus(bool visivel, Rgb cor) = 0;
    virtual void lblMovimento(const std::string& texto) = 0;
    virtual void lblArquivo(const std::string& texto) = 0;
    virtual void gaugeMaximo(int maximo) = 0;
    virtual void gaugePosicao(int posicao) = 0;
    virtual void titulo(const std::string& texto) = 0;
    virtual void repinta() = 0;
    // Returns only when the operator has closed the box. Line breaks are CR.
    virtual void mensagem(const std::string& texto, MessageIcon icone) = 0;
    // The consult grid stops following the fiscal rows while the run walks them.
    virtual void controlesDados(bool ativos) = 0;
};

}  // namespace zorla
