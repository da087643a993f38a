-- A calendar-year 2022 corporation: tax 100,000, prior-year tax 80,000 (a full year), four installments of 20,000.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Calendar Corp',1);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Large Corporation],[Withholding]) VALUES(1,#12/31/2022#,100000,80000,1,0,0);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#4/15/2022#,20000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#6/15/2022#,10000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#9/15/2022#,30000);
-- The same corporation as a large corporation: its first installment may use the prior year's tax (20,000); the
-- second makes up the difference (25,000 + 5,000); the third and fourth are 25 % of 100,000.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Large Calendar Corp',1);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Large Corporation],[Withholding]) VALUES(2,#12/31/2022#,100000,80000,1,1,0);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(2,#4/15/2022#,20000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(2,#6/15/2022#,30000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(2,#9/15/2022#,25000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(2,#12/15/2022#,20000);
