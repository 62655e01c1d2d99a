-- Finara's expense database. Safe to apply again: nothing that exists is
-- dropped, and the application's user ends up with exactly the rights below.
--
-- The server must run with strict SQL mode (so that a bad date or amount is
-- refused, never stored as zero) and without ONLY_FULL_GROUP_BY (the report
-- groups by category name and also returns the category key).

CREATE DATABASE IF NOT EXISTS vestara_gastos
    CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_520_ci;

USE vestara_gastos;

-- Names are unique under the collation the report groups by, so two
-- categories can never merge into one report row; blank names are refused.
-- unicode_520 tells emoji apart ("Lazer 🎉" and "Lazer 🎮" are two names),
-- while case and accents still do not count.
CREATE TABLE IF NOT EXISTS categoria (
    idCategoria INT NOT NULL AUTO_INCREMENT,
    categoria VARCHAR(100) NOT NULL,
    PRIMARY KEY (idCategoria),
    UNIQUE KEY uk_categoria_nome (categoria),
    CONSTRAINT ck_categoria_nome CHECK (categoria REGEXP '[^[:space:]]')
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- idCategoria carries no foreign key: deleting a category leaves the
-- expenses that referred to it untouched.
-- (data, idCategoria, valor) covers the report's date range scan;
-- (idCategoria, data) serves the detail window of one category.
CREATE TABLE IF NOT EXISTS gastos (
    idGasto INT NOT NULL AUTO_INCREMENT,
    data DATE NOT NULL,
    fornecedor VARCHAR(255) NULL,
    valor DECIMAL(13,2) NOT NULL,
    descricao VARCHAR(1000) NULL,
    idCategoria INT NULL,
    idImportacao INT NULL,
    idTransacao VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin NULL,
    PRIMARY KEY (idGasto),
    KEY ix_gastos_data (data, idCategoria, valor),
    KEY ix_gastos_categoria_data (idCategoria, data),
    KEY ix_gastos_importacao (idImportacao),
    KEY ix_gastos_transacao (idTransacao)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Databases made before imports were recorded get the same columns.
-- idImportacao is the import that wrote the expense (NULL: entered
-- otherwise); idTransacao the bank's own id of the transaction (OFX FITID),
-- compared exactly, case included.
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS idImportacao INT NULL;
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS
    idTransacao VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin NULL;
ALTER TABLE gastos ADD KEY IF NOT EXISTS ix_gastos_importacao (idImportacao);
ALTER TABLE gastos ADD KEY IF NOT EXISTS ix_gastos_transacao (idTransacao);

-- The account the statement file named ("OFX 0341/12345-6", or the bank
-- layout's name): a bank's id of a transaction is unique only within it.
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS contaExtrato VARCHAR(255) NULL;

-- One row per import, so it can be listed and undone. sha256 is the file's
-- (NULL when the grid held rows of several files); layout the bank layout
-- the file was read as.
CREATE TABLE IF NOT EXISTS importacao (
    idImportacao INT NOT NULL AUTO_INCREMENT,
    quando DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP,
    arquivo VARCHAR(1000) NOT NULL,
    sha256 CHAR(64) CHARACTER SET ascii COLLATE ascii_bin NULL,
    layout VARCHAR(100) NULL,
    linhas INT NOT NULL DEFAULT 0,
    total DECIMAL(15,2) NOT NULL DEFAULT 0,
    PRIMARY KEY (idImportacao),
    KEY ix_importacao_sha256 (sha256)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- The expenses that rows of an import repeated and left out: undoing the
-- import that wrote them asks before they go, since the later statement
-- holds them too.
CREATE TABLE IF NOT EXISTS gasto_repetido (
    idImportacao INT NOT NULL,
    idGasto INT NOT NULL,
    PRIMARY KEY (idImportacao, idGasto),
    KEY ix_gasto_repetido_gasto (idGasto)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- The columns the user mapped for a delimited statement file no built-in
-- layout knows, so the next file with the same header line is read at once.
-- Keyed by the header's SHA-256, since a header can outgrow an index.
CREATE TABLE IF NOT EXISTS mapeamento_extrato (
    chaveCabecalho CHAR(64) NOT NULL,
    cabecalho TEXT NOT NULL,
    separador CHAR(1) NOT NULL,
    formatoData VARCHAR(20) NOT NULL,
    virgulaDecimal BOOLEAN NOT NULL,
    saidaNegativa BOOLEAN NOT NULL,
    colunaData INT NOT NULL,
    colunaFornecedor INT NOT NULL,
    colunaValor INT NULL,
    colunaEntrada INT NULL,
    colunaSaida INT NULL,
    colunaDescricao INT NULL,
    PRIMARY KEY (chaveCabecalho)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- A mapped card statement's column of instalments ("3/10"), if it has one.
ALTER TABLE mapeamento_extrato ADD COLUMN IF NOT EXISTS colunaParcela INT NULL;

-- Classification rules, applied in posicao order: the first whose pattern
-- one of its fields contains (as the collation compares) gives an expense
-- without category its category. idCategoria carries no foreign key, like
-- gastos: a rule of a deleted category stays, shown as such, and never applies.
-- curingas: the pattern came from the classification's filter and is read as
-- LIKE reads that filter (% and _ wildcards, \ escaping); NULL or false: its
-- text is looked for as it stands.
CREATE TABLE IF NOT EXISTS regra (
    idRegra INT NOT NULL AUTO_INCREMENT,
    posicao INT NOT NULL,
    padrao VARCHAR(255) NOT NULL,
    noFornecedor BOOLEAN NOT NULL,
    naDescricao BOOLEAN NOT NULL,
    idCategoria INT NOT NULL,
    curingas BOOLEAN NULL,
    PRIMARY KEY (idRegra),
    KEY ix_regra_posicao (posicao),
    CONSTRAINT ck_regra_padrao CHECK (padrao REGEXP '[^[:space:]]'),
    CONSTRAINT ck_regra_campo CHECK (noFornecedor OR naDescricao)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;
ALTER TABLE regra ADD COLUMN IF NOT EXISTS curingas BOOLEAN NULL;

-- A category's monthly budget; a category without a row has none. No
-- foreign key, like gastos: a deleted category's budget is simply no longer
-- listed.
CREATE TABLE IF NOT EXISTS orcamento (
    idCategoria INT NOT NULL,
    valor DECIMAL(13,2) NOT NULL,
    PRIMARY KEY (idCategoria),
    CONSTRAINT ck_orcamento_valor CHECK (valor > 0)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- The household's accounts: where money is kept or spent from. tipo: 0
-- conta corrente, 1 poupança, 2 cartão de crédito, 3 dinheiro.
CREATE TABLE IF NOT EXISTS conta (
    idConta INT NOT NULL AUTO_INCREMENT,
    nome VARCHAR(100) NOT NULL,
    tipo TINYINT NOT NULL,
    banco VARCHAR(100) NULL,
    PRIMARY KEY (idConta),
    UNIQUE KEY uk_conta_nome (nome),
    CONSTRAINT ck_conta_nome CHECK (nome REGEXP '[^[:space:]]'),
    CONSTRAINT ck_conta_tipo CHECK (tipo BETWEEN 0 AND 3)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- The account a statement file belongs to, by what the file says of itself
-- (its OFX account, or its layout and header), so the next statement of the
-- same account needs no choice.
CREATE TABLE IF NOT EXISTS conta_do_arquivo (
    identidade VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin NOT NULL,
    idConta INT NOT NULL,
    PRIMARY KEY (identidade)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Expenses and imports of a version without accounts keep NULL.
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS idConta INT NULL;
ALTER TABLE gastos ADD KEY IF NOT EXISTS ix_gastos_conta (idConta, data);
ALTER TABLE importacao ADD COLUMN IF NOT EXISTS idConta INT NULL;

-- An expense split into parts with categories of their own: every part,
-- the first (which keeps the bank's id) included, carries the first
-- part's idGasto, so that the parts add up to the expense the statement
-- shows.
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS idDivisao INT NULL;
ALTER TABLE gastos ADD KEY IF NOT EXISTS ix_gastos_divisao (idDivisao);

-- The register lists expenses newest first, a screenful at a time: in this
-- index's order the first rows are read without sorting the whole table.
ALTER TABLE gastos ADD KEY IF NOT EXISTS ix_gastos_data_id (data, idGasto);

-- An expense from a file as the file wrote it, kept when it is first changed
-- by hand or split (on the first part, for the whole): importing the file
-- again still knows the row. NULL while it is as imported, or typed by hand.
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS dataNoExtrato DATE NULL;
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS valorNoExtrato DECIMAL(13,2) NULL;
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS fornecedorNoExtrato VARCHAR(255) NULL;
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS descricaoNoExtrato VARCHAR(1000) NULL;
ALTER TABLE gastos ADD KEY IF NOT EXISTS ix_gastos_no_extrato (dataNoExtrato);

-- Money coming in on a checking or savings account (salary, Pix received):
-- not spending, so no spending query ever meets it. valor is positive.
CREATE TABLE IF NOT EXISTS entrada (
    idEntrada INT NOT NULL AUTO_INCREMENT,
    data DATE NOT NULL,
    fornecedor VARCHAR(255) NULL,
    descricao VARCHAR(1000) NULL,
    valor DECIMAL(13,2) NOT NULL,
    idConta INT NULL,
    idImportacao INT NULL,
    idTransacao VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin NULL,
    contaExtrato VARCHAR(255) NULL,
    PRIMARY KEY (idEntrada),
    KEY ix_entrada_data (data, valor),
    KEY ix_entrada_importacao (idImportacao),
    KEY ix_entrada_transacao (idTransacao),
    CONSTRAINT ck_entrada_valor CHECK (valor > 0)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Money moving between the household's own accounts (the card bill paid
-- from the checking account, a move to savings): neither spending nor
-- income. valor as the account saw it: negative when it left the account.
-- idPar is the other side's row, once both sides are imported.
CREATE TABLE IF NOT EXISTS transferencia (
    idTransferencia INT NOT NULL AUTO_INCREMENT,
    data DATE NOT NULL,
    fornecedor VARCHAR(255) NULL,
    descricao VARCHAR(1000) NULL,
    valor DECIMAL(13,2) NOT NULL,
    idConta INT NULL,
    idImportacao INT NULL,
    idTransacao VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin NULL,
    contaExtrato VARCHAR(255) NULL,
    idPar INT NULL,
    PRIMARY KEY (idTransferencia),
    KEY ix_transferencia_data (data, valor),
    KEY ix_transferencia_importacao (idImportacao),
    KEY ix_transferencia_transacao (idTransacao)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Income and transfers that rows of an import repeated and left out, as
-- gasto_repetido keeps them for expenses.
CREATE TABLE IF NOT EXISTS entrada_repetida (
    idImportacao INT NOT NULL,
    idEntrada INT NOT NULL,
    PRIMARY KEY (idImportacao, idEntrada),
    KEY ix_entrada_repetida_entrada (idEntrada)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE IF NOT EXISTS transferencia_repetida (
    idImportacao INT NOT NULL,
    idTransferencia INT NOT NULL,
    PRIMARY KEY (idImportacao, idTransferencia),
    KEY ix_transferencia_repetida_transferencia (idTransferencia)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- A card purchase paid in instalments (parcelado): each instalment is an
-- expense pointing to it, with its number and the count.
CREATE TABLE IF NOT EXISTS compra (
    idCompra INT NOT NULL AUTO_INCREMENT,
    idConta INT NULL,
    fornecedor VARCHAR(255) NOT NULL,
    parcelas INT NOT NULL,
    dataCompra DATE NULL,
    PRIMARY KEY (idCompra),
    KEY ix_compra_conta (idConta)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

ALTER TABLE gastos ADD COLUMN IF NOT EXISTS idCompra INT NULL;
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS parcela INT NULL;
ALTER TABLE gastos ADD COLUMN IF NOT EXISTS parcelas INT NULL;
ALTER TABLE gastos ADD KEY IF NOT EXISTS ix_gastos_compra (idCompra);

-- What the household's database remembers of the program itself, such as
-- a question asked once after an upgrade.
CREATE TABLE IF NOT EXISTS preferencia (
    chave VARCHAR(100) NOT NULL,
    valor VARCHAR(255) NULL,
    PRIMARY KEY (chave)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE USER IF NOT EXISTS 'vestara_tilmo'@'127.0.0.1' IDENTIFIED BY 'h8TQ2w%KZLN[';
CREATE USER IF NOT EXISTS 'vestara_tilmo'@'localhost' IDENTIFIED BY 'h8TQ2w%KZLN[';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'vestara_tilmo'@'127.0.0.1';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'vestara_tilmo'@'localhost';
GRANT SELECT, INSERT, UPDATE, DELETE ON vestara_gastos.* TO 'vestara_tilmo'@'127.0.0.1';
GRANT SELECT, INSERT, UPDATE, DELETE ON vestara_gastos.* TO 'vestara_tilmo'@'localhost';
