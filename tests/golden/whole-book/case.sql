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
