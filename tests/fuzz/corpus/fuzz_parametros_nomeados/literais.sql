SELECT ':NAO', "A:B", x::int FROM T -- :comentario
/* :bloco */ WHERE A = :A AND B = :a
