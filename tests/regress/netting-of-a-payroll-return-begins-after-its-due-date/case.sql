-- A payroll quarter due 04/30/2005 with liabilities of 100,000.00 and 200,000.00 unpaid, and an overpayment of
-- 500,000.00 from 03/15/2005, of one client.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Start Date],[Original Due Date Of Return],[End Date],[Payroll Tax Situation],[Corporate Taxpayer],[Client Code]) VALUES('Payroll Co',#1/1/2005#,#4/30/2005#,#12/31/2006#,1,1,'PAY');
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],[Assessment Date]) VALUES(1,'Liability',#2/15/2005#,100000,#6/1/2005#);
INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit],[Assessment Date]) VALUES(1,'Liability',#3/15/2005#,200000,#6/1/2005#);
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance],[Corporate Taxpayer],[Client Code]) VALUES('Pay O',#3/15/2005#,#12/31/2006#,-500000,1,'PAY');
