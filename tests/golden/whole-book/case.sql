-- A firm's book: three taxpayers whose runs end, and one whose run stops for a missing value.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty],
    [Calculate Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty])
    VALUES('O''Brien, Kelly',#4/15/2024#,#4/15/2024#,#7/15/2024#,#12/31/2024#,1000,1,1,#7/15/2024#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax]) VALUES(1,'Payment',#9/30/2024#,400,400);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('No Original Due Date',Null,#12/31/2024#,500);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],
    [Corporate Taxpayer],[Large Corporate Underpayment],[Date Large Corporate Rate Begins])
    VALUES('Large Corp',#3/15/2019#,#12/31/2019#,500000,1,1,#8/1/2019#);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Beyond The Rates',#4/15/2025#,#12/31/2099#,100);
-- A payroll quarter with a payment that names no liability due date: its run ends, with the warning the single run
-- shows.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Start Date],[End Date],
    [Payroll Tax Situation]) VALUES('Payroll Co',#4/30/2005#,#1/1/2005#,#12/31/2005#,1);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Event],[Deposit Due Date],
    [Assessment Date],[Required Deposit]) VALUES(5,'Payroll Co','Liability',#2/15/2005#,#6/1/2005#,1000);
INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],
    [Payment Allocated To Tax]) VALUES(5,'Payroll Co','Payment',#2/20/2005#,1000,1000);
