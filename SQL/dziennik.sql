SELECT J."Seq No", J."Book Type", J."Book No", J."Book Id", J."Date", J."Book Date", J."Operator Id", J."Comments", S."KwotaOperacji"
FROM journal J JOIN (SELECT D."Seq No" AS "SeqNo", ROUND(SUM(COALESCE(D."Debit", 0)), 2) AS "KwotaOperacji"
  FROM details D
WHERE (D."Period Id" = :PeriodId)
  GROUP BY D."Seq No") S ON S."SeqNo" = J."Seq No"
ORDER BY J."Seq No"
-- The journal of the JPK_KR export (Dziennik): the entries with postings in the period
-- :PeriodId, each with its amount, the sum of the debit sides of its postings in the period.
-- Line 4 is the period condition on the postings (aliased D): the program replaces it for
-- December to take the year-end closing period as well.
