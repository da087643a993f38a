-- Six deposits of 185,727.01 in all, paid by the same six amounts in the other order.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Start Date],[Original Due Date Of Return],[End Date],
    [Payroll Tax Situation],[Initial Balance]) VALUES('Six deposits',#1/1/2005#,#4/30/2005#,#12/31/2005#,1,0);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#1/10/2005#,30086.13,#6/1/2005#);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#1/11/2005#,27648.45,#6/1/2005#);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#1/12/2005#,29998.79,#6/1/2005#);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#1/13/2005#,41591.59,#6/1/2005#);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#1/14/2005#,18504.43,#6/1/2005#);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#1/15/2005#,37897.62,#6/1/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Due Date Of Liability]) VALUES(1,'Payment',#2/10/2005#,37897.62,#1/15/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Due Date Of Liability]) VALUES(1,'Payment',#2/11/2005#,18504.43,#1/14/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Due Date Of Liability]) VALUES(1,'Payment',#2/12/2005#,41591.59,#1/13/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Due Date Of Liability]) VALUES(1,'Payment',#2/13/2005#,29998.79,#1/12/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Due Date Of Liability]) VALUES(1,'Payment',#2/14/2005#,27648.45,#1/11/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Due Date Of Liability]) VALUES(1,'Payment',#2/15/2005#,30086.13,#1/10/2005#);
