#include "export/EventosDaExportacao.h"

namespace zorla {

std::string MensagemDeFalha(const std::string& erro) {
    return "Infelizmente ocorreu uma falha na exportação e não será possível prosseguir.\r"
           "Reinicie o sistema de exportação e tente novamente.\r\r"
           "Erro Ocorrido: " +
           erro;
}

std::string MensagemConcluida(const std::string& pasta) {
    return "Os arquivos foram gerados com sucesso.\rVocê pode encontra-los na pasta: " + pasta;
}

const char* TextoDoPasso(TipoArquivo tipo) {
    switch (tipo) {
        case TipoArquivo::Recebimentos:
            return "Movimento de Caixa/Banco: Recebimentos, aguarde...";
        case TipoArquivo::Pagamentos:
            return "Movimento de Caixa/Banco: Pagamentos, aguarde...";
        case TipoArquivo::DespesasGerais:
            return "Movimento de Caixa/Banco: Despeses gerais, aguarde...";
        default:
            return "";
    }
}

}  // namespace zorla
