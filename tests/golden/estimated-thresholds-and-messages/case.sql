-- 1: tax 5,000.00 less withholding 4,000.01 is under $1,000: no penalty.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Under 1000',0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Withholding]) VALUES(1,#12/31/2024#,5000,0,0,4000.01);
-- 2: a corporation whose tax is under $500.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Small Corp',1);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Withholding])
    VALUES(2,#12/31/2024#,499.99,0);
-- 3: no estimated tax figures at all.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('No Figures',0);
-- 4: a tax year whose penalty period runs past the last rate.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Beyond The Rates',0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Withholding])
    VALUES(4,#12/31/2026#,10000,0);
-- 5: the current year's tax missing (written by another program).
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('No Current Tax',0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Withholding]) VALUES(5,#12/31/2024#,0);
-- 6: every installment paid on time: the four headings, no line, 0.00.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('Paid On Time',0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Withholding])
    VALUES(6,#12/31/2024#,10000,9000);
