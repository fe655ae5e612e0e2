#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace zorla {

// Why something asked for is not done, said before anything was: what is wrong and what to do (UTF-8), for a person.
struct Recusa {
    enum class Motivo {
        Pedido,    // the request itself: an argument, a file or a name the run may not take
        Ambiente,  // what is around it: a folder that cannot be written, another run holding it
    };
    // What the window may ask the operator, and with a yes ask again.
    enum class Pergunta { Nenhuma, CriaPasta, Substitui };

    Recusa() = default;
    Recusa(std::string mensagem, Motivo motivo = Motivo::Pedido, Pergunta pergunta = Pergunta::Nenhuma,
           std::string detalhe = {})
        : mensagem(std::move(mensagem)), motivo(motivo), pergunta(pergunta), detalhe(std::move(detalhe)) {}

    std::string mensagem;
    Motivo motivo = Motivo::Pedido;
    Pergunta pergunta = Pergunta::Nenhuma;
    std::string detalhe;  // what is there ("a exportação de março/2025 da empresa 0001 …"), or what was found
};

// A value, or the refusal that stands in its place: every check before a run answers with one.
template <class T>
class OuRecusa {
public:
    OuRecusa(T valor) : m_v(std::move(valor)) {}
    OuRecusa(Recusa recusa) : m_v(std::move(recusa)) {}

    explicit operator bool() const { return std::holds_alternative<T>(m_v); }
    T& operator*() {
        assert(*this);
        return std::get<T>(m_v);
    }
    const T& operator*() const {
        assert(*this);
        return std::get<T>(m_v);
    }
    T* operator->() { return &**this; }
    const T* operator->() const { return &**this; }
    const Recusa& recusa() const {
        assert(!*this);
        return std::get<Recusa>(m_v);
    }

private:
    std::variant<T, Recusa> m_v;
};

// Nothing to hand back: accepted, or refused.
template <>
class OuRecusa<void> {
public:
    OuRecusa() = default;
    OuRecusa(Recusa recusa) : m_recusa(std::move(recusa)), m_recusado(true) {}

    explicit operator bool() const { return !m_recusado; }
    const Recusa& recusa() const {
        assert(m_recusado);
        return m_recusa;
    }

private:
    Recusa m_recusa;
    bool m_recusado = false;
};

}  // namespace zorla
