-- Instructions for Form 2210 (2008), Examples 3 and 4: an underpayment of 5,000 in column (a) paid 3,000 on 4/30/2008
-- and 2,000 out of 5,000 paid on 6/15/2008; the other 3,000 of that payment goes to the second installment.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Day Counting',0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Withholding]) VALUES(1,#12/31/2008#,40000,20000,1,0);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#4/30/2008#,3000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#6/15/2008#,5000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#9/15/2008#,7000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#1/15/2009#,5000);
