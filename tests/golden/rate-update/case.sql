-- A database whose rate tables end on 12/31/2025, and whose user typed a rate of his own for the fourth quarter of
-- 2025 (7.5 % instead of the published 7 %).
DELETE * FROM [Interest Table] WHERE [Beginning Date] >= #1/1/2026#;
DELETE * FROM [Overpayment Interest Table] WHERE [Beginning Date] >= #1/1/2026#;
DELETE * FROM [Large Corporate Underpayment Interest Table] WHERE [Beginning Date] >= #1/1/2026#;
UPDATE [Interest Table] SET [Interest Rate] = 0.075 WHERE [Beginning Date] = #10/1/2025#;
-- 10,000.00 due 4/15/2025, End Date 3/31/2026.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Into 2026',#4/15/2025#,#3/31/2026#,10000);
-- The same to 6/30/2026, past the last published quarter this installation knows.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Into the second quarter',#4/15/2025#,#6/30/2026#,10000);
-- The user's own overpayment rate for part of the second quarter of 2026.
INSERT INTO [Overpayment Interest Table]([Beginning Date],[Ending Date],[Interest Rate])
    VALUES(#4/1/2026#,#5/15/2026#,0.06);
