-- Three large corporate cases, each meeting a row of the large corporate table that no rates file would be let in
-- with: a rate of -9 %, one of 900 %, and a second row with another rate for days a row already has.
UPDATE [Large Corporate Underpayment Interest Table] SET [Interest Rate] = -0.09
    WHERE [Beginning Date] = #7/1/2019#;
UPDATE [Large Corporate Underpayment Interest Table] SET [Interest Rate] = 9
    WHERE [Beginning Date] = #1/1/2020#;
INSERT INTO [Large Corporate Underpayment Interest Table]([Beginning Date],[Ending Date],[Interest Rate])
    VALUES(#2/1/2021#,#3/31/2021#,0.06);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Large Corporate Underpayment],[Date Large Corporate Rate Begins])
    VALUES('Minus Nine',#3/15/2019#,#12/31/2019#,500000,1,1,#6/1/2019#);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Large Corporate Underpayment],[Date Large Corporate Rate Begins])
    VALUES('Nine Hundred',#3/15/2019#,#6/30/2020#,500000,1,1,#12/1/2019#);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Large Corporate Underpayment],[Date Large Corporate Rate Begins])
    VALUES('Two Rows',#3/15/2020#,#6/30/2021#,500000,1,1,#12/1/2020#);
