-- A payroll-tax quarter: three deposits, one paid on time, one 10 days late, one 16 days late; the late-deposit
-- penalties are assessed on 6/1/2005; 50 paid to penalties on 8/15/2005.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Start Date],[Original Due Date Of Return],[End Date],
    [Payroll Tax Situation]) VALUES('Payroll Co',#1/1/2005#,#4/30/2005#,#12/31/2005#,1);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#2/15/2005#,1000,#6/1/2005#);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#3/15/2005#,2000,#6/1/2005#);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],
    [Assessment Date]) VALUES(1,'Liability',#4/15/2005#,1500,#6/1/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Payment Allocated To Penalties],[Due Date Of Liability]) VALUES(1,'Payment',#2/15/2005#,1000,0,#2/15/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Payment Allocated To Penalties],[Due Date Of Liability]) VALUES(1,'Payment',#3/25/2005#,2000,0,#3/15/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Payment Allocated To Penalties],[Due Date Of Liability]) VALUES(1,'Payment',#5/1/2005#,1500,0,#4/15/2005#);
INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],
    [Payment Allocated To Penalties],[Due Date Of Liability]) VALUES(1,'Payment',#8/15/2005#,0,50,#4/15/2005#);
