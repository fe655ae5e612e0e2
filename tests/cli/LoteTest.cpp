#include <gtest/gtest.h>

#include "cli/Lote.h"
#include "data/BancoDaConexao.h"

namespace zorla {
namespace {

// A server's database may be read by many exports at once; an embedded file by one at a time.
TEST(Lote, ServerAddressesAreToldFromDatabaseFiles) {
    const std::pair<const char*, bool> casos[] = {
        {"127.0.0.1:/var/zorla/zorla.fdb", true},
        {"127.0.0.1/3052:/var/zorla/zorla.fdb", true},
        {"servidor/3050:C:\\ZORLA\\ZORLA.FDB", true},
        {"inet://servidor:3050/zorla", true},
        {"\\\\servidor\\zorla\\zorla.fdb", true},
        {"/var/zorla/zorla.fdb", false},
        {"/var/zorla:velho/zorla.fdb", false},
        {"C:\\ZORLA\\ZORLA.FDB", false},
        {"dados\\a:b.fdb", false},
        {"zorla.fdb", false},
    };
    for (const auto& [banco, servidor] : casos) EXPECT_EQ(BancoDeServidor(banco), servidor) << banco;
}

}  // namespace
}  // namespace zorla
