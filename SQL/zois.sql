-- Chart of accounts with balances for the JPK_KR export (ZOiS), over the ledger tables of
-- one Tulvo year folder: one row per account of "accounts", keyed by its four levels.
-- :PeriodId is the period reported. "Initial Debit" / "Initial Credit" are the turnover of
-- the year before the period, "Debit" / "Credit" the turnover up to and including it (the
-- opening balances not included); the closing balance of an account is its opening balance
-- plus that turnover, on the side where it lies. An account's turnover is the sum of the
-- postings on it and on the accounts below it (postings are on the lowest level).
WITH moves AS (
  SELECT "Primary Account" AS p,
         COALESCE("Secondary Account", 0) AS s1,
         COALESCE("Secondary2 Account", 0) AS s2,
         SUM(CASE WHEN "Period Id" <= :PeriodId THEN COALESCE("Debit", 0) ELSE 0 END) AS dr,
         SUM(CASE WHEN "Period Id" <= :PeriodId THEN COALESCE("Credit", 0) ELSE 0 END) AS cr,
         SUM(CASE WHEN "Period Id" < :PeriodId THEN COALESCE("Debit", 0) ELSE 0 END) AS idr,
         SUM(CASE WHEN "Period Id" < :PeriodId THEN COALESCE("Credit", 0) ELSE 0 END) AS icr
  FROM details
  GROUP BY 1, 2, 3
),
turnover AS (
  SELECT p, 0 AS s1, 0 AS s2, SUM(dr) AS dr, SUM(cr) AS cr, SUM(idr) AS idr, SUM(icr) AS icr
  FROM moves GROUP BY p
  UNION ALL
  SELECT p, s1, 0, SUM(dr), SUM(cr), SUM(idr), SUM(icr)
  FROM moves WHERE s1 <> 0 GROUP BY p, s1
  UNION ALL
  SELECT p, s1, s2, dr, cr, idr, icr
  FROM moves WHERE s1 <> 0 AND s2 <> 0
),
balances AS (
  SELECT A."Primary", A."Secondary1", A."Secondary2", A."Secondary3", A."Account Name", A."Options",
         ROUND(COALESCE(A."InitYDebit", 0), 2) AS "InitYDebit",
         ROUND(COALESCE(A."InitYCredit", 0), 2) AS "InitYCredit",
         ROUND(COALESCE(T.dr, 0), 2) AS "Debit",
         ROUND(COALESCE(T.cr, 0), 2) AS "Credit",
         ROUND(COALESCE(T.idr, 0), 2) AS "Initial Debit",
         ROUND(COALESCE(T.icr, 0), 2) AS "Initial Credit",
         ROUND(COALESCE(A."InitYDebit", 0) - COALESCE(A."InitYCredit", 0) + COALESCE(T.dr, 0) - COALESCE(T.cr, 0), 2)
           AS net
  FROM accounts A
  LEFT JOIN turnover T
    ON T.p = A."Primary" AND T.s1 = COALESCE(A."Secondary1", 0) AND T.s2 = COALESCE(A."Secondary2", 0)
)
SELECT "Primary", "Secondary1", "Secondary2", "Secondary3", "Account Name", "Options",
       "InitYDebit", "InitYCredit", "Debit", "Credit", "Initial Debit", "Initial Credit",
       CASE WHEN net > 0 THEN net ELSE 0 END AS "SaldoDebit",
       CASE WHEN net < 0 THEN -net ELSE 0 END AS "SaldoCredit"
FROM balances
ORDER BY "Primary", "Secondary1", "Secondary2", "Secondary3"
