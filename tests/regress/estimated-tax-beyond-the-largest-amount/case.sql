-- A tax of 9E+16, which wrapped 64 bits, and one of 1E+12, just above the largest amount the program takes.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Huge',#4/15/2006#,#4/15/2006#,0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Withholding]) VALUES(1,#12/31/2005#,9E+16,0,0,0);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Just Above',#4/15/2006#,#4/15/2006#,0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Withholding]) VALUES(2,#12/31/2005#,1E+12,0,0,0);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Largest',#4/15/2006#,#4/15/2006#,0);
INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],
    [Prior Year Full Year],[Withholding]) VALUES(3,#12/31/2005#,999999999999.99,0,0,0);
