-- Two rows of estimated-tax figures for one taxpayer and tax year, under an index whose text says unique but which
-- is not.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance]) VALUES(9107,'Twice','2005-04-15','2005-12-31',10000.0);
DROP INDEX [Estimated Tax By Taxpayer And Year];
CREATE INDEX [Estimated Tax By Taxpayer And Year] ON [Estimated Tax Data]([Taxpayer Number], [Tax Year End]);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax]) VALUES(9107,'2005-12-31',1000.0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax]) VALUES(9107,'2005-12-31',2000.0);
PRAGMA writable_schema = ON;
UPDATE sqlite_schema SET sql = 'CREATE UNIQUE INDEX [Estimated Tax By Taxpayer And Year] ON [Estimated Tax Data]([Taxpayer Number], [Tax Year End])' WHERE name = 'Estimated Tax By Taxpayer And Year';
