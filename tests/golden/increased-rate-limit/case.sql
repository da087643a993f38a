-- The failure-to-pay penalty at the increased rate from 1/10/2006, nine months after the due date, to an end date
-- thirty months later.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To Pay Penalty],
    [Assessment Date For Failure To Pay Penalty],[Calculate Increased Failure To Pay Penalty],
    [Date To Begin Increased Failure To Pay Penalty])
    VALUES('Increased',#4/15/2005#,#4/15/2005#,#4/15/2005#,#7/10/2008#,10000,1,#7/10/2008#,1,#1/10/2006#);
