#pragma once

#include <QtGlobal>

namespace zorla {

// While the window's application starts. Qt ends a start it cannot make (a display named but not there, a compositor
// that does not answer, a platform that does not exist) by aborting; the operator is told instead, as a session
// without a display is, with Qt's words as detail, and the program ends with status 1. Its other messages go on as
// they would.
class PartidaDaJanela {
public:
    PartidaDaJanela();
    ~PartidaDaJanela();
    PartidaDaJanela(const PartidaDaJanela&) = delete;
    PartidaDaJanela& operator=(const PartidaDaJanela&) = delete;

private:
    QtMessageHandler m_anterior;
};

}  // namespace zorla
