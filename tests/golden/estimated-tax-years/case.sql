-- One individual with estimated-tax figures for two tax years, each with its own payments; a second taxpayer with
-- none.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance],[Corporate Taxpayer])
    VALUES('Ben Brown',#4/15/2007#,#4/15/2007#,#4/15/2007#,#4/15/2007#,0,0);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of Return],
    [Date Return Filed],[End Date],[Initial Balance]) VALUES('No Estimates',#4/15/2006#,#4/15/2006#,#4/15/2006#,
    #12/31/2006#,1000);
-- 2005: Publication 505 (2005), Figure 4-B, penalty 68.51.
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[High Income Prior Year],[Large Corporation],[Withholding],[Withholding On Actual Dates])
    VALUES(1,#12/31/2005#,7031,6116,1,0,0,3228,0);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Tax Year End],[Date Of Payment],[Amount Of Payment])
    VALUES(1,#12/31/2005#,#9/2/2005#,1000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Tax Year End],[Date Of Payment],[Amount Of Payment])
    VALUES(1,#12/31/2005#,#1/12/2006#,1000);
-- 2006: tax 8,000, the 2005 tax of 7,031 as the prior year's, no withholding, four payments of 1,600: each of the four
-- installments of 1,757.75 is short by 157.75.
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[High Income Prior Year],[Large Corporation],[Withholding],[Withholding On Actual Dates])
    VALUES(1,#12/31/2006#,8000,7031,1,0,0,0,0);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Tax Year End],[Date Of Payment],[Amount Of Payment])
    VALUES(1,#12/31/2006#,#4/17/2006#,1600);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Tax Year End],[Date Of Payment],[Amount Of Payment])
    VALUES(1,#12/31/2006#,#6/15/2006#,1600);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Tax Year End],[Date Of Payment],[Amount Of Payment])
    VALUES(1,#12/31/2006#,#9/15/2006#,1600);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Tax Year End],[Date Of Payment],[Amount Of Payment])
    VALUES(1,#12/31/2006#,#1/16/2007#,1600);
