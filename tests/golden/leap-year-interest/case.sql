-- 10,000.00 due 4/15/2004, calculated to the end of 2004, a leap year.
INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial Balance])
    VALUES('Leap year',#4/15/2004#,#12/31/2004#,10000);
