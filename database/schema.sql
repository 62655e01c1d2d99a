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

CREATE USER IF NOT EXISTS 'vestara_tilmo'@'127.0.0.1' IDENTIFIED BY 'h8TQ2w%KZLN[';
CREATE USER IF NOT EXISTS 'vestara_tilmo'@'localhost' IDENTIFIED BY 'h8TQ2w%KZLN[';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'vestara_tilmo'@'127.0.0.1';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'vestara_tilmo'@'localhost';
GRANT SELECT, INSERT, UPDATE, DELETE ON vestara_gastos.* TO 'vestara_tilmo'@'127.0.0.1';
GRANT SELECT, INSERT, UPDATE, DELETE ON vestara_gastos.* TO 'vestara_tilmo'@'localhost';
