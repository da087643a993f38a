-- Publication 505 (2005), chapter 4, Figure 4-B: Ben Brown's 2005 Form 2210, regular method.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Ben Brown',0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[High Income Prior Year],[Large Corporation],[Withholding],[Withholding On Actual Dates])
    VALUES(1,#12/31/2005#,7031,6116,1,0,0,3228,0);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#9/2/2005#,1000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#1/12/2006#,1000);
