-- Publication 505 (2007), Figure 4-C (Laura Maple): Section B's two lines. The installments and payments are ours,
-- chosen to leave her two underpayments: 84 paid 12/3/2007 and 1,076 unpaid from 1/15/2008.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Laura Maple',0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Withholding]) VALUES(1,#12/31/2007#,12000,6000,1,0);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#4/15/2007#,1500);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#6/15/2007#,1500);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#9/14/2007#,1416);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#12/3/2007#,84);
INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(1,#1/15/2008#,424);
