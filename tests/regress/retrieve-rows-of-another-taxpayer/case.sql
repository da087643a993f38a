INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],[End Date],
    [Initial Balance]) VALUES(9002,'Resident',#4/15/2005#,#12/31/2005#,500);
