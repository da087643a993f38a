-- IRM 20.2.14, Figure 20.2.14-13, first line: 53,000.00 owed by a corporation from 03/15/2007 to 08/03/2008, with
-- no payment between.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Figure 20.2.14-13',#3/15/2007#,#8/3/2008#,53000,1);
