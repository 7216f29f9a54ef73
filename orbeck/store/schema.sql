-- The host data store, schema version 2. One SQLite database per host installation
-- ($ORBECK_HOME/orbeck.db). The loader writes it; the runtime opens it read-only.
-- Texts that the runtime serves to the program are BLOBs of code page 932 bytes;
-- amounts are integers in ten-thousandths of a yen; dates are integers yyyymmdd.

PRAGMA user_version = 2;

-- Installation facts: 'package_name' (code page 932 BLOB) is what "ES_APRPACKAGENAME" shows.
CREATE TABLE meta (
  key   TEXT PRIMARY KEY,
  value BLOB NOT NULL
);

-- Host folders by kind: 0 default output folder, 1 settings folder. A value without a drive
-- or share root is relative to $ORBECK_HOME and served in Windows form through the drive map.
CREATE TABLE folders (
  kind INTEGER PRIMARY KEY,
  path BLOB NOT NULL
);

CREATE TABLE users (
  user_id        BLOB PRIMARY KEY,          -- at most 64 bytes
  selected_first INTEGER NOT NULL,          -- first number of GetSelectedNo
  selected_no    INTEGER NOT NULL           -- second number: the selected data's number
);

-- The host session: who is logged on.
CREATE TABLE session (
  id           INTEGER PRIMARY KEY CHECK (id = 1),
  current_user BLOB NOT NULL REFERENCES users (user_id)
);

-- Accounting data records, in the order of the data cursor (ord).
CREATE TABLE data (
  data_id             TEXT PRIMARY KEY,     -- at most 15 ASCII characters
  ord                 INTEGER NOT NULL UNIQUE, -- also the data's key in the ledger table
  selected_no         INTEGER NOT NULL UNIQUE,
  company_name        BLOB NOT NULL,        -- at most 259 bytes
  period_start        INTEGER NOT NULL,
  period_end          INTEGER NOT NULL,
  closing_day         INTEGER NOT NULL DEFAULT 31,
  pattern_flag        INTEGER NOT NULL DEFAULT 0,
  interim_closing     INTEGER NOT NULL DEFAULT 0,
  intro_month_index   INTEGER NOT NULL DEFAULT 0,
  companies_act_ready INTEGER NOT NULL DEFAULT 1,
  tax_method          INTEGER NOT NULL DEFAULT 0,
  amount_basis        INTEGER NOT NULL DEFAULT 0, -- byte 5 of the consumption-tax record
  has_tax_settings    INTEGER NOT NULL DEFAULT 1
);

-- The account master: accounts, sub-accounts, total and heading rows. Rows with
-- balance_row = 1 are delivered by the balance cursor in row_order.
CREATE TABLE accounts (
  data_id           TEXT NOT NULL REFERENCES data (data_id),
  account_code      INTEGER NOT NULL,       -- account number * 10000 + sub-account number
  official_name     BLOB NOT NULL,          -- at most 30 bytes
  second_name       BLOB NOT NULL,          -- at most 30 bytes, may be empty
  kind              INTEGER NOT NULL,       -- 0 account, 1 heading, 2 total, 3 listed total
  debit_nature      INTEGER NOT NULL,       -- 1 debit balance
  account_character INTEGER NOT NULL,       -- 科目性格, unsigned 32-bit value
  flag_a            INTEGER NOT NULL DEFAULT 0,
  flag_b            INTEGER NOT NULL DEFAULT 0,
  balance_row       INTEGER NOT NULL DEFAULT 1,
  row_order         INTEGER NOT NULL,
  PRIMARY KEY (data_id, account_code)
);
CREATE INDEX accounts_order ON accounts (data_id, balance_row, row_order);

