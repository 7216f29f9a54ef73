-- A small GnuCash SQLite book in yen, made without GnuCash: the tables and columns a GnuCash
-- book holds that the importer reads, a chart under the book's root, a scheduled
-- transaction's template under the template root, values in whole yen and in hundredths,
-- and an Imbalance-JPY account whose splits cancel out.
CREATE TABLE books (guid text(32) PRIMARY KEY NOT NULL, root_account_guid text(32) NOT NULL,
  root_template_guid text(32) NOT NULL);
CREATE TABLE commodities (guid text(32) PRIMARY KEY NOT NULL, namespace text(2048) NOT NULL,
  mnemonic text(2048) NOT NULL, fullname text(2048), cusip text(2048), fraction integer NOT NULL,
  quote_flag integer NOT NULL, quote_source text(2048), quote_tz text(2048));
CREATE TABLE accounts (guid text(32) PRIMARY KEY NOT NULL, name text(2048) NOT NULL,
  account_type text(2048) NOT NULL, commodity_guid text(32), commodity_scu integer NOT NULL,
  non_std_scu integer NOT NULL, parent_guid text(32), code text(2048), description text(2048),
  hidden integer, placeholder integer);
CREATE TABLE transactions (guid text(32) PRIMARY KEY NOT NULL, currency_guid text(32) NOT NULL,
  num text(2048) NOT NULL, post_date text(19), enter_date text(19), description text(2048));
CREATE TABLE splits (guid text(32) PRIMARY KEY NOT NULL, tx_guid text(32) NOT NULL,
  account_guid text(32) NOT NULL, memo text(2048) NOT NULL, action text(2048) NOT NULL,
  reconcile_state text(1) NOT NULL, reconcile_date text(19), value_num bigint NOT NULL,
  value_denom bigint NOT NULL, quantity_num bigint NOT NULL, quantity_denom bigint NOT NULL,
  lot_guid text(32));

INSERT INTO commodities VALUES
  ('c-jpy', 'CURRENCY', 'JPY', 'Japanese Yen', '392', 1, 1, 'currency', ''),
  ('c-usd', 'CURRENCY', 'USD', 'US Dollar', '840', 100, 1, 'currency', '');
INSERT INTO books VALUES ('b-1', 'a-root', 'a-troot');

-- guid, name, type, parent, placeholder
CREATE TEMP TABLE chart (guid, name, type, parent, placeholder);
INSERT INTO chart VALUES
  ('a-root', 'Root Account', 'ROOT', NULL, 0),
  ('a-troot', 'Template Root', 'ROOT', NULL, 0),
  ('a-assets', '資産', 'ASSET', 'a-root', 1),
  ('a-cash', '現金', 'CASH', 'a-assets', 0),
  ('a-bank', '普通預金', 'BANK', 'a-assets', 0),
  ('a-hokuto', '北都銀行', 'BANK', 'a-bank', 0),
  ('a-recv', '売掛金', 'RECEIVABLE', 'a-assets', 0),
  ('a-liab', '負債', 'LIABILITY', 'a-root', 1),
  ('a-pay', '買掛金', 'PAYABLE', 'a-liab', 0),
  ('a-card', 'カード', 'CREDIT', 'a-liab', 0),
  ('a-equity', '純資産', 'EQUITY', 'a-root', 1),
  ('a-capital', '資本金', 'EQUITY', 'a-equity', 0),
  ('a-income', '収益', 'INCOME', 'a-root', 1),
  ('a-sales', '売上高', 'INCOME', 'a-income', 0),
  ('a-expense', '費用', 'EXPENSE', 'a-root', 1),
  ('a-purchase', '仕入高', 'EXPENSE', 'a-expense', 0),
  ('a-imbalance', 'Imbalance-JPY', 'BANK', 'a-root', 0),
  ('a-template', 't-sched', 'BANK', 'a-troot', 0);
INSERT INTO accounts SELECT guid, name, type, 'c-jpy', 1, 0, parent, '', '', 0, placeholder FROM chart;

-- guid, date, num, description
CREATE TEMP TABLE entries (guid, post_date, num, description);
INSERT INTO entries VALUES
  ('t-open', '2024-04-01 10:59:00', '1', '設立'),
  ('t-buy', '2024-04-20 10:59:00', '', '仕入'),
  ('t-sale', '2024-04-15 10:59:00', '2', '売上 4月分'),
  ('t-stray', '2024-04-25 10:59:00', '', '未分類'),
  ('t-fixed', '2024-04-26 10:59:00', '', '未分類の振替'),
  ('t-sched', '2024-05-01 10:59:00', '', '家賃 (定期)');
INSERT INTO transactions SELECT guid, 'c-jpy', num, post_date, post_date, description FROM entries;

-- guid, transaction, account, value numerator, denominator
CREATE TEMP TABLE lines (guid, tx, account, num, denom);
INSERT INTO lines VALUES
  ('s-open-1', 't-open', 'a-hokuto', 1000000, 1),
  ('s-open-2', 't-open', 'a-capital', -1000000, 1),
  ('s-buy-1', 't-buy', 'a-purchase', 50000, 1),
  ('s-buy-2', 't-buy', 'a-pay', -50000, 1),
  ('s-sale-1', 't-sale', 'a-recv', 11000000, 100),
  ('s-sale-2', 't-sale', 'a-cash', 12345, 100),
  ('s-sale-3', 't-sale', 'a-sales', -11012345, 100),
  ('s-stray-1', 't-stray', 'a-cash', 100, 1),
  ('s-stray-2', 't-stray', 'a-imbalance', -100, 1),
  ('s-fixed-1', 't-fixed', 'a-imbalance', 100, 1),
  ('s-fixed-2', 't-fixed', 'a-card', -100, 1),
  ('s-sched-1', 't-sched', 'a-template', 0, 1),
  ('s-sched-2', 't-sched', 'a-template', 0, 1);
INSERT INTO splits SELECT guid, tx, account, '', '', 'n', NULL, num, denom, num, denom, NULL FROM lines;
