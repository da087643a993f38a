-- Taxpayer number 4294967301, which a 32-bit reader takes for 5.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance]) VALUES(9105,'Visitor','2005-04-15','2005-12-31',10000.0);
UPDATE [Basic Taxpayer Data] SET [Taxpayer Number] = 4294967301;
