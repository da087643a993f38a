-- A saved taxpayer whose initial balance is text, written past the file's checks.
PRAGMA ignore_check_constraints = ON;
INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance]) VALUES(9105,'Visitor','2005-04-15','2005-12-31',10000.0);
UPDATE [Basic Taxpayer Data] SET [Initial Balance] = 'ten thousand';
