#pragma once

#include <QString>

namespace zorla {

// The version of a program file as its caption shows it (base/VersaoDoArquivo.h).
QString GetBuildInfo(const QString& arquivo, const QString& tipo);

}  // namespace zorla
