#!/usr/bin/env bash
# Makes the demo database: an SQLite file and the data link file that opens it.
#   scripts/make-demo-db.sh [output folder]      (default: build/demo)
# Writes <folder>/shop.db and <folder>/shop.udl. The content is the same on every run.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/demo}
mkdir -p "$out"
out=$(cd "$out" && pwd)
db="$out/shop.db"
udl="$out/shop.udl"
command -v sqlite3 >/dev/null || { echo "make-demo-db: sqlite3 is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

rm -f "$db" "$db-journal"
tmp="$db.tmp"
rm -f "$tmp"

# Short binary codes for the products, as hexadecimal literals.
sku_values=""
for i in $(seq 1 50); do
  sku_values+="($i, X'$(printf '%08X%08X' $(( (i * 2654435761) % 4294967296 )) $(( (i * 40503 + 7) % 4294967296 )))'),"
done
sku_values=${sku_values%,}

sqlite3 -batch "$tmp" >/dev/null <<SQL
PRAGMA journal_mode = OFF;
PRAGMA synchronous = OFF;
BEGIN;

CREATE TABLE customers (
  id INTEGER PRIMARY KEY,
  name VARCHAR(60) NOT NULL,
  city VARCHAR(40),
  email VARCHAR(80),
  joined DATE,
  rating REAL,
  notes TEXT
);
-- Exactly 100 customers: one full page.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100),
first(k, w) AS (VALUES (0,'Ann'),(1,'Boris'),(2,'Chiara'),(3,'Dmitri'),(4,'Eva'),(5,'Farid'),(6,'Greta'),(7,'Hiro'),(8,'Ines'),(9,'Jonas')),
last(k, w) AS (VALUES (0,'Keller'),(1,'Lindqvist'),(2,'Moreau'),(3,'Novak'),(4,'Okafor'),(5,'Petrov'),(6,'Quinn'),(7,'Rossi'),(8,'Sato'),(9,'Tanaka')),
town(k, w) AS (VALUES (0,'Lisbon'),(1,'Tromsø'),(2,'Kraków'),(3,'Zürich'),(4,'Porto'),(5,'Malmö'),(6,'Gent'),(7,'Turku'))
INSERT INTO customers (id, name, city, email, joined, rating, notes)
SELECT i,
       first.w || ' ' || last.w,
       CASE WHEN i % 13 = 0 THEN NULL ELSE town.w END,
       CASE WHEN i % 7 = 0 THEN NULL ELSE lower(first.w) || '.' || lower(last.w) || i || '@example.org' END,
       printf('20%02d-%02d-%02d', 10 + i % 14, 1 + i % 12, 1 + i % 28),
       round(1 + (i * 37 % 400) / 100.0, 2),
       CASE WHEN i % 10 = 0 THEN 'Long-standing customer. ' || replace(printf('%.*c', 40, 'x'), 'x', 'Prefers delivery on weekdays; invoices by mail. ')
            WHEN i % 3 = 0 THEN 'Pays by card.'
            ELSE NULL END
FROM n
JOIN first ON first.k = i % 10
JOIN last ON last.k = (i / 10) % 10
JOIN town ON town.k = i % 8;

CREATE TABLE products (
  id INTEGER PRIMARY KEY,
  name VARCHAR(100) NOT NULL,
  price REAL NOT NULL,
  sku VARBINARY(8),
  description TEXT,
  photo BLOB
);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50),
kind(k, w) AS (VALUES (0,'Teapot'),(1,'Lamp'),(2,'Notebook'),(3,'Umbrella'),(4,'Backpack')),
colour(k, w) AS (VALUES (0,'red'),(1,'green'),(2,'blue'),(3,'black'),(4,'white'),(5,'amber'),(6,'grey'),(7,'violet'),(8,'teal'),(9,'sand'))
INSERT INTO products (id, name, price, description, photo)
SELECT i,
       kind.w || ', ' || colour.w || ' (model ' || i || ')',
       round(4.5 + (i * 7919 % 9000) / 100.0, 2),
       CASE WHEN i % 5 = 0 THEN NULL ELSE 'A ' || colour.w || ' ' || lower(kind.w) || '. ' || replace(printf('%.*c', i, 'x'), 'x', 'Sturdy and light. ') END,
       CASE WHEN i % 4 = 0 THEN NULL
            WHEN i % 4 = 1 THEN CAST(printf('%.*c', 10 + i, char(65 + i % 26)) AS BLOB)
            ELSE CAST(replace(hex(zeroblob(6000 + i * 10)), '00', printf('%02X', i)) AS BLOB) END
FROM n JOIN kind ON kind.k = i % 5 JOIN colour ON colour.k = i % 10;
UPDATE products SET sku = (SELECT v FROM (SELECT column1 AS k, column2 AS v FROM (VALUES $sku_values)) WHERE k = products.id);

CREATE TABLE orders (
  id INTEGER PRIMARY KEY,
  customer_id INTEGER NOT NULL REFERENCES customers(id),
  ordered_at DATETIME NOT NULL,
  status VARCHAR(12) NOT NULL,
  total REAL,
  comment TEXT
);
-- Over 100,000 orders: many pages.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 120000)
INSERT INTO orders (id, customer_id, ordered_at, status, total, comment)
SELECT i,
       1 + (i * 7 % 100),
       printf('%04d-%02d-%02d %02d:%02d:00', 2019 + i % 6, 1 + i % 12, 1 + i % 28, i % 24, i * 7 % 60),
       CASE i % 9 WHEN 0 THEN 'cancelled' WHEN 1 THEN 'open' ELSE 'shipped' END,
       NULL,
       CASE WHEN i % 11 = 0 THEN 'Leave at the door.' WHEN i % 17 = 0 THEN '' ELSE NULL END
FROM n;

CREATE TABLE "order items" (
  order_id INTEGER NOT NULL REFERENCES orders(id),
  line INTEGER NOT NULL,
  product_id INTEGER NOT NULL REFERENCES products(id),
  quantity INTEGER NOT NULL,
  unit_price REAL NOT NULL,
  PRIMARY KEY (order_id, line)
);
WITH RECURSIVE l(k) AS (VALUES (1),(2),(3))
INSERT INTO "order items" (order_id, line, product_id, quantity, unit_price)
SELECT o.id, l.k, p.id, 1 + (o.id + l.k) % 4, p.price
FROM orders o JOIN l ON l.k <= 1 + o.id % 3
JOIN products p ON p.id = 1 + (o.id * 13 + l.k * 5) % 50;

UPDATE orders SET total = (SELECT round(sum(quantity * unit_price), 2) FROM "order items" WHERE order_id = orders.id)
WHERE status <> 'cancelled';

CREATE INDEX orders_customer ON orders(customer_id);

CREATE VIEW customer_totals AS
SELECT c.id AS customer_id, c.name, c.city, count(o.id) AS orders, round(sum(o.total), 2) AS spent,
       max(o.ordered_at) AS last_order
FROM customers c LEFT JOIN orders o ON o.customer_id = c.id
GROUP BY c.id;

COMMIT;
SQL
mv "$tmp" "$db"

# The data link file: UTF-16LE with a byte-order mark, section [oledb], the comment line, the string.
{
  printf '\xff\xfe'
  printf '[oledb]\n; Everything after this line is an OLE DB initstring\nProvider=SQLite;Data Source=%s\n' "$db" |
    iconv -f UTF-8 -t UTF-16LE
} >"$udl"
echo "$udl"
