-- The rates on a corporate overpayment above $10,000 stop at 12/31/2023 (a table brought up to date by hand without them); a corporation that only owes.
DELETE FROM [Large Corporate Overpayment Interest Table] WHERE [Beginning Date] >= #1/1/2024#;
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Corp Owes',#3/15/2023#,#6/30/2024#,5000,1);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer]) VALUES('Indiv Owes',#3/15/2023#,#6/30/2024#,5000,0);
