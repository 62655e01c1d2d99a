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
    PRIMARY KEY (idGasto),
    KEY ix_gastos_data (data, idCategoria, valor),
    KEY ix_gastos_categoria_data (idCategoria, data)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE USER IF NOT EXISTS 'vestara_tilmo'@'127.0.0.1' IDENTIFIED BY 'h8TQ2w%KZLN[';
CREATE USER IF NOT EXISTS 'vestara_tilmo'@'localhost' IDENTIFIED BY 'h8TQ2w%KZLN[';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'vestara_tilmo'@'127.0.0.1';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'vestara_tilmo'@'localhost';
GRANT SELECT, INSERT, UPDATE, DELETE ON vestara_gastos.* TO 'vestara_tilmo'@'127.0.0.1';
GRANT SELECT, INSERT, UPDATE, DELETE ON vestara_gastos.* TO 'vestara_tilmo'@'localhost';
