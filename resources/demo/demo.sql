-- The demo database that the README's first command loads into the local MariaDB sandbox.
-- Made up for Quintabel: a small bookshop with the column types people meet most often.
CREATE DATABASE IF NOT EXISTS quintabel_demo CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
USE quintabel_demo;

DROP TABLE IF EXISTS customers;
CREATE TABLE customers (
  id INT NOT NULL PRIMARY KEY,
  name VARCHAR(60) NOT NULL,
  city VARCHAR(40),
  joined DATE,
  newsletter TINYINT(1) NOT NULL DEFAULT 0,
  notes TEXT
);
INSERT INTO customers VALUES
  (1, 'Ada Brennan', 'Dublin', '2019-03-14', 1, 'Prefers paperbacks.'),
  (2, 'Björn Åkesson', 'Malmö', '2020-11-02', 0, NULL),
  (3, 'Chloé Dufresne', 'Québec', '2018-07-30', 1, 'Asked for the autumn catalogue.\nCall after 5 pm.'),
  (4, 'Dermot O''Neil', 'Cork', NULL, 0, 'Apostrophe in the name, backslash in C:\\orders'),
  (5, 'Eva Novak', NULL, '2020-02-29', 1, '');

DROP TABLE IF EXISTS books;
CREATE TABLE books (
  isbn CHAR(13) NOT NULL PRIMARY KEY,
  title VARCHAR(120) NOT NULL,
  author VARCHAR(80),
  published YEAR,
  pages SMALLINT UNSIGNED,
  price DECIMAL(8,2) NOT NULL,
  weight_kg DOUBLE,
  in_stock INT NOT NULL DEFAULT 0
);
INSERT INTO books VALUES
  ('9780000000017', 'A Field Guide to Old Tables', 'M. Corvandel', 2004, 312, 24.50, 0.61, 7),
  ('9780000000024', 'Paradox Lost and Found', 'R. Tabulex', 1995, 188, 12.00, 0.35, 0),
  ('9780000000031', 'Quiet Servers', 'L. Fernwick', 2016, 420, 31.99, 0.82, 12),
  ('9780000000048', 'Ünïcode for Everyone', 'S. Øster', 2021, 96, 9.95, 0.18, 3);

DROP TABLE IF EXISTS orders;
CREATE TABLE orders (
  order_no INT NOT NULL PRIMARY KEY,
  customer_id INT NOT NULL,
  isbn CHAR(13) NOT NULL,
  quantity SMALLINT NOT NULL,
  ordered_at DATETIME NOT NULL,
  shipped_on DATE,
  total DECIMAL(10,2) NOT NULL
);
INSERT INTO orders VALUES
  (1001, 1, '9780000000017', 1, '2023-01-05 10:15:00', '2023-01-06', 24.50),
  (1002, 3, '9780000000031', 2, '2023-01-07 16:40:12', '2023-01-09', 63.98),
  (1003, 2, '9780000000048', 5, '2023-02-11 09:02:45', NULL, 49.75),
  (1004, 4, '9780000000024', 1, '2023-02-28 23:59:59', '2023-03-01', 12.00),
  (1005, 1, '9780000000031', 1, '2024-02-29 12:00:00', NULL, 31.99);
