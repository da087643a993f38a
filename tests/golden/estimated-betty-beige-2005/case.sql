-- Publication 505 (2005), Figure 4-C (Betty Beige): Section B's two lines. Her installments come from the annualized
-- method; regular installments of 1,000 and the payments below leave the same underpayments: 414 paid 9/2/2005 and
-- 231 unpaid from 1/15/2006.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Betty Beige',0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Withholding]) VALUES(1,#12/31/2005#,8000,4000,1,0);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#4/15/2005#,1000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#6/15/2005#,586);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#9/2/2005#,414);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#9/15/2005#,1000);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#1/15/2006#,769);
