SELECT J."Seq No", J."Book Type", J."Book No", J."Book Id", J."Date", J."Book Date", J."Operator Id", J."Comments", ROUND(SUM(COALESCE(D."Debit", 0)), 2) AS "KwotaOperacji"
FROM details D
JOIN journal J ON J."Seq No" = D."Seq No"
WHERE (D."Period Id" = :PeriodId)
GROUP BY D."Seq No"
ORDER BY D."Seq No"
-- The journal of the JPK_KR export (Dziennik): the entries with postings in the period
-- :PeriodId, each with its amount, the sum of the debit sides of its postings in the period.
-- Line 4 is the period condition on the postings (aliased D): the program replaces it for
-- December to take the year-end closing period as well.
