-- Due 4/15/2022, not extended, filed 8/1/2022, 10,000.00 due, both penalties on, the failure-to-pay penalty
-- assessed at the End Date: once with End Date 12/31/2023, once with 12/15/2023.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty],
    [Calculate Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty])
    VALUES('To 12/31/2023',#4/15/2022#,#4/15/2022#,#8/1/2022#,#12/31/2023#,10000,1,1,#12/31/2023#);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty],
    [Calculate Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty])
    VALUES('To 12/15/2023',#4/15/2022#,#4/15/2022#,#8/1/2022#,#12/15/2023#,10000,1,1,#12/15/2023#);
