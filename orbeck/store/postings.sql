-- Fills the ledger table `postings` from the journals (schema.sql says what a row means).
-- The loader runs it once after the journals are in; a store's tests that write journal
-- rows by hand run it too. The rows go in already sorted, so the table is written front
-- to back.
DELETE FROM postings;
INSERT INTO postings
SELECT d.ord, r.account_no, j.date, l.journal_id, l.line_no, r.reach, j.adjustment, l.counter_kind,
       l.debit_code, l.debit_amount, l.debit_tax, l.credit_code, l.credit_amount, l.credit_tax,
       l.description
FROM journal_lines l
JOIN journals j ON j.data_id = l.data_id AND j.journal_id = l.journal_id
JOIN data d ON d.data_id = l.data_id
JOIN (SELECT l.data_id, l.journal_id, l.line_no, l.debit_code / 10000 AS account_no, 1 AS reach
        FROM journal_lines l WHERE l.debit_code <> 0
      UNION ALL
      SELECT l.data_id, l.journal_id, l.line_no, l.credit_code / 10000, 2
        FROM journal_lines l WHERE l.credit_code <> 0
      UNION ALL
      SELECT l.data_id, l.journal_id, l.line_no, t.account_no, 3
        FROM journal_lines l
        JOIN (SELECT DISTINCT data_id, account_code / 10000 AS account_no FROM accounts
               WHERE account_character = 2156398608) t ON t.data_id = l.data_id
       WHERE l.debit_tax <> 0
      UNION ALL
      SELECT l.data_id, l.journal_id, l.line_no, t.account_no, 4
        FROM journal_lines l
        JOIN (SELECT DISTINCT data_id, account_code / 10000 AS account_no FROM accounts
               WHERE account_character = 2152218640) t ON t.data_id = l.data_id
       WHERE l.credit_tax <> 0) r
  ON r.data_id = l.data_id AND r.journal_id = l.journal_id AND r.line_no = l.line_no
ORDER BY d.ord, r.account_no, j.date, l.journal_id, l.line_no, r.reach;
