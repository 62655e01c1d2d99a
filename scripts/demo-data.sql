-- A year of plausible household expenses (the current month and the twelve
-- before it) and a dozen categories, about one expense in ten left
-- unclassified. Deterministic: the same month always gets the same rows.
-- scripts/demo-data.sh runs it only on a database without expenses.

INSERT IGNORE INTO categoria (categoria) VALUES
    ('Mercado'), ('Restaurantes'), ('Transporte'), ('Combustível'), ('Moradia'),
    ('Energia'), ('Água e Esgoto'), ('Internet e Telefone'), ('Saúde'),
    ('Farmácia'), ('Educação'), ('Lazer');

CREATE TEMPORARY TABLE modelo (
    fornecedor VARCHAR(100), descricao VARCHAR(200), categoria VARCHAR(100),
    vezes INT, dia INT, minimo DECIMAL(10,2), maximo DECIMAL(10,2));

-- vezes: occurrences per month; dia: the first day of the month it falls on.
INSERT INTO modelo VALUES
    ('Supermercado Pão de Açúcar', 'Compra do mês', 'Mercado', 2, 3, 380.00, 720.00),
    ('Atacadão', 'Compra de reposição', 'Mercado', 2, 9, 120.00, 340.00),
    ('Hortifruti Boa Safra', 'Frutas e verduras', 'Mercado', 3, 2, 35.00, 95.00),
    ('Padaria Santa Luzia', 'Pães e café da manhã', 'Mercado', 6, 1, 12.50, 48.90),
    ('iFood', 'Pedido de jantar', 'Restaurantes', 3, 4, 42.00, 115.00),
    ('Restaurante Sabor Mineiro', 'Almoço de domingo', 'Restaurantes', 1, 14, 89.00, 210.00),
    ('Uber', 'Corrida', 'Transporte', 4, 2, 14.90, 47.80),
    ('SPTrans Bilhete Único', 'Recarga de transporte', 'Transporte', 1, 5, 100.00, 150.00),
    ('Posto Shell', 'Gasolina', 'Combustível', 2, 6, 180.00, 290.00),
    ('Imobiliária Lopes', 'Aluguel', 'Moradia', 1, 5, 2150.00, 2150.00),
    ('Condomínio Edifício Aurora', 'Taxa de condomínio', 'Moradia', 1, 10, 610.00, 640.00),
    ('Enel Distribuição', 'Conta de luz', 'Energia', 1, 15, 168.00, 312.00),
    ('Sabesp', 'Conta de água', 'Água e Esgoto', 1, 18, 74.00, 128.00),
    ('Vivo Fibra', 'Internet e telefone fixo', 'Internet e Telefone', 1, 20, 129.90, 129.90),
    ('Claro', 'Plano do celular', 'Internet e Telefone', 1, 22, 59.90, 59.90),
    ('Unimed', 'Mensalidade do plano de saúde', 'Saúde', 1, 8, 890.00, 890.00),
    ('Drogasil', 'Remédios', 'Farmácia', 2, 7, 23.90, 148.00),
    ('Colégio Santa Cecília', 'Mensalidade escolar', 'Educação', 1, 5, 1380.00, 1380.00),
    ('Livraria Cultura', 'Livros', 'Educação', 1, 19, 45.00, 160.00),
    ('Cinemark', 'Cinema em família', 'Lazer', 1, 16, 72.00, 132.00),
    ('Netflix', 'Assinatura', 'Lazer', 1, 12, 44.90, 44.90),
    ('PIX Maria Souza', 'Diarista', NULL, 2, 11, 180.00, 180.00);

INSERT INTO gastos (data, fornecedor, valor, descricao, idCategoria)
WITH RECURSIVE meses (k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM meses WHERE k < 12),
     vezes (n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM vezes WHERE n < 5),
     ocorrencias AS (
         SELECT m.fornecedor, m.descricao, m.categoria, m.minimo, m.maximo,
                DATE_ADD(DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL meses.k MONTH), '%Y-%m-01'),
                         INTERVAL LEAST(27, m.dia - 1 + vezes.n * FLOOR(28 / m.vezes)) DAY) AS data,
                CRC32(CONCAT(m.fornecedor, meses.k, vezes.n)) AS sorte
         FROM modelo m
         JOIN meses
         JOIN vezes ON vezes.n < m.vezes)
