-- [Basic Taxpayer Data] as a view on a query that never ends.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance]) VALUES(9105,'Visitor','2005-04-15','2005-12-31',10000.0);
DROP TABLE [Basic Taxpayer Data];
CREATE VIEW [Basic Taxpayer Data] AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i AS [Taxpayer Number], 'x' AS [Taxpayer Name] FROM n;
