#pragma once

#include "ClientDataSet.h"

namespace zorla {

// What the window's data-aware controls bind to.
class DataSource {
public:
    explicit DataSource(ClientDataSet& dataSet) : m_dataSet(dataSet) {}
    ClientDataSet& dataSet() const { return m_dataSet; }

private:
    ClientDataSet& m_dataSet;
};

}  // namespace zorla