-- Balance sums of the balance rows: set 1 without tax, set 2 with tax; side 'D' or 'C';
-- entry 0 opening, 1-12 fiscal months, 13 year-end adjustment, 14 interim adjustment.
-- A missing entry is 0.
CREATE TABLE sums (
  data_id      TEXT NOT NULL,
  account_code INTEGER NOT NULL,
  amount_set   INTEGER NOT NULL CHECK (amount_set IN (1, 2)),
  side         TEXT NOT NULL CHECK (side IN ('D', 'C')),
  entry        INTEGER NOT NULL CHECK (entry BETWEEN 0 AND 14),
  amount       INTEGER NOT NULL,
  PRIMARY KEY (data_id, account_code, amount_set, side, entry)
);

-- Journal entries; adjustment 13 = year-end closing adjustment, 14 = interim, 0 = ordinary.
CREATE TABLE journals (
  data_id    TEXT NOT NULL,
  journal_id INTEGER NOT NULL,
  date       INTEGER NOT NULL,
  adjustment INTEGER NOT NULL DEFAULT 0 CHECK (adjustment IN (0, 13, 14)),
  PRIMARY KEY (data_id, journal_id)
) WITHOUT ROWID;

CREATE TABLE journal_lines (
  data_id       TEXT NOT NULL,
  journal_id    INTEGER NOT NULL,
  line_no       INTEGER NOT NULL,
  debit_code    INTEGER NOT NULL,           -- 0 when the line has no debit side
  debit_amount  INTEGER NOT NULL DEFAULT 0,
  debit_tax     INTEGER NOT NULL DEFAULT 0,
  credit_code   INTEGER NOT NULL,           -- 0 when the line has no credit side
  credit_amount INTEGER NOT NULL DEFAULT 0,
  credit_tax    INTEGER NOT NULL DEFAULT 0,
  description   BLOB NOT NULL,              -- at most 60 bytes
  counter_kind  INTEGER NOT NULL DEFAULT 0, -- 33, 18 or 34 steer the sundry choice
  PRIMARY KEY (data_id, journal_id, line_no)
) WITHOUT ROWID;

-- The ledger's own copy of the journal lines, laid out the way the ledger cursor reads
-- them: one row per line and account number that the line reaches, in ledger order, so
-- that one account's ledger is one contiguous range of the table. `reach` says how:
-- 1 the debit side names the account number, 2 the credit side, 3 the number belongs to
-- an account of character 0x80880810 (仮払消費税) and the line has a debit tax, 4 one of
-- 0x80484010 (仮受消費税) and the line has a credit tax. Derived from the tables above by
-- postings.sql; never written otherwise.
CREATE TABLE postings (
  data_ord      INTEGER NOT NULL,           -- data.ord
  account_no    INTEGER NOT NULL,           -- account code / 10000
  date          INTEGER NOT NULL,
  journal_id    INTEGER NOT NULL,
  line_no       INTEGER NOT NULL,
  reach         INTEGER NOT NULL,
  adjustment    INTEGER NOT NULL,
  counter_kind  INTEGER NOT NULL,
  debit_code    INTEGER NOT NULL,
  debit_amount  INTEGER NOT NULL,
  debit_tax     INTEGER NOT NULL,
  credit_code   INTEGER NOT NULL,
  credit_amount INTEGER NOT NULL,
  credit_tax    INTEGER NOT NULL,
  description   BLOB NOT NULL,
  PRIMARY KEY (data_ord, account_no, date, journal_id, line_no, reach)
) WITHOUT ROWID;

-- The era master, delivered in ascending order of first day.
CREATE TABLE eras (
  gengo_no  INTEGER PRIMARY KEY,
  first_day INTEGER NOT NULL UNIQUE,
  name      BLOB NOT NULL                   -- at most 15 bytes
);

-- Saved financial-statement documents: kind 0 settings, 100 notes settings, 1000 note text.
CREATE TABLE saved_documents (
  data_id TEXT NOT NULL,
  kind    INTEGER NOT NULL,
  content BLOB NOT NULL,
  PRIMARY KEY (data_id, kind)
);
