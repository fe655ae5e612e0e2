#include "ui/BuildInfo.h"

#include <QFile>

#include "base/VersaoDoArquivo.h"

namespace zorla {

QString GetBuildInfo(const QString& arquivo, const QString& tipo) {
    return QString::fromStdString(VersaoDoArquivo(QFile::encodeName(arquivo).toStdString(), tipo.toStdString()));
}

}  // namespace zorla