SELECT o.data, o.fornecedor,
       o.minimo + MOD(o.sorte, 1000) / 1000 * (o.maximo - o.minimo),
       o.descricao,
       IF(MOD(o.sorte, 10) = 0, NULL, c.idCategoria)
FROM ocorrencias o
LEFT JOIN categoria c ON c.categoria = o.categoria
WHERE o.data <= CURDATE()
ORDER BY o.data;

DROP TEMPORARY TABLE modelo;

SELECT COUNT(*) AS despesas, SUM(idCategoria IS NULL) AS sem_categoria,
       MIN(data) AS desde, MAX(data) AS ate
FROM gastos;

-- A few monthly budgets, some of them tight, so that the report has
-- something to compare the current month against.
INSERT IGNORE INTO orcamento (idCategoria, valor)
SELECT c.idCategoria, o.valor
FROM categoria c
JOIN (SELECT 'Mercado' AS categoria, 1900.00 AS valor
      UNION ALL SELECT 'Restaurantes', 300.00
      UNION ALL SELECT 'Combustível', 250.00
      UNION ALL SELECT 'Moradia', 2500.00
      UNION ALL SELECT 'Educação', 1500.00
      UNION ALL SELECT 'Saúde', 890.00
      UNION ALL SELECT 'Lazer', 150.00) o ON o.categoria = c.categoria;

-- A few classification rules, so that the "Regras" window shows how they
-- read and an imported statement gets some expenses classified at once.
INSERT INTO regra (posicao, padrao, noFornecedor, naDescricao, idCategoria)
SELECT r.posicao, r.padrao, r.noFornecedor, r.naDescricao, c.idCategoria
FROM categoria c
JOIN (SELECT 1 AS posicao, 'Diarista' AS padrao, FALSE AS noFornecedor, TRUE AS naDescricao,
             'Moradia' AS categoria
      UNION ALL SELECT 2, 'Uber', TRUE, FALSE, 'Transporte'
      UNION ALL SELECT 3, 'Posto', TRUE, FALSE, 'Combustível'
      UNION ALL SELECT 4, 'iFood', TRUE, TRUE, 'Restaurantes') r ON r.categoria = c.categoria
WHERE NOT EXISTS (SELECT 1 FROM regra);

-- The household's accounts, its income each month, the card's bill paid from
-- the checking account, and a purchase in ten instalments still running.
INSERT IGNORE INTO conta (nome, tipo, banco) VALUES
    ('Itaú — conta 12345-6', 0, 'Itaú'), ('Nubank — cartão de crédito', 2, 'Nubank'), ('Dinheiro', 3, NULL);

INSERT INTO entrada (data, fornecedor, descricao, valor, idConta)
WITH RECURSIVE meses (k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM meses WHERE k < 12)
SELECT DATE_ADD(DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL k MONTH), '%Y-%m-01'), INTERVAL 4 DAY),
       'EMPRESA Y LTDA', 'Salário', 9500.00, (SELECT idConta FROM conta WHERE tipo = 0 LIMIT 1)
FROM meses
WHERE DATE_ADD(DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL k MONTH), '%Y-%m-01'), INTERVAL 4 DAY) <= CURDATE();

INSERT INTO transferencia (data, fornecedor, descricao, valor, idConta)
WITH RECURSIVE meses (k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM meses WHERE k < 12)
SELECT DATE_ADD(DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL k MONTH), '%Y-%m-01'), INTERVAL 9 DAY),
       'PGTO FAT CARTAO', 'Pagamento de fatura', -1280.44, (SELECT idConta FROM conta WHERE tipo = 0 LIMIT 1)
FROM meses;

INSERT INTO compra (idConta, fornecedor, parcelas, dataCompra)
SELECT idConta, 'Magazine Luiza', 10, NULL FROM conta WHERE tipo = 2 LIMIT 1;

INSERT INTO gastos (data, fornecedor, valor, descricao, idCategoria, idConta, idCompra, parcela, parcelas)
WITH RECURSIVE meses (k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM meses WHERE k < 3)
SELECT DATE_ADD(DATE_FORMAT(DATE_SUB(CURDATE(), INTERVAL k MONTH), '%Y-%m-01'), INTERVAL 2 DAY),
       'Magazine Luiza', 249.90, CONCAT('Magazine Luiza - Parcela ', 4 - k, '/10'),
       (SELECT idCategoria FROM categoria WHERE categoria = 'Lazer'), c.idConta, c.idCompra, 4 - k, 10
FROM meses JOIN compra c;
